// TPNGGraphic on the portable decoder: the decoder writes straight into the
// bitmap's own rows; drawing and the icon makers work on DIB sections.
#include "render/bitmaps/acPNG.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "render/pixels/AlphaKernels.h"

namespace translit {

namespace {

fw::TPixelFormat FrameworkFormat(PngPixelFormat f) {
  switch (f) {
    case PngPixelFormat::pf1bit:
      return fw::pf1bit;
    case PngPixelFormat::pf4bit:
      return fw::pf4bit;
    case PngPixelFormat::pf8bit:
      return fw::pf8bit;
    case PngPixelFormat::pf24bit:
      return fw::pf24bit;
    case PngPixelFormat::pf32bit:
      return fw::pf32bit;
  }
  return fw::pf32bit;
}

// The decoder's target: the graphic itself, set up when the image data starts.
class BitmapTarget : public PngTarget {
 public:
  explicit BitmapTarget(TPNGGraphic& graphic) : FGraphic(graphic) {}

  void BeginImage(const PngImageLayout& layout) override {
    FGraphic.SetSize(0, 0);
    FGraphic.SetPixelFormat(FrameworkFormat(layout.PixelFormat));
    FGraphic.SetSize(layout.Width, layout.Height);
    fw::TCanvas& canvas = FGraphic.Canvas();
    if (!layout.Palette.empty()) {
      static_assert(sizeof(RGBQUAD) == sizeof(std::uint32_t), "palette entries are RGBQUADs");
      ::SetDIBColorTable(canvas.Handle(), 0, static_cast<UINT>(layout.Palette.size()),
                         reinterpret_cast<const RGBQUAD*>(layout.Palette.data()));
    }
    canvas.Brush().SetColor(static_cast<fw::TColor>(layout.BackgroundColor));
    canvas.FillRect(RECT{0, 0, layout.Width, layout.Height});
    ::GdiFlush();
    FGraphic.SetTransparent(layout.Transparent);
  }

  std::uint8_t* Row(int y) override { return static_cast<std::uint8_t*>(FGraphic.ScanLine(y)); }

 private:
  TPNGGraphic& FGraphic;
};

GrayView GrayOf(fw::TBitmap& bitmap) {
  GrayView v;
  if (bitmap.Width() <= 0 || bitmap.Height() <= 0) return v;
  v.firstRow = static_cast<std::uint8_t*>(bitmap.ScanLine(0));
  v.rowStride = -static_cast<std::ptrdiff_t>(bitmap.BytesPerRow());
  v.width = bitmap.Width();
  v.height = bitmap.Height();
  return v;
}

// A 1-bit mask bitmap from rows of bits (1 = transparent), top row first.
class MaskBits {
 public:
  MaskBits(int width, int height)
      : FRowBytes(static_cast<std::size_t>((width + 15) / 16) * 2),
        FBits(FRowBytes * static_cast<std::size_t>(height), 0),
        FWidth(width),
        FHeight(height) {}
  void SetTransparent(int x, int y) {
    FBits[FRowBytes * static_cast<std::size_t>(y) + static_cast<std::size_t>(x / 8)] |=
        static_cast<std::uint8_t>(0x80 >> (x % 8));
  }
  fw::UniqueBitmap Make() const { return fw::UniqueBitmap(::CreateBitmap(FWidth, FHeight, 1, 1, FBits.data())); }

 private:
  std::size_t FRowBytes;
  std::vector<std::uint8_t> FBits;
  int FWidth, FHeight;
};

fw::UniqueIcon IconOf(const MaskBits& mask, fw::TBitmap& color) {
  fw::UniqueBitmap maskBitmap = mask.Make();
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = maskBitmap.Get();
  info.hbmColor = color.Handle();
  return fw::UniqueIcon(::CreateIconIndirect(&info));
}

}  // namespace

void TPNGGraphic::LoadFromStream(fw::TStream& stream) {
  SetSize(0, 0);
  SetTransparent(false);
  PngDecoder decoder;
  decoder.OnProgress = OnProgress;
  BitmapTarget target(*this);
  auto remember = [&] {
    FProperties = decoder.ImageProperties();
    FBackgroundColor = decoder.BackgroundColor();
    FTransparentColor = decoder.TransparentColor();
  };
  try {
    decoder.Load(stream, target);
  } catch (...) {
    remember();
    throw;
  }
  remember();
}

void TPNGGraphic::LoadFromResourceName(HINSTANCE instance, const char* name, const char* type) {
  HRSRC res = ::FindResourceA(instance, name, type);
  if (!res) throw fw::EInvalidGraphic(fw::Format("Resource %s not found", std::string(name)));
  HGLOBAL handle = ::LoadResource(instance, res);
  const auto* data = static_cast<const std::uint8_t*>(::LockResource(handle));
  if (!data) throw fw::EInvalidGraphic(fw::Format("Resource %s not found", std::string(name)));
  fw::TMemoryStream stream(std::vector<std::uint8_t>(data, data + ::SizeofResource(instance, res)));
  LoadFromStream(stream);
}

void TPNGGraphic::Draw(fw::TCanvas& canvas, const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (Empty() || !canvas.Handle() || w <= 0 || h <= 0) return;
  if (PixelFormat() != fw::pf32bit) {
    if (Transparent() && FTransparentColor != static_cast<std::uint32_t>(fw::clNone)) {
      ::TransparentBlt(canvas.Handle(), r.left, r.top, w, h, Canvas().Handle(), 0, 0, Width(), Height(),
                       FTransparentColor);
      return;
    }
    TBitmap::Draw(canvas, r);
    return;
  }

  // What the canvas shows there (and below, for the reflection) is the
  // background the picture is composed onto.
  const int fullHeight = h + (FReflected ? h / 2 : 0);
  fw::TBitmap composed(w, fullHeight, fw::pf32bit);
  ::BitBlt(composed.Canvas().Handle(), 0, 0, w, fullHeight, canvas.Handle(), r.left, r.top, SRCCOPY);
  const ParentPixels noParent;
  if (w == Width() && h == Height()) {
    DrawAlphaPart(PixelRect{0, 0, w, h}, PixelRect{0, 0, w, h}, composed.View(), FReflected, 0, NoColor, false,
                  noParent, View());
  } else {
    // Colour and alpha are scaled apart: colour without smoothing, the alpha
    // channel with halftoning as a grey picture.
    fw::TBitmap scaled;
    scaled.SetHandleType(fw::bmDDB);
    scaled.SetSize(w, h);
    {
      HDC dc = scaled.Canvas().Handle();
      int mode = ::SetStretchBltMode(dc, COLORONCOLOR);
      ::StretchBlt(dc, 0, 0, w, h, Canvas().Handle(), 0, 0, Width(), Height(), SRCCOPY);
      ::SetStretchBltMode(dc, mode);
    }
    scaled.SetPixelFormat(fw::pf32bit);
    fw::TBitmap alpha(Width(), Height(), fw::pf8bit);
    CopyChannel(View(), GrayOf(alpha), 3, true);
    fw::TBitmap scaledAlpha(w, h, fw::pf8bit);
    {
      HDC dc = scaledAlpha.Canvas().Handle();
      int mode = ::SetStretchBltMode(dc, HALFTONE);
      ::SetBrushOrgEx(dc, 0, 0, nullptr);
      ::StretchBlt(dc, 0, 0, w, h, alpha.Canvas().Handle(), 0, 0, Width(), Height(), SRCCOPY);
      ::SetStretchBltMode(dc, mode);
    }
    ::GdiFlush();
    CopyChannel(scaled.View(), GrayOf(scaledAlpha), 3, false);
    DrawAlphaPart(PixelRect{0, 0, w, h}, PixelRect{0, 0, w, h}, composed.View(), false, 0, NoColor, false, noParent,
                  scaled.View());
  }
  ::GdiFlush();
  ::BitBlt(canvas.Handle(), r.left, r.top, w, fullHeight, composed.Canvas().Handle(), 0, 0, SRCCOPY);
}

void RegisterPngGraphic() {
  fw::RegisterFileFormat("png", "Portable network graphics (skin engine)",
                         [] { return std::unique_ptr<fw::TGraphic>(new TPNGGraphic()); });
}

void UnregisterPngGraphic() { fw::UnregisterFileFormat("png"); }

void ClearTransparentWhite(fw::TBitmap& bitmap) { ClearTransparentWhite(bitmap.View()); }

fw::UniqueIcon MakeIcon32(fw::TBitmap& picture, bool makeMask) {
  const int w = picture.Width(), h = picture.Height();
  if (w <= 0 || h <= 0) return {};
  const bool was32 = picture.PixelFormat() == fw::pf32bit;
  fw::TBitmap color;
  color.Assign(picture);
  color.SetPixelFormat(fw::pf32bit);
  MaskBits mask(w, h);
  if (makeMask || !was32) {
    PixelView v = color.View();
    const std::uint32_t key = v.At(0, 0) & 0x00FFFFFFu;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if ((v.At(x, y) & 0x00FFFFFFu) == key) {
          // Black under a set mask bit leaves the screen as it is.
          v.At(x, y) = 0;
          mask.SetTransparent(x, y);
        }
  }
  return IconOf(mask, color);
}

fw::UniqueIcon MakeCompIcon(TPNGGraphic& picture, fw::TColor backColor) {
  const int w = picture.Width(), h = picture.Height();
  if (w <= 0 || h <= 0) return {};
  fw::TBitmap converted;
  PixelView source = picture.View();
  if (picture.PixelFormat() != fw::pf32bit) {
    converted.Assign(picture);
    converted.SetPixelFormat(fw::pf32bit);
    source = converted.View();
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        std::uint32_t& p = source.At(x, y);
        p = (p & 0x00FFFFFFu) == KeyPixel ? KeyPixel : (p | 0xFF000000u);
      }
  }
  fw::TColor back = fw::ColorToRGB(backColor);
  if (back == fw::clNone) back = fw::clBlack;
  fw::TBitmap out(w, h, fw::pf32bit);
  PixelView dest = out.View();
  const std::uint32_t backPixel = ExchangeRB(static_cast<std::uint32_t>(back)) | 0xFF000000u;
  for (int y = 0; y < h; ++y) std::fill_n(dest.Row(y), w, backPixel);
  DrawAlphaPart(PixelRect{0, 0, w, h}, PixelRect{0, 0, w, h}, dest, false, 0, NoColor, false, ParentPixels{}, source);
  MaskBits mask(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint32_t a = source.At(x, y) >> 24;
      dest.At(x, y) = (dest.At(x, y) & 0x00FFFFFFu) | (a << 24);
      if (a == 0) mask.SetTransparent(x, y);
    }
  return IconOf(mask, out);
}

}  // namespace translit
