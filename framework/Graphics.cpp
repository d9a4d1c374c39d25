// Fonts, brushes, pens, canvases and bitmaps.
#include "framework/Graphics.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace fw {

void TGraphicsObject::Changed() {
  FreeHandle();
  if (OnChange) OnChange();
}

// ---- TFont

TFont::TFont() = default;

HFONT TFont::Handle() {
  if (!FHandle) {
    LOGFONTA lf{};
    lf.lfHeight = FHeight;
    lf.lfWeight = (FStyle & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (FStyle & fsItalic) ? 1 : 0;
    lf.lfUnderline = (FStyle & fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = (FStyle & fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(FCharset);
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    std::strncpy(lf.lfFaceName, FName.c_str(), LF_FACESIZE - 1);
    FHandle.Reset(::CreateFontIndirectA(&lf));
  }
  return FHandle.Get();
}

void TFont::Assign(const TFont& o) {
  FCharset = o.FCharset;
  FColor = o.FColor;
  FHeight = o.FHeight;
  FName = o.FName;
  FStyle = o.FStyle;
  Changed();
}

void TFont::SetCharset(int v) {
  if (v != FCharset) FCharset = v, Changed();
}
void TFont::SetColor(TColor v) {
  // Colour is drawn with SetTextColor; the handle stays valid.
  if (v != FColor) {
    FColor = v;
    if (OnChange) OnChange();
  }
}
void TFont::SetHeight(int v) {
  if (v != FHeight) FHeight = v, Changed();
}
int TFont::Size() const { return -MulDiv(FHeight, 72, 96); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, 96, 72)); }
void TFont::SetName(const std::string& v) {
  if (v != FName) FName = v, Changed();
}
void TFont::SetStyle(TFontStyles v) {
  if (v != FStyle) FStyle = v, Changed();
}

// ---- TBrush, TPen

HBRUSH TBrush::Handle() {
  if (!FHandle) {
    FHandle.Reset(FStyle == bsClear ? static_cast<HBRUSH>(nullptr)
                                    : ::CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(FColor))));
  }
  return FHandle ? FHandle.Get() : static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}
void TBrush::SetColor(TColor v) {
  if (v != FColor || FStyle == bsClear) FColor = v, FStyle = bsSolid, Changed();
}
void TBrush::SetStyle(TBrushStyle v) {
  if (v != FStyle) FStyle = v, Changed();
}

HPEN TPen::Handle() {
  if (!FHandle) FHandle.Reset(::CreatePen(PS_SOLID, FWidth, static_cast<COLORREF>(ColorToRGB(FColor))));
  return FHandle.Get();
}
void TPen::SetColor(TColor v) {
  if (v != FColor) FColor = v, Changed();
}
void TPen::SetWidth(int v) {
  if (v != FWidth) FWidth = v, Changed();
}

// ---- TCanvas

TCanvas::TCanvas() {
  // A changed object is reselected on the next drawing call; the old handle
  // must leave the DC before it is deleted.
  FFont.OnChange = [this] {
    if (FHandle && FOldFont) {
      ::SelectObject(FHandle, FOldFont);
      FOldFont = nullptr;
    }
  };
  FBrush.OnChange = [this] {
    if (FHandle && FOldBrush) {
      ::SelectObject(FHandle, FOldBrush);
      FOldBrush = nullptr;
    }
  };
  FPen.OnChange = [this] {
    if (FHandle && FOldPen) {
      ::SelectObject(FHandle, FOldPen);
      FOldPen = nullptr;
    }
  };
}

TCanvas::~TCanvas() { Deselect(); }

void TCanvas::Deselect() {
  if (!FHandle) return;
  if (FOldFont) ::SelectObject(FHandle, FOldFont);
  if (FOldBrush) ::SelectObject(FHandle, FOldBrush);
  if (FOldPen) ::SelectObject(FHandle, FOldPen);
  FOldFont = FOldBrush = FOldPen = nullptr;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == FHandle) return;
  Deselect();
  FHandle = dc;
}

void TCanvas::RequireFont() {
  HGDIOBJ old = ::SelectObject(FHandle, FFont.Handle());
  if (!FOldFont) FOldFont = old;
  ::SetTextColor(FHandle, static_cast<COLORREF>(ColorToRGB(FFont.Color())));
}

void TCanvas::RequireBrush() {
  HGDIOBJ old = ::SelectObject(FHandle, FBrush.Handle());
  if (!FOldBrush) FOldBrush = old;
  if (FBrush.Style() == bsClear) {
    ::SetBkMode(FHandle, TRANSPARENT);
  } else {
    ::SetBkMode(FHandle, OPAQUE);
    ::SetBkColor(FHandle, static_cast<COLORREF>(ColorToRGB(FBrush.Color())));
  }
}

void TCanvas::RequirePen() {
  HGDIOBJ old = ::SelectObject(FHandle, FPen.Handle());
  if (!FOldPen) FOldPen = old;
}

void TCanvas::FillRect(const RECT& r) {
  if (!FHandle || FBrush.Style() == bsClear) return;
  ::FillRect(FHandle, &r, FBrush.Handle());
}

void TCanvas::FrameRect(const RECT& r) {
  if (FHandle) ::FrameRect(FHandle, &r, FBrush.Handle());
}

void TCanvas::Rectangle(int l, int t, int r, int b) {
  if (!FHandle) return;
  RequirePen();
  RequireBrush();
  ::Rectangle(FHandle, l, t, r, b);
}

void TCanvas::MoveTo(int x, int y) {
  if (FHandle) ::MoveToEx(FHandle, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  if (!FHandle) return;
  RequirePen();
  ::LineTo(FHandle, x, y);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  if (!FHandle) return;
  RequireFont();
  RequireBrush();
  ::TextOutA(FHandle, x, y, text.data(), static_cast<int>(text.size()));
}

void TCanvas::TextRect(const RECT& r, int x, int y, const std::string& text) {
  if (!FHandle) return;
  RequireFont();
  RequireBrush();
  UINT opts = ETO_CLIPPED | (FBrush.Style() == bsClear ? 0 : ETO_OPAQUE);
  ::ExtTextOutA(FHandle, x, y, opts, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
}

SIZE TCanvas::TextExtent(const std::string& text) {
  SIZE s{};
  if (!FHandle) return s;
  RequireFont();
  ::GetTextExtentPoint32A(FHandle, text.data(), static_cast<int>(text.size()), &s);
  return s;
}
int TCanvas::TextWidth(const std::string& text) { return TextExtent(text).cx; }
int TCanvas::TextHeight(const std::string& text) { return TextExtent(text).cy; }

void TCanvas::Draw(int x, int y, TGraphic& g) {
  RECT r{x, y, x + g.Width(), y + g.Height()};
  g.Draw(*this, r);
}

void TCanvas::StretchDraw(const RECT& r, TGraphic& g) { g.Draw(*this, r); }

void TCanvas::CopyRect(const RECT& d, TCanvas& source, const RECT& s) {
  if (!FHandle || !source.Handle()) return;
  ::StretchBlt(FHandle, d.left, d.top, d.right - d.left, d.bottom - d.top, source.Handle(), s.left, s.top,
               s.right - s.left, s.bottom - s.top, SRCCOPY);
}

TColor TCanvas::Pixel(int x, int y) { return FHandle ? static_cast<TColor>(::GetPixel(FHandle, x, y)) : clNone; }
void TCanvas::SetPixel(int x, int y, TColor c) {
  if (FHandle) ::SetPixelV(FHandle, x, y, static_cast<COLORREF>(ColorToRGB(c)));
}

// ---- TGraphic

void TGraphic::LoadFromFile(const std::string& fileName) {
  TFileStream f(fileName, fmOpenRead);
  LoadFromStream(f);
}

void TGraphic::SaveToFile(const std::string& fileName) {
  TFileStream f(fileName, fmCreate);
  SaveToStream(f);
}

// ---- TBitmap

int BitsPerPixel(TPixelFormat pf) {
  switch (pf) {
    case pf1bit:
      return 1;
    case pf4bit:
      return 4;
    case pf8bit:
      return 8;
    case pf15bit:
    case pf16bit:
      return 16;
    case pf24bit:
      return 24;
    case pf32bit:
      return 32;
    default:
      return 0;
  }
}

namespace {

TPixelFormat FormatOfBits(int bits) {
  switch (bits) {
    case 1:
      return pf1bit;
    case 4:
      return pf4bit;
    case 8:
      return pf8bit;
    case 16:
      return pf16bit;
    case 24:
      return pf24bit;
    case 32:
      return pf32bit;
    default:
      return pfCustom;
  }
}

// BITMAPINFO with room for a full colour table or three bit-field masks.
struct DibHeader {
  BITMAPINFOHEADER header{};
  RGBQUAD colors[256]{};
  BITMAPINFO* Info() { return reinterpret_cast<BITMAPINFO*>(this); }
  void Init(int width, int height, int bits, DWORD compression) {
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bits);
    header.biCompression = compression;
  }
  // 16-bit pixels as 5-6-5.
  void SetMasks565() {
    header.biCompression = BI_BITFIELDS;
    auto* masks = reinterpret_cast<DWORD*>(colors);
    masks[0] = 0xF800;
    masks[1] = 0x07E0;
    masks[2] = 0x001F;
  }
};

// A grey ramp for palettised formats, as a fresh bitmap of such a format
// has before anything is drawn into it.
void FillDefaultPalette(DibHeader& h, int bits) {
  int n = 1 << bits;
  for (int i = 0; i < n; ++i) {
    BYTE v = static_cast<BYTE>(n == 1 ? 0 : i * 255 / (n - 1));
    h.colors[i] = RGBQUAD{v, v, v, 0};
  }
  h.header.biClrUsed = static_cast<DWORD>(n);
}

int RowBytesOf(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

}  // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) {
  FPixelFormat = format;
  SetSize(width, height);
}

TBitmap::~TBitmap() { ReleaseCanvas(); }

void TBitmap::ReleaseCanvas() {
  if (FCanvas) FCanvas->SetHandle(nullptr);
  if (FDC && FOldBitmap) ::SelectObject(FDC.Get(), FOldBitmap);
  FOldBitmap = nullptr;
}

void TBitmap::Recreate(int w, int h, TPixelFormat pf, TBitmapHandleType type, bool keepContent) {
  w = std::max(w, 0);
  h = std::max(h, 0);
  UniqueBitmap made;
  std::uint8_t* bits = nullptr;
  int rowBytes = 0;
  if (w > 0 && h > 0) {
    // The screen is asked only by device-dependent formats: a DIB of a
    // fixed depth needs no DC, and getting the screen's costs more than
    // making a small DIB (a round trip to the server under Wine).
    int bpp = BitsPerPixel(pf);
    if (pf == pfDevice && type == bmDIB) bpp = ::GetDeviceCaps(WindowDC(nullptr).Get(), BITSPIXEL);
    if (bpp == 0 || type == bmDDB) {
      made.Reset(::CreateCompatibleBitmap(WindowDC(nullptr).Get(), w, h));
    } else {
      DibHeader dh;
      dh.Init(w, h, bpp, BI_RGB);
      if (pf == pf16bit) {
        dh.SetMasks565();
      } else if (bpp <= 8) {
        FillDefaultPalette(dh, bpp);
      }
      void* p = nullptr;
      made.Reset(::CreateDIBSection(nullptr, dh.Info(), DIB_RGB_COLORS, &p, nullptr, 0));
      bits = static_cast<std::uint8_t*>(p);
      rowBytes = RowBytesOf(w, bpp);
    }
    if (!made) throw EOutOfResources("Out of system resources");
    if (bits) std::memset(bits, 0, static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(h));
    if (keepContent && FHandle) {
      UniqueDC src(::CreateCompatibleDC(nullptr));
      UniqueDC dst(::CreateCompatibleDC(nullptr));
      ReleaseCanvas();
      SelectGuard s(src.Get(), FHandle.Get());
      SelectGuard d(dst.Get(), made.Get());
      ::BitBlt(dst.Get(), 0, 0, std::min(w, FWidth), std::min(h, FHeight), src.Get(), 0, 0, SRCCOPY);
    }
  }
  ReleaseCanvas();
  FHandle = std::move(made);
  FBits = bits;
  FRowBytes = rowBytes;
  FWidth = w;
  FHeight = h;
  FPixelFormat = pf;
  FHandleType = type;
}

void TBitmap::SetSize(int w, int h) {
  if (w == FWidth && h == FHeight && (FHandle || w == 0 || h == 0)) return;
  Recreate(w, h, FPixelFormat, FHandleType, true);
}

void TBitmap::SetPixelFormat(TPixelFormat pf) {
  if (pf == FPixelFormat) return;
  TBitmapHandleType type = (pf == pfDevice) ? FHandleType : bmDIB;
  Recreate(FWidth, FHeight, pf, type, true);
}

void TBitmap::SetHandleType(TBitmapHandleType t) {
  if (t == FHandleType) return;
  Recreate(FWidth, FHeight, t == bmDDB ? pfDevice : FPixelFormat, t, true);
}

HBITMAP TBitmap::Handle() {
  ::GdiFlush();
  return FHandle.Get();
}

TCanvas& TBitmap::Canvas() {
  if (!FDC) FDC.Reset(::CreateCompatibleDC(nullptr));
  if (!FCanvas) FCanvas = std::make_unique<TCanvas>();
  if (FHandle && !FOldBitmap) FOldBitmap = ::SelectObject(FDC.Get(), FHandle.Get());
  FCanvas->SetHandle(FDC.Get());
  return *FCanvas;
}

void* TBitmap::ScanLine(int y) {
  if (!FBits || y < 0 || y >= FHeight) throw EInvalidGraphic("Scan line index out of range");
  ::GdiFlush();
  return FBits + static_cast<std::ptrdiff_t>(FHeight - 1 - y) * FRowBytes;
}

translit::PixelView TBitmap::View() {
  translit::PixelView v;
  if (!FBits || BitsPerPixel(FPixelFormat) != 32) return v;
  ::GdiFlush();
  v.firstRow = FBits + static_cast<std::ptrdiff_t>(FHeight - 1) * FRowBytes;
  v.rowStride = -static_cast<std::ptrdiff_t>(FRowBytes);
  v.width = FWidth;
  v.height = FHeight;
  return v;
}

void TBitmap::Assign(TBitmap& source) {
  if (&source == this) return;
  Recreate(source.Width(), source.Height(), source.PixelFormat(), source.HandleType(), false);
  if (FHandle && source.FHandle) {
    if (FBits && source.FBits && FPixelFormat != pf1bit && FPixelFormat != pf4bit && FPixelFormat != pf8bit) {
      ::GdiFlush();
      std::memcpy(FBits, source.FBits, static_cast<std::size_t>(FRowBytes) * static_cast<std::size_t>(FHeight));
    } else {
      Canvas().CopyRect(RECT{0, 0, FWidth, FHeight}, source.Canvas(), RECT{0, 0, FWidth, FHeight});
    }
  }
  SetTransparent(source.Transparent());
}

void TBitmap::SetHandle(HBITMAP bitmap) {
  ReleaseCanvas();
  FHandle.Reset(bitmap);
  FBits = nullptr;
  FRowBytes = 0;
  FWidth = FHeight = 0;
  if (!bitmap) return;
  DIBSECTION ds{};
  if (::GetObjectA(bitmap, sizeof(ds), &ds) == sizeof(DIBSECTION) && ds.dsBm.bmBits) {
    FBits = static_cast<std::uint8_t*>(ds.dsBm.bmBits);
    FRowBytes = ds.dsBm.bmWidthBytes;
    FWidth = ds.dsBm.bmWidth;
    FHeight = ds.dsBm.bmHeight;
    FPixelFormat = FormatOfBits(ds.dsBm.bmBitsPixel);
    FHandleType = bmDIB;
    if (ds.dsBmih.biHeight < 0) {
      // Top-down sections are copied into the bottom-up layout that ScanLine
      // assumes; the original is released.
      TBitmap copy(FWidth, FHeight, FPixelFormat == pfCustom ? pf32bit : FPixelFormat);
      {
        UniqueDC src(::CreateCompatibleDC(nullptr));
        SelectGuard s(src.Get(), bitmap);
        ::BitBlt(copy.Canvas().Handle(), 0, 0, FWidth, FHeight, src.Get(), 0, 0, SRCCOPY);
      }
      copy.ReleaseCanvas();
      FPixelFormat = copy.FPixelFormat;
      FRowBytes = copy.FRowBytes;
      FBits = copy.FBits;
      FHandle = std::move(copy.FHandle);
      copy.FBits = nullptr;
    }
  } else {
    BITMAP bm{};
    ::GetObjectA(bitmap, sizeof(bm), &bm);
    FWidth = bm.bmWidth;
    FHeight = bm.bmHeight;
    FPixelFormat = pfDevice;
    FHandleType = bmDDB;
  }
}

void TBitmap::Draw(TCanvas& canvas, const RECT& r) {
  if (!FHandle || !canvas.Handle()) return;
  HDC src = Canvas().Handle();
  int mode = ::SetStretchBltMode(canvas.Handle(), COLORONCOLOR);
  if (Transparent()) {
    // The bottom-left pixel is the transparent colour, as the framework does.
    COLORREF key = ::GetPixel(src, 0, FHeight - 1);
    ::TransparentBlt(canvas.Handle(), r.left, r.top, r.right - r.left, r.bottom - r.top, src, 0, 0, FWidth, FHeight,
                     key);
  } else {
    ::StretchBlt(canvas.Handle(), r.left, r.top, r.right - r.left, r.bottom - r.top, src, 0, 0, FWidth, FHeight,
                 SRCCOPY);
  }
  ::SetStretchBltMode(canvas.Handle(), mode);
}

void TBitmap::LoadFromStream(TStream& stream) {
  std::int64_t size = stream.Size() - stream.Position();
  if (size < 14 || size > (std::int64_t{1} << 30)) throw EInvalidGraphic("Bitmap image is not valid");
  std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
  stream.ReadBuffer(data.data(), size);
  translit::BmpLayout layout;
  if (translit::ParseBmpFile(data.data(), data.size(), layout) != translit::BmpFault::None)
    throw EInvalidGraphic("Bitmap image is not valid");
  ReadDib(data.data(), layout);
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const char* name) {
  HRSRC res = ::FindResourceA(instance, name, MAKEINTRESOURCEA(2) /* RT_BITMAP */);
  if (!res) throw EInvalidGraphic(Format("Resource %s not found", std::string(name)));
  HGLOBAL g = ::LoadResource(instance, res);
  auto* p = static_cast<const std::uint8_t*>(::LockResource(g));
  translit::BmpLayout layout;
  if (!p || translit::ParseDib(p, ::SizeofResource(instance, res), 0, layout) != translit::BmpFault::None)
    throw EInvalidGraphic("Bitmap image is not valid");
  ReadDib(p, layout);
}

// The pixels of a checked header (render/pixels/BmpHeader.h): every byte
// read here lies inside the buffer. GDI decodes the bits (RLE, bit fields)
// into a bottom-up DIB section with the file's palette or masks.
void TBitmap::ReadDib(const std::uint8_t* data, const translit::BmpLayout& layout) {
  auto invalid = [] { return EInvalidGraphic("Bitmap image is not valid"); };
  const int width = layout.Width, height = layout.Height, bits = layout.BitCount;
  const DWORD compression = layout.Compression;
  const int absHeight = layout.AbsHeight();
  DibHeader dh;
  if (bits <= 8) {
    for (std::uint32_t i = 0; i < layout.ColorCount; ++i) {
      const std::uint32_t c = layout.Color(data, i);
      dh.colors[i] = RGBQUAD{static_cast<BYTE>(c), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c >> 16), 0};
    }
    dh.header.biClrUsed = layout.ColorCount;
  }
  if (compression == BI_BITFIELDS) std::memcpy(dh.colors, layout.Masks, sizeof(layout.Masks));
  dh.header.biSizeImage = layout.SizeImage;
  dh.Init(width, height, bits, compression);

  TPixelFormat pf = FormatOfBits(bits);
  if (bits == 16 && compression == BI_RGB) pf = pf15bit;
  // Build the target with the file's palette or masks, bottom-up.
  DibHeader target = dh;
  target.header.biHeight = absHeight;
  target.header.biCompression = compression == BI_BITFIELDS ? BI_BITFIELDS : BI_RGB;
  target.header.biSizeImage = 0;
  WindowDC screen(nullptr);
  void* p = nullptr;
  UniqueBitmap made(::CreateDIBSection(screen.Get(), target.Info(), DIB_RGB_COLORS, &p, nullptr, 0));
  if (!made) throw EOutOfResources("Out of system resources");
  if (::SetDIBits(screen.Get(), made.Get(), 0, static_cast<UINT>(absHeight), data + layout.PixelOffset, dh.Info(),
                  DIB_RGB_COLORS) == 0)
    throw invalid();
  ReleaseCanvas();
  FHandle = std::move(made);
  FBits = static_cast<std::uint8_t*>(p);
  FRowBytes = RowBytesOf(width, bits);
  FWidth = width;
  FHeight = absHeight;
  FPixelFormat = pf;
  FHandleType = bmDIB;
}

void TBitmap::SaveToStream(TStream& stream) {
  // Written as a 32-bit (or the bitmap's own DIB) BMP file.
  TBitmap copy;
  TBitmap* src = this;
  if (!FBits) {
    copy.Recreate(FWidth, FHeight, pf32bit, bmDIB, false);
    if (FHandle) copy.Canvas().CopyRect(RECT{0, 0, FWidth, FHeight}, Canvas(), RECT{0, 0, FWidth, FHeight});
    src = &copy;
  }
  DibHeader dh;
  int bits = BitsPerPixel(src->FPixelFormat);
  dh.Init(src->FWidth, src->FHeight, bits, BI_RGB);
  std::size_t tableBytes = 0;
  if (bits <= 8 && src->FHandle) {
    HDC dc = src->Canvas().Handle();
    UINT n = ::GetDIBColorTable(dc, 0, 256, dh.colors);
    dh.header.biClrUsed = n;
    tableBytes = n * 4;
  } else if (src->FPixelFormat == pf16bit) {
    dh.SetMasks565();
    tableBytes = 12;
  }
  std::size_t imageBytes = static_cast<std::size_t>(src->FRowBytes) * static_cast<std::size_t>(src->FHeight);
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  const std::size_t headerBytes = sizeof(fh) + sizeof(BITMAPINFOHEADER) + tableBytes;
  fh.bfOffBits = static_cast<DWORD>(headerBytes);
  fh.bfSize = static_cast<DWORD>(fh.bfOffBits + imageBytes);
  stream.WriteBuffer(&fh, sizeof(fh));
  stream.WriteBuffer(&dh.header, sizeof(BITMAPINFOHEADER));
  stream.WriteBuffer(dh.colors, static_cast<std::int64_t>(tableBytes));
  ::GdiFlush();
  if (imageBytes) stream.WriteBuffer(src->FBits, static_cast<std::int64_t>(imageBytes));
}

namespace {

std::string LowerExtension(std::string extension) {
  if (!extension.empty() && extension[0] == '.') extension.erase(0, 1);
  for (char& c : extension)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return extension;
}

// Made on first use, so that no unit depends on the order in which static
// objects are set up; the framework's own bitmaps are always known.
std::vector<TFileFormat>& Formats() {
  static std::vector<TFileFormat> formats{{"bmp", "Bitmaps", [] { return std::unique_ptr<TGraphic>(new TBitmap()); }}};
  return formats;
}

}  // namespace

void RegisterFileFormat(const std::string& extension, const std::string& description, TGraphicFactory create) {
  const std::string ext = LowerExtension(extension);
  if (ext.empty() || !create) throw EInvalidGraphic("Invalid picture file format");
  for (TFileFormat& f : Formats()) {
    if (f.Extension == ext) {
      f.Description = description;
      f.Create = std::move(create);
      return;
    }
  }
  Formats().push_back(TFileFormat{ext, description, std::move(create)});
}

void UnregisterFileFormat(const std::string& extension) {
  const std::string ext = LowerExtension(extension);
  auto& formats = Formats();
  formats.erase(
      std::remove_if(formats.begin(), formats.end(), [&](const TFileFormat& f) { return f.Extension == ext; }),
      formats.end());
}

const TFileFormat* FindFileFormat(const std::string& extension) {
  const std::string ext = LowerExtension(extension);
  for (const TFileFormat& f : Formats())
    if (f.Extension == ext) return &f;
  return nullptr;
}

std::vector<TFileFormat> FileFormats() { return Formats(); }

std::unique_ptr<TGraphic> LoadGraphicFromFile(const std::string& fileName) {
  const std::size_t slash = fileName.find_last_of("\\/:");
  const std::size_t dot = fileName.rfind('.');
  const std::string ext = dot == std::string::npos || (slash != std::string::npos && dot < slash)
                              ? std::string()
                              : fileName.substr(dot + 1);
  const TFileFormat* format = FindFileFormat(ext);
  if (!format) throw EInvalidGraphic(Format("Unknown picture file extension (.%s)", ext));
  std::unique_ptr<TGraphic> graphic = format->Create();
  graphic->LoadFromFile(fileName);
  return graphic;
}

}  // namespace fw
