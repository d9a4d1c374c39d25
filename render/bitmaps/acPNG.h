// TPNGGraphic: a framework bitmap that loads itself from PNG data, so that a
// decoded picture is at once a bitmap the engine reads row by row. Drawing a
// 32-bit picture composes it through its alpha channel (optionally with a
// reflection below it); the icon makers turn pictures into icon handles.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/Graphics.h"
#include "render/pixels/PngDecoder.h"

namespace translit {

class TPNGGraphic : public fw::TBitmap {
 public:
  TPNGGraphic() = default;

  // Reads one PNG from the stream's position. Decoding errors raise
  // fw::EInvalidGraphic (or EGraphicCompression, EColorConversionError, the
  // stream's read error); the bitmap's content is then undefined.
  void LoadFromStream(fw::TStream& stream) override;
  // A PNG stored as a resource of the given type (RCDATA unless told).
  void LoadFromResourceName(HINSTANCE instance, const char* name, const char* type = MAKEINTRESOURCEA(10));

  // A 32-bit picture is composed onto what the canvas shows; others are
  // drawn as bitmaps, the tRNS colour keyed out when there was one.
  void Draw(fw::TCanvas& canvas, const RECT& r) override;

  bool Reflected() const { return FReflected; }
  void SetReflected(bool v) { FReflected = v; }

  const PngImageProperties& ImageProperties() const { return FProperties; }
  std::uint32_t BackgroundColor() const { return FBackgroundColor; }
  std::uint32_t TransparentColor() const { return FTransparentColor; }

  // The loading's progress: "Preparing..." until the image data starts, then
  // "Transfering...", and an end report in every case.
  PngDecoder::ProgressEvent OnProgress;

 private:
  PngImageProperties FProperties;
  std::uint32_t FBackgroundColor = 0xFFFFFF;
  std::uint32_t FTransparentColor = 0x1FFFFFFF;
  bool FReflected = false;
};

// Makes "png" known to the framework's picture formats as
// "Portable network graphics (skin engine)", loaded by TPNGGraphic. Called
// where it is certain to run (the program's start, the skin engine's first
// use): a registering static object would be dropped with its unit by the
// linker when nothing else of the unit is used. Repeated calls do no harm.
void RegisterPngGraphic();
void UnregisterPngGraphic();

// White that a PNG marks fully transparent becomes transparent black in a
// 32-bit bitmap (after a decoded picture was assigned to it); bitmaps of
// other formats are left alone.
void ClearTransparentWhite(fw::TBitmap& bitmap);

// An icon from a picture. With makeMask, or when the picture is not 32-bit,
// the pixels equal to the top-left one are transparent in the 1-bit mask;
// a 32-bit picture without makeMask keeps an all-opaque mask and its alpha.
fw::UniqueIcon MakeIcon32(fw::TBitmap& picture, bool makeMask);

// An icon of the picture drawn over backColor: the colour is the picture
// composed over the background, and pixels of alpha 0 (0x00FF00FF ones in a
// picture that is not 32-bit) are transparent in the mask.
fw::UniqueIcon MakeCompIcon(TPNGGraphic& picture, fw::TColor backColor);

}  // namespace translit
