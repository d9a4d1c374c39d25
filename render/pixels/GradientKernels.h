// Colour gradients of skin sections: the gradient text and its parser, and
// the painting of vertical and horizontal gradients (alone or mixed with a
// tiled texture) into views of 32-bit rows. The triangle mesh is drawn by the
// platform; this unit only computes its vertices. Portable.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "render/pixels/AlphaKernels.h"

namespace translit {

// One stop of a gradient. Only the first stop's Mode is used.
struct TsGradient {
  std::uint32_t Color1 = 0;  // colour at the stop's start (0x00BBGGRR)
  std::uint32_t Color2 = 0;  // colour at its end
  std::uint8_t Percent = 0;  // share of the gradient's length, 0..100
  std::int32_t Mode = 0;     // 0 vertical, 1 horizontal, 2 triangle mesh
  std::int32_t Reserved = 0;
};

using TsGradArray = std::vector<TsGradient>;

enum : std::int32_t { gmVertical = 0, gmHorizontal = 1, gmTriangles = 2 };

// Words separated by semicolons (empty words do not count), five per stop:
// Color1; Color2; Percent; Mode; (unused). A trailing incomplete group is
// ignored. Words are read as the framework reads integers (optional leading
// blanks and sign, decimal or "$"/"0x" hexadecimal); a word that is not one
// raises fw::EConvertError "'<word>' is not a valid integer value".
TsGradArray ParseGradient(std::string_view text);

// Paints the vertical or horizontal gradient into rect (clipped to the
// picture) with alpha 255; other modes and an empty array paint nothing.
void PaintGradient(const PixelView& bitmap, PixelRect rect, const TsGradArray& gradient);

// The same mixed with a texture tiled from the picture's origin; textureShare
// (0..255) is the texture's weight, an empty textureRect means the whole
// texture.
void PaintGradientOnTexture(const PixelView& bitmap, PixelRect rect, const TsGradArray& gradient,
                            std::uint8_t textureShare, PixelRect textureRect, const PixelView& texture);

// The triangle mesh: five vertices (corners and centre of the rectangle) with
// 16-bit channels, and the four triangles between them.
struct GradientVertex {
  int X = 0;
  int Y = 0;
  std::uint16_t Red = 0;
  std::uint16_t Green = 0;
  std::uint16_t Blue = 0;
  std::uint16_t Alpha = 0;
};

inline constexpr std::array<std::array<std::uint32_t, 3>, 4> GradientTriangles{
    {{0, 1, 2}, {1, 2, 3}, {0, 1, 4}, {4, 1, 3}}};

// The rectangle a gradient is painted into, clipped to a picture of the given
// size; empty when there is nothing to paint.
PixelRect ClipGradientRect(PixelRect rect, int width, int height);

// Vertex k takes Color1 of stop k, or the previous vertex's colour when the
// array is shorter. rect is already clipped.
std::array<GradientVertex, 5> GradientMeshVertices(PixelRect rect, const TsGradArray& gradient);

}  // namespace translit
