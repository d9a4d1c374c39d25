// The skin loader: sources, image decoding and the load steps.
#include "skin/sSkinLoader.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "framework/core/Classes.h"
#include "framework/core/SysUtils.h"
#include "framework/Graphics.h"
#include "framework/Handles.h"
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

// The skin's alpha rule for a pixel of a picture without alpha: magenta
// stays fully transparent, every other pixel is opaque.
constexpr std::uint32_t OpaqueUnlessKey(std::uint32_t bgr) {
  return (bgr & 0x00FFFFFFu) == KeyPixel ? KeyPixel : (bgr | 0xFF000000u);
}

// 32 bits per pixel with the skin's alpha rule applied after a conversion.
// A 24-bit picture (bitmap files) is converted row by row into a new
// 32-bit one, which saves the platform's conversion through two device
// contexts; other depths go through the framework.
void MakeSkin32(BitmapPtr& bmp) {
  if (bmp->Width() <= 0 || bmp->Height() <= 0) return;
  if (bmp->PixelFormat() == fw::pf24bit) {
    auto converted = std::make_shared<fw::TBitmap>(bmp->Width(), bmp->Height(), fw::pf32bit);
    const PixelView v = converted->View();
    for (int y = 0; y < v.height; ++y) {
      const auto* src = static_cast<const std::uint8_t*>(bmp->ScanLine(y));
      std::uint32_t* row = v.Row(y);
      for (int x = 0; x < v.width; ++x, src += 3)
        row[x] = OpaqueUnlessKey(src[0] | std::uint32_t{src[1]} << 8 | std::uint32_t{src[2]} << 16);
    }
    bmp = std::move(converted);
  } else if (bmp->PixelFormat() != fw::pf32bit) {
    bmp->SetPixelFormat(fw::pf32bit);
    const PixelView v = bmp->View();
    for (int y = 0; y < v.height; ++y) {
      std::uint32_t* row = v.Row(y);
      for (int x = 0; x < v.width; ++x) row[x] = OpaqueUnlessKey(row[x]);
    }
  }
  bmp->SetTransparent(true);
  // The drawing surface painters copy from is opened by the first of them
  // that asks (TBitmap::Canvas) and stays open with the bitmap: opening it
  // here for every piece cost a device context each, used or not.
}

// Where the PNG decoder puts its rows: a 32-bit picture goes straight into
// the bitmap; a 24-bit one into the right-hand three quarters of each row of
// a 32-bit bitmap, widened in place once decoded; the other formats into the
// decoder's own bitmap, converted afterwards.
class SkinPngTarget : public PngTarget {
 public:
  void BeginImage(const PngImageLayout& layout) override {
    FFormat = layout.PixelFormat;
    if (FFormat != PngPixelFormat::pf32bit && FFormat != PngPixelFormat::pf24bit) {
      FOther.BeginImage(layout);
      return;
    }
    Bitmap = std::make_shared<fw::TBitmap>(layout.Width, layout.Height, fw::pf32bit);
    FView = Bitmap->View();
    // Rows start as the background colour (with alpha 0 in a 32-bit
    // picture), as in the decoder's own bitmap: rows the data leaves
    // incomplete keep it.
    const std::uint32_t c = layout.BackgroundColor;
    const std::uint32_t fill = ((c >> 16) & 0xFF) | (c & 0xFF00) | (c & 0xFF) << 16;
    for (int y = 0; y < FView.height; ++y) {
      if (FFormat == PngPixelFormat::pf32bit) {
        std::fill_n(FView.Row(y), FView.width, fill);
        continue;
      }
      std::uint8_t* bgr = Row(y);
      for (int x = 0; x < FView.width; ++x, bgr += 3) {
        bgr[0] = static_cast<std::uint8_t>(fill);
        bgr[1] = static_cast<std::uint8_t>(fill >> 8);
        bgr[2] = static_cast<std::uint8_t>(fill >> 16);
      }
    }
  }
  std::uint8_t* Row(int y) override {
    switch (FFormat) {
      case PngPixelFormat::pf32bit:
        return reinterpret_cast<std::uint8_t*>(FView.Row(y));
      case PngPixelFormat::pf24bit:
        return reinterpret_cast<std::uint8_t*>(FView.Row(y)) + FView.width;
      default:
        return FOther.Row(y);
    }
  }

  // The picture once decoded: 32-bit, white of alpha 0 cleared; pictures
  // without alpha opaque but for the key colour, as any other image.
  BitmapPtr Finish() {
    if (FFormat == PngPixelFormat::pf32bit) {
      ClearTransparentWhite(FView);
      return Bitmap;
    }
    if (FFormat == PngPixelFormat::pf24bit) {
      // Pixel x is read from byte W + 3x before bytes 4x..4x+3 are written,
      // and those end before the next pixel's bytes begin.
      for (int y = 0; y < FView.height; ++y) {
        auto* bytes = reinterpret_cast<std::uint8_t*>(FView.Row(y));
        const std::uint8_t* src = bytes + FView.width;
        for (int x = 0; x < FView.width; ++x, src += 3) {
          const std::uint32_t v = OpaqueUnlessKey(src[0] | std::uint32_t{src[1]} << 8 | std::uint32_t{src[2]} << 16);
          std::memcpy(bytes + 4 * static_cast<std::size_t>(x), &v, 4);
        }
      }
      return Bitmap;
    }
    const PngImageLayout& layout = FOther.Layout;
    Bitmap = std::make_shared<fw::TBitmap>(layout.Width, layout.Height, fw::pf32bit);
    const PixelView v = Bitmap->View();
    if (v.Empty()) return Bitmap;
    const std::vector<std::uint32_t> pixels = FOther.ToBGRA32();
    for (int y = 0; y < v.height; ++y) {
      std::uint32_t* row = v.Row(y);
      const std::uint32_t* src = pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(v.width);
      for (int x = 0; x < v.width; ++x) row[x] = (src[x] & 0x00FFFFFFu) == KeyPixel ? KeyPixel : src[x];
    }
    return Bitmap;
  }

  BitmapPtr Bitmap;

 private:
  PngPixelFormat FFormat = PngPixelFormat::pf32bit;
  PixelView FView;
  PngBitmap FOther;
};

BitmapPtr BitmapFromPng(const std::uint8_t* data, std::size_t size) {
  SkinPngTarget target;
  DecodePngInto(data, size, target);
  return target.Finish();
}

// A whole file in one read; none when there is no such file. One open and
// one read: under Wine every file call is a trip to the server, and a skin
// folder has dozens of files. A file that is there but cannot be read is a
// load error, as it always was.
std::optional<std::vector<std::uint8_t>> FileBytes(const std::string& name) {
  HANDLE opened = ::CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (opened == INVALID_HANDLE_VALUE) {
    if (!FileExists(name)) return std::nullopt;
    throw fw::EFOpenError(fw::Format("Cannot open file \"%s\"", name));
  }
  const fw::UniqueKernelHandle file(opened);
  std::vector<std::uint8_t> bytes;
  LARGE_INTEGER size{};
  bool ok = ::GetFileSizeEx(file.Get(), &size) && size.QuadPart >= 0 && size.QuadPart < (std::int64_t{1} << 30);
  if (ok) {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    ok = bytes.empty() ||
         (::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size());
  }
  if (!ok) throw fw::EReadError("Stream read error");
  return bytes;
}

// Where the JPEG decoder puts its rows: a picture kept whole (a large
// texture, or any texture of the common sections) straight into a 24-bit
// bitmap; a small texture into memory, made a 32-bit piece afterwards.
class SkinJpegTarget : public TacJpegTarget {
 public:
  explicit SkinJpegTarget(bool alwaysPicture) : FAlwaysPicture(alwaysPicture) {}
  void Begin(int width, int height) override {
    Width = width;
    Height = height;
    if (FAlwaysPicture || IsLargeTexture(width, height)) {
      Picture = std::make_shared<fw::TBitmap>(width, height, fw::pf24bit);
    } else {
      FBgr.resize(static_cast<std::size_t>(width) * 3 * static_cast<std::size_t>(height));
    }
  }
  std::uint8_t* Row(int y) override {
    if (Picture) return static_cast<std::uint8_t*>(Picture->ScanLine(y));
    return FBgr.data() + static_cast<std::size_t>(Width) * 3 * static_cast<std::size_t>(y);
  }
  // A small texture as a 32-bit piece with the skin's alpha rule.
  BitmapPtr Piece() const {
    auto bmp = std::make_shared<fw::TBitmap>(Width, Height, fw::pf32bit);
    const PixelView v = bmp->View();
    for (int y = 0; y < v.height; ++y) {
      const std::uint8_t* src = FBgr.data() + static_cast<std::size_t>(Width) * 3 * static_cast<std::size_t>(y);
      std::uint32_t* row = v.Row(y);
      for (int x = 0; x < v.width; ++x, src += 3)
        row[x] = OpaqueUnlessKey(src[0] | std::uint32_t{src[1]} << 8 | std::uint32_t{src[2]} << 16);
    }
    return bmp;
  }

  int Width = 0, Height = 0;
  BitmapPtr Picture;  // set when kept whole

 private:
  bool FAlwaysPicture;
  std::vector<std::uint8_t> FBgr;
};

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

  // The bytes of an image: a packed entry's, read where the packed reader
  // keeps them, or a file's, held here.
  struct ImageData {
    std::vector<std::uint8_t> file;
    const std::uint8_t* bytes = nullptr;
    std::size_t size = 0;
    // A stream over the bytes for the framework's readers.
    fw::TMemoryStream Stream() {
      if (!file.empty()) return fw::TMemoryStream(std::move(file));
      return fw::TMemoryStream(std::vector<std::uint8_t>(bytes, bytes + size));
    }
  };

  // The packed entry of that name, or the file. None when there is none.
  std::optional<ImageData> ImageBytes(const std::string& name, bool filesOnly) {
    ImageData data;
    if (Packed && !filesOnly) {
      const TacImageItem* item = Packed->FindImage(name);
      if (!item) return std::nullopt;
      data.bytes = item->Data->Bytes().data();
      data.size = item->Data->Bytes().size();
      return data;
    }
    auto file = FileBytes(FilePath(name));
    if (!file) return std::nullopt;
    data.file = std::move(*file);
    data.bytes = data.file.data();
    data.size = data.file.size();
    return data;
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
      if (name.find(".PNG") != std::string::npos) return BitmapFromPng(bytes->bytes, bytes->size);
      auto b = std::make_shared<fw::TBitmap>();
      fw::TMemoryStream s = bytes->Stream();
      b->LoadFromStream(s);
      return b;
    });
    MakeSkin32(bmp);
    return bmp;
  }

  // Decodes into the target; false when the image is not there.
  bool DecodeJpegImage(const std::string& name, bool filesOnly, SkinJpegTarget& target) {
    auto bytes = ImageBytes(name, filesOnly);
    if (!bytes) return false;
    Timed([&] {
      DecodeJpegInto(bytes->bytes, bytes->size, target);
      return true;
    });
    return true;
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

  // Whether the value names a JPEG file (".JPG" or ".JPEG" in any case),
  // without an upper-case copy of every value of the options.
  static bool IsJpegName(std::string_view value) {
    auto is = [&](std::size_t i, char lower) { return i < value.size() && (value[i] | 0x20) == lower; };
    for (std::size_t i = 0; i < value.size(); ++i)
      if (value[i] == '.' && is(i + 1, 'j') && is(i + 2, 'p') && (is(i + 3, 'g') || (is(i + 3, 'e') && is(i + 4, 'g'))))
        return true;
    return false;
  }

  void LoadTextures() {
    FTables.Patterns.clear();
    for (const TacIniFile::Section& sec : Options.Sections())
      for (const TacIniFile::Key& key : sec.Keys) {
        if (!IsJpegName(key.Value)) continue;
        SkinJpegTarget pic(false);
        if (!DecodeJpegImage(Packed ? UpperCase(key.Value) : key.Value, false, pic) || pic.Width <= 0) continue;
        if (pic.Picture) {
          FTables.Patterns.push_back(TsPatternData{pic.Picture, UpperCase(sec.Name), UpperCase(key.Name)});
        } else {
          TsMaskData m;
          m.OwnBitmap = pic.Piece();
          MakeSkin32(m.OwnBitmap);
          m.Section = UpperCase(sec.Name);
          m.Prop = UpperCase(key.Name);
          m.SrcRight = pic.Width;
          m.SrcBottom = pic.Height;
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
          if (!IsJpegName(key.Value)) continue;
          SkinJpegTarget pic(true);
          if (!DecodeJpegImage(key.Value, true, pic) || pic.Width <= 0) continue;
          FTables.Patterns.push_back(TsPatternData{pic.Picture, UpperCase(sec.Name), UpperCase(key.Name)});
        }
    }
  }

  void ReadSections() {
    ReadGlobalInfo(Options, *FTables.GlobalInfo, FTables.System());
    if (FSettings.OnVersionCheck) FSettings.OnVersionCheck(*FTables.GlobalInfo);
    ReadSkinSections(Options, FTables);
    if (!FSettings.CommonSections.empty()) MergeCommonSections(FCommon, FTables);
    // The frame indexes come with the other indexes once the load is over
    // (UpdateConstIndexes); recolouring does not move them.
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
        kept.insert(kept.end(),
                    {"BICONMAX", "BICONMIN", "BICONNORM", "BICONHELP", "SICONMAX", "SICONMIN", "SICONNORM"});
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
  } else if (auto options = FileBytes(optionsFile)) {
    // One open and one read, as for the images.
    tables.GlobalInfo->SkinFolder = folder;
    load.Options.SetText(std::string_view(reinterpret_cast<const char*>(options->data()), options->size()));
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
  // Read in one go, as the images of a folder are; no file, no load.
  auto bytes = FileBytes(PackedSkinFileName(settings));
  if (!bytes) return;
  SkinLoad load(tables, settings, stats);
  load.Packed.emplace();
  load.Packed->LoadFromBytes(bytes->data(), bytes->size());
  load.Options.SetText(load.Packed->OptionsText());
  std::string program = settings.ProgramFolder.empty() ? ProgramFolder() : settings.ProgramFolder;
  tables.GlobalInfo->SkinFolder = ResolveSkinDirectory(settings.SkinDirectory, program) + "\\";
  load.Run();
}

}  // namespace translit
