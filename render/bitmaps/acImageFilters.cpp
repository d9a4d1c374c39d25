// Blur and resampling of framework bitmaps.
#include "render/bitmaps/acImageFilters.h"

#include "framework/core/SysUtils.h"
#include "render/bitmaps/sAlphaGraph.h"

namespace translit {

void BlurGray8(fw::TBitmap* bitmap, double sigma) { BlurGray8(GrayOf(bitmap), sigma); }

void Resample(fw::TBitmap* source, fw::TBitmap* dest, int newWidth, int filter, int newHeight) {
  if (newHeight == 0 || !source || !dest) return;
  if (source->Width() < 2 || source->Height() < 2) throw fw::Exception("Source bitmap is too small");
  // Negative sizes have no pictures to make.
  if (newWidth < 0 || newHeight < 0) return;
  if (newWidth == source->Width() && newHeight == source->Height()) {
    if (dest != source) dest->Assign(*source);
    return;
  }
  const fw::TPixelFormat format = source->PixelFormat() == fw::pf32bit ? fw::pf32bit : fw::pf24bit;
  source->SetPixelFormat(format);
  source->SetHandleType(fw::bmDIB);
  // Scaling a bitmap into itself reads from a copy of the original.
  std::unique_ptr<fw::TBitmap> copy;
  if (dest == source) {
    copy = NewBitmapLike(*source);
    copy->Assign(*source);
    source = copy.get();
  }
  dest->SetPixelFormat(format);
  dest->SetHandleType(fw::bmDIB);
  dest->SetSize(newWidth, newHeight);
  if (newWidth == 0) return;
  Resample(BytesOf(source), BytesOf(dest), filter);
}

}  // namespace translit
