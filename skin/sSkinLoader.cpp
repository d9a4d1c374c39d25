// The skin loader: sources, image decoding and the load steps.
#include "skin/sSkinLoader.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "framework/core/Classes.h"
#include "framework/Graphics.h"
#include "render/pixels/AlphaKernels.h"
#include "render/pixels/PngDecoder.h"
#include "render/pixels/acJpeg.h"
#include "skin/acSkinPack.h"
#include "skin/sImageValue.h"
#include "skin/sSkinDirs.h"
#include "skin/sSkinOptions.h"
#include "skin/sStoredSkins.h"

namespace translit {

namespace {

class WindowsValues : public TsSystemValues {
 public:
  std::uint32_t SysColor(int index) const override { return ::GetSysColor(index); }
  int FrameWidth() const override { return ::GetSystemMetrics(SM_CXFRAME); }
};

bool FileExists(const std::string& name) {
  DWORD attributes = ::GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

double NowMs() {
  LARGE_INTEGER f, t;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

using BitmapPtr = std::shared_ptr<fw::TBitmap>;

// 32 bits per pixel with the skin's alpha rule: after a conversion every
// pixel but magenta is opaque, magenta stays fully transparent.
void MakeSkin32(fw::TBitmap& bmp) {
  if (bmp.Width() <= 0 || bmp.Height() <= 0) return;
  if (bmp.PixelFormat() != fw::pf32bit) {
    bmp.SetPixelFormat(fw::pf32bit);
    PixelView v = bmp.View();
    for (int y = 0; y < v.height; ++y) {
      std::uint32_t* row = v.Row(y);
      for (int x = 0; x < v.width; ++x)
        if ((row[x] & 0x00FFFFFFu) == KeyPixel)
          row[x] = KeyPixel;
        else
          row[x] |= 0xFF000000u;
    }
  }
  bmp.SetTransparent(true);
  // Painting copies from pieces at any time: keep the drawing surface open.
  bmp.Canvas();
}

BitmapPtr BitmapFromPng(const std::uint8_t* data, std::size_t size) {
  PngBitmap png = DecodePng(data, size);
  auto bmp = std::make_shared<fw::TBitmap>(png.Layout.Width, png.Layout.Height, fw::pf32bit);
  if (png.Layout.Width <= 0 || png.Layout.Height <= 0) return bmp;
  std::vector<std::uint32_t> pixels = png.ToBGRA32();
  PixelView v = bmp->View();
  const bool hasAlpha = png.Layout.PixelFormat == PngPixelFormat::pf32bit;
  for (int y = 0; y < v.height; ++y) {
    std::uint32_t* row = v.Row(y);
    const std::uint32_t* src = pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(v.width);
    for (int x = 0; x < v.width; ++x) {
      std::uint32_t p = src[x];
      // Pictures without alpha become 32-bit as any other image does.
      if (!hasAlpha && (p & 0x00FFFFFFu) == KeyPixel) p = KeyPixel;
      row[x] = p;
    }
  }
  if (hasAlpha) ClearTransparentWhite(v);
  return bmp;
}

BitmapPtr JpegBitmap(const TacJpegPicture& pic, fw::TPixelFormat format) {
  auto bmp = std::make_shared<fw::TBitmap>(pic.Width, pic.Height, format);
  for (int y = 0; y < pic.Height; ++y) {
    auto* row = static_cast<std::uint8_t*>(bmp->ScanLine(y));
    const std::uint8_t* src = pic.Bgr.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(pic.Width) * 3;
    if (format == fw::pf24bit) {
      std::memcpy(row, src, static_cast<std::size_t>(pic.Width) * 3);
    } else {
      auto* out = reinterpret_cast<std::uint32_t*>(row);
      for (int x = 0; x < pic.Width; ++x) {
        std::uint32_t p = src[x * 3] | src[x * 3 + 1] << 8 | static_cast<std::uint32_t>(src[x * 3 + 2]) << 16;
        out[x] = p == KeyPixel ? p : (p | 0xFF000000u);
      }
    }
  }
  return bmp;
}

class SkinLoad {
 public:
  SkinLoad(TsSkinTables& tables, TsSkinLoadSettings& settings, TsSkinLoadStats* stats)
      : FTables(tables), FSettings(settings), FStats(stats) {
    if (FStats) *FStats = {};
  }

  TacIniFile Options;
  std::optional<TacSkinConvertor> Packed;

  void Run() {
    LoadPieces();
    LoadTextures();
    ReadSections();
    FTables.UpdateConstIndexes();
  }

 private:
  const std::string& Folder() const { return FTables.GlobalInfo->SkinFolder; }
  std::string FilePath(const std::string& name) const {
    return name.find(':') == std::string::npos ? Folder() + name : name;
  }

  // The bytes of an image: the packed entry of that name, or the file.
  // Empty when there is none.
  std::optional<std::vector<std::uint8_t>> ImageBytes(const std::string& name, bool filesOnly) {
    if (Packed && !filesOnly) {
      const TacImageItem* item = Packed->FindImage(name);
      if (!item) return std::nullopt;
      return item->Data->Bytes();
    }
    std::string path = FilePath(name);
    if (!FileExists(path)) return std::nullopt;
    fw::TMemoryStream s;
    s.LoadFromFile(path);
    return s.Bytes();
  }

  template <class F>
  auto Timed(F f) {
    double start = FStats ? NowMs() : 0;
    auto result = f();
    if (FStats) {
      FStats->DecodeMs += NowMs() - start;
      ++FStats->ImagesDecoded;
    }
    return result;
  }

  // A bitmap (PNG when the name says so, else BMP), 32-bit; none when the
  // image is not there.
  BitmapPtr DecodeBitmap(const std::string& name, bool filesOnly = false) {
    auto bytes = ImageBytes(name, filesOnly);
    if (!bytes) return nullptr;
    BitmapPtr bmp = Timed([&] {
      if (name.find(".PNG") != std::string::npos) return BitmapFromPng(bytes->data(), bytes->size());
      auto b = std::make_shared<fw::TBitmap>();
      fw::TMemoryStream s(std::move(*bytes));
      b->LoadFromStream(s);
      return b;
    });
    MakeSkin32(*bmp);
    return bmp;
  }

  std::optional<TacJpegPicture> DecodeJpegImage(const std::string& name, bool filesOnly) {
    auto bytes = ImageBytes(name, filesOnly);
    if (!bytes) return std::nullopt;
    return Timed([&] { return DecodeJpeg(bytes->data(), bytes->size()); });
  }

  void AddPiece(TacImageValue& piece, bool filesOnly) {
    piece.Mask.Owner = &FTables;
    if (piece.Syntax == TacImageSyntax::OwnFile || piece.Syntax == TacImageSyntax::PlainFile) {
      BitmapPtr bmp = DecodeBitmap(piece.FileName, filesOnly);
      if (!bmp || bmp->Width() <= 0) return;
      FinishOwnBitmapPiece(piece, bmp->Width(), bmp->Height());
      piece.Mask.OwnBitmap = std::move(bmp);
    }
    FTables.Masks.push_back(std::move(piece.Mask));
  }

  void LoadPieces() {
    FTables.Masks.clear();
    FTables.MasterBitmap.reset();
    std::string master = Options.ReadString("GLOBALINFO", "MASTERBITMAP", "");
    BitmapPtr bmp = master.empty() ? nullptr : DecodeBitmap(master);
    FTables.MasterBitmap = bmp ? bmp : std::make_shared<fw::TBitmap>();

    for (const TacIniFile::Section& sec : Options.Sections())
      for (const TacIniFile::Key& key : sec.Keys) {
        if (sec.Name == "GLOBALINFO" && key.Name == "MASTERBITMAP") continue;
        if (auto piece = ParseImageValue(sec.Name, key.Name, key.Value)) AddPiece(*piece, false);
      }
    if (!FSettings.CommonSections.empty()) {
      FCommon.SetText(FSettings.CommonSections);
      for (const TacIniFile::Section& sec : FCommon.Sections()) {
        if (UpperCase(sec.Name) == "GLOBALINFO") continue;
        for (const TacIniFile::Key& key : sec.Keys)
          if (auto piece = ParseImageValue(sec.Name, key.Name, key.Value, true)) AddPiece(*piece, true);
      }
    }
  }

  static bool IsJpegName(const std::string& upper) {
    return upper.find(".JPG") != std::string::npos || upper.find(".JPEG") != std::string::npos;
  }

  void LoadTextures() {
    FTables.Patterns.clear();
    for (const TacIniFile::Section& sec : Options.Sections())
      for (const TacIniFile::Key& key : sec.Keys) {
        std::string upper = UpperCase(key.Value);
        if (!IsJpegName(upper)) continue;
        auto pic = DecodeJpegImage(Packed ? upper : key.Value, false);
        if (!pic || pic->Width <= 0) continue;
        if (IsLargeTexture(pic->Width, pic->Height)) {
          FTables.Patterns.push_back(
              TsPatternData{JpegBitmap(*pic, fw::pf24bit), UpperCase(sec.Name), UpperCase(key.Name)});
        } else {
          TsMaskData m;
          m.OwnBitmap = JpegBitmap(*pic, fw::pf32bit);
          MakeSkin32(*m.OwnBitmap);
          m.Section = UpperCase(sec.Name);
          m.Prop = UpperCase(key.Name);
          m.SrcRight = pic->Width;
          m.SrcBottom = pic->Height;
          m.StateCount = 1;
          m.Format = 1;
          m.Owner = &FTables;
          FTables.Masks.push_back(std::move(m));
        }
      }
    if (!FSettings.CommonSections.empty()) {
      TacIniFile textures("2.tmp");
      textures.SetText(FSettings.CommonSections);
      for (const TacIniFile::Section& sec : textures.Sections())
        for (const TacIniFile::Key& key : sec.Keys) {
          if (!IsJpegName(UpperCase(key.Value))) continue;
          auto pic = DecodeJpegImage(key.Value, true);
          if (!pic || pic->Width <= 0) continue;
          FTables.Patterns.push_back(
              TsPatternData{JpegBitmap(*pic, fw::pf24bit), UpperCase(sec.Name), UpperCase(key.Name)});
        }
    }
  }

  void ReadSections() {
    ReadGlobalInfo(Options, *FTables.GlobalInfo, FTables.System());
    if (FSettings.OnVersionCheck) FSettings.OnVersionCheck(*FTables.GlobalInfo);
    ReadSkinSections(Options, FTables);
    if (!FSettings.CommonSections.empty()) MergeCommonSections(FCommon, FTables);
    FTables.UpdateFrameIndexes();
    if (FSettings.HueOffset != 0) ApplyHue(FSettings.HueOffset);
    int saturation = ReduceSaturation(FSettings.Saturation);
    if (saturation != 0) {
      ForEachBitmap([saturation](fw::TBitmap& b) { ScaleBitmapSaturation(b.View(), saturation); }, nullptr);
      ScaleSkinColorsSaturation(FTables, saturation);
    }
  }

  template <class F>
  void ForEachBitmap(F f, const std::vector<bool>* skip) {
    if (FTables.MasterBitmap && FTables.MasterBitmap->Width() > 0) f(*FTables.MasterBitmap);
    for (std::size_t i = 0; i < FTables.Masks.size(); ++i)
      if (FTables.Masks[i].OwnBitmap && !(skip && (*skip)[i])) f(*FTables.Masks[i].OwnBitmap);
  }

  void ApplyHue(int degrees) {
    const std::int16_t keep = FTables.GlobalInfo->BiKeepHue;
    std::vector<std::string> kept;
    if (keep != 0) {
      kept = {"BICONCLOSE", "SICONCLOSE"};
      if (keep == 1)
        for (const char* n : {"BICONMAX", "BICONMIN", "BICONNORM", "BICONHELP", "SICONMAX", "SICONMIN", "SICONNORM"})
          kept.push_back(n);
    }
    // Kept pieces: those cut from the master bitmap are saved and put back,
    // those with bitmaps of their own (and their "GLOW0" companions) skipped.
    std::vector<bool> skip(FTables.Masks.size(), false);
    struct Saved {
      PixelRect rect;
      std::vector<std::uint32_t> pixels;
    };
    std::vector<Saved> saved;
    PixelView master = FTables.MasterBitmap ? FTables.MasterBitmap->View() : PixelView{};
    for (std::size_t i = 0; i < FTables.Masks.size(); ++i) {
      const TsMaskData& m = FTables.Masks[i];
      if (m.Section != "GLOBALINFO") continue;
      for (const std::string& name : kept) {
        if (m.OwnBitmap && (m.Prop == name || m.Prop == name + "GLOW0")) skip[i] = true;
        if (!m.OwnBitmap && m.Prop == name && !master.Empty()) {
          Saved s;
          s.rect = PixelRect{std::max(0, m.SrcLeft), std::max(0, m.SrcTop), std::min(master.width, m.SrcRight),
                             std::min(master.height, m.SrcBottom)};
          for (int y = s.rect.Top; y < s.rect.Bottom; ++y)
            for (int x = s.rect.Left; x < s.rect.Right; ++x) s.pixels.push_back(master.At(x, y));
          saved.push_back(std::move(s));
        }
      }
    }
    ForEachBitmap([degrees](fw::TBitmap& b) { ShiftBitmapHue(b.View(), degrees); }, &skip);
    for (const Saved& s : saved) {
      std::size_t k = 0;
      for (int y = s.rect.Top; y < s.rect.Bottom; ++y)
        for (int x = s.rect.Left; x < s.rect.Right; ++x) master.At(x, y) = s.pixels[k++];
    }
    ShiftSkinColorsHue(FTables, degrees);
  }

  TsSkinTables& FTables;
  TsSkinLoadSettings& FSettings;
  TsSkinLoadStats* FStats;
  TacIniFile FCommon{"1.tmp"};
};

}  // namespace

const TsSystemValues& WindowsSystemValues() {
  static const WindowsValues values;
  return values;
}

std::string ProgramFolder() {
  char path[MAX_PATH * 2] = {};
  DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
  std::string s(path, n);
  std::size_t cut = s.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : s.substr(0, cut + 1);
}

std::string PackedSkinFileName(const TsSkinLoadSettings& settings) {
  return NormalizeSkinDirectory(settings.SkinDirectory) + settings.SkinName + ".asz";
}

std::string SkinFolderName(const TsSkinLoadSettings& settings) {
  std::string program = settings.ProgramFolder.empty() ? ProgramFolder() : settings.ProgramFolder;
  return ResolveSkinDirectory(settings.SkinDirectory, program) + "\\" + settings.SkinName + "\\";
}

TsLoadOutcome LoadSkinFromFolder(TsSkinTables& tables, TsSkinLoadSettings& settings, bool& loadedFromPacked,
                                 TsSkinLoadStats* stats) {
  SkinLoad load(tables, settings, stats);
  std::string folder = SkinFolderName(settings);
  std::string optionsFile = folder + "Options.dat";
  if (settings.PreviewText) {
    tables.GlobalInfo->SkinFolder = folder;
    load.Options.SetText(*settings.PreviewText);
    loadedFromPacked = false;
  } else if (FileExists(optionsFile)) {
    tables.GlobalInfo->SkinFolder = folder;
    load.Options.LoadFromFile(optionsFile);
    loadedFromPacked = false;
  } else {
    // No folder: the old skin's folder must not stay behind either.
    tables.GlobalInfo->SkinFolder.clear();
    const TsStoredSkins* stored = settings.StoredSkins;
    if (!stored || stored->Count() == 0) return TsLoadOutcome::NotFound;
    const TsStoredSkin* chosen = nullptr;
    for (int i = 0; i < stored->Count() && !chosen; ++i)
      if (stored->Items(i).Name == settings.SkinName) chosen = &stored->Items(i);
    if (!chosen) {
      chosen = &stored->Items(0);
      settings.SkinName = chosen->Name;
    }
    if (!chosen->Data.empty()) {
      load.Packed.emplace();
      load.Packed->LoadFromBytes(chosen->Data.data(), chosen->Data.size());
      load.Options.SetText(load.Packed->OptionsText());
      loadedFromPacked = true;
    } else {
      loadedFromPacked = false;
    }
  }
  load.Run();
  return TsLoadOutcome::Loaded;
}

void LoadSkinFromPacked(TsSkinTables& tables, TsSkinLoadSettings& settings, TsSkinLoadStats* stats) {
  std::string file = PackedSkinFileName(settings);
  if (!FileExists(file)) return;
  SkinLoad load(tables, settings, stats);
  load.Packed.emplace();
  load.Packed->LoadFromFile(file);
  load.Options.SetText(load.Packed->OptionsText());
  std::string program = settings.ProgramFolder.empty() ? ProgramFolder() : settings.ProgramFolder;
  tables.GlobalInfo->SkinFolder = ResolveSkinDirectory(settings.SkinDirectory, program) + "\\";
  load.Run();
}

}  // namespace translit
