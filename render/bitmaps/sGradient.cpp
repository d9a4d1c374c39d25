// Gradient painting on framework bitmaps.
#include "render/bitmaps/sGradient.h"

#include "render/bitmaps/sAlphaGraph.h"

namespace translit {

namespace {

using GradientFillProc = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// msimg32.dll is loaded once when the program starts and freed when it ends;
// without it the triangle mode paints nothing.
class GradientLibrary {
 public:
  GradientLibrary() : FModule(::LoadLibraryA("msimg32.dll")) {
    if (FModule)
      FGradientFill =
          reinterpret_cast<GradientFillProc>(reinterpret_cast<void*>(::GetProcAddress(FModule, "GradientFill")));
  }
  ~GradientLibrary() {
    if (FModule) ::FreeLibrary(FModule);
  }
  GradientLibrary(const GradientLibrary&) = delete;
  GradientLibrary& operator=(const GradientLibrary&) = delete;
  GradientFillProc Proc() const { return FGradientFill; }

 private:
  HMODULE FModule;
  GradientFillProc FGradientFill = nullptr;
};

const GradientLibrary gradientLibrary;

PixelRect ToPixelRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

void PaintTriangles(fw::TBitmap& bitmap, const RECT& rect, const TsGradArray& gradient) {
  const GradientFillProc gradientFill = gradientLibrary.Proc();
  if (!gradientFill) return;
  const PixelRect r = ClipGradientRect(ToPixelRect(rect), bitmap.Width(), bitmap.Height());
  if (r.Right <= r.Left) return;
  const auto vertices = GradientMeshVertices(r, gradient);
  TRIVERTEX v[5];
  for (std::size_t k = 0; k < vertices.size(); ++k) {
    v[k].x = vertices[k].X;
    v[k].y = vertices[k].Y;
    v[k].Red = vertices[k].Red;
    v[k].Green = vertices[k].Green;
    v[k].Blue = vertices[k].Blue;
    v[k].Alpha = vertices[k].Alpha;
  }
  GRADIENT_TRIANGLE triangles[4];
  for (std::size_t t = 0; t < GradientTriangles.size(); ++t)
    triangles[t] = {GradientTriangles[t][0], GradientTriangles[t][1], GradientTriangles[t][2]};
  gradientFill(bitmap.Canvas().Handle(), v, 5, triangles, 4, GRADIENT_FILL_TRIANGLE);
  ::GdiFlush();
}

}  // namespace

bool GradientFillAvailable() { return gradientLibrary.Proc() != nullptr; }

void PaintGradient(fw::TBitmap* bitmap, const RECT& rect, const TsGradArray& gradient) {
  if (!bitmap || gradient.empty()) return;
  if (gradient[0].Mode == gmTriangles) {
    if (bitmap->Width() > 0 && bitmap->Height() > 0) PaintTriangles(*bitmap, rect, gradient);
    return;
  }
  PaintGradient(ViewOf(bitmap), ToPixelRect(rect), gradient);
}

void PaintGradientOnTexture(fw::TBitmap* bitmap, const RECT& rect, const TsGradArray& gradient,
                            std::uint8_t textureShare, const RECT& textureRect, fw::TBitmap* texture) {
  PaintGradientOnTexture(ViewOf(bitmap), ToPixelRect(rect), gradient, textureShare, ToPixelRect(textureRect),
                         ViewOf(texture));
}

}  // namespace translit
