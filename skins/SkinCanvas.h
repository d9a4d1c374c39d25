// The drawing surface of the skin generator: a picture of premultiplied
// floating RGBA pixels, shapes given as signed distance functions (negative
// inside, in pixels) so that every edge is antialiased the same way, paints
// (solid colours and gradients), and the conversions into the three kinds of
// pixels a skin image holds: opaque, cut with the magenta key, or an image
// layer over a mask layer.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

namespace skingen {

// A straight colour, channels 0..255.
struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  constexpr bool operator==(const Rgb&) const = default;
};

// 0xRRGGBB, the way colours are written in this generator.
constexpr Rgb Hex(std::uint32_t v) {
  return Rgb{static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
}

// The platform's colour value of a skin file: 0x00BBGGRR.
constexpr std::int32_t ColorValue(Rgb c) { return c.r | c.g << 8 | c.b << 16; }

// The magenta key: pixels of this colour are holes in every skin image.
inline constexpr Rgb kKey{255, 0, 255};

// t = 0 gives a, t = 1 gives b.
Rgb Mix(Rgb a, Rgb b, double t);

// Premultiplied pixel, 0..1 per channel.
struct Pixel {
  float r = 0, g = 0, b = 0, a = 0;
};

// A shape: signed distance in pixels from a point, negative inside.
using Shape = std::function<double(double x, double y)>;
// A colour at a point.
using Paint = std::function<Rgb(double x, double y)>;

Shape RoundRect(double left, double top, double right, double bottom, double radius);
Shape Rect(double left, double top, double right, double bottom);
Shape Circle(double cx, double cy, double radius);
// A line segment with round ends, width w.
Shape Segment(double ax, double ay, double bx, double by, double w);
// A filled triangle.
Shape Triangle(double ax, double ay, double bx, double by, double cx, double cy);
Shape Union(Shape a, Shape b);
Shape Subtract(Shape a, Shape b);
// The band of width w just inside the shape's edge.
Shape InnerStroke(Shape s, double w);

Paint Solid(Rgb c);
// A vertical gradient from top (colour stops at fractions 0..1 of the range).
struct Stop {
  double at;
  Rgb color;
};
Paint VerticalStops(double top, double bottom, std::initializer_list<Stop> stops);
Paint HorizontalStops(double left, double right, std::initializer_list<Stop> stops);

class Canvas {
 public:
  Canvas() = default;
  Canvas(int width, int height);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  const Pixel& At(int x, int y) const { return FPixels[Index(x, y)]; }
  Pixel& At(int x, int y) { return FPixels[Index(x, y)]; }

  // Source-over of a straight colour with the given alpha.
  void Blend(int x, int y, Rgb c, double alpha);
  // Every pixel inside the shape, antialiased over one pixel at the edge.
  void Fill(const Shape& shape, const Paint& paint, double opacity = 1.0);
  void Fill(const Shape& shape, Rgb c, double opacity = 1.0) { Fill(shape, Solid(c), opacity); }
  // Copies another canvas at (dx, dy), replacing what is there.
  void Put(const Canvas& src, int dx, int dy);
  // A part of this canvas.
  Canvas Crop(int left, int top, int width, int height) const;
  // Blurs the alpha (and colour) with a box blur run three times, close to a
  // Gaussian of the given radius.
  void Blur(int radius);

  Canvas FlippedVertically() const;
  Canvas FlippedHorizontally() const;
  // Rows become columns: (x, y) goes to (y, x).
  Canvas Transposed() const;

  // Straight colour and alpha of a pixel, rounded to bytes.
  Rgb ColorAt(int x, int y) const;
  std::uint8_t AlphaAt(int x, int y) const;

 private:
  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * static_cast<std::size_t>(FWidth) + x; }
  int FWidth = 0;
  int FHeight = 0;
  std::vector<Pixel> FPixels;
};

// The pixels as they go into files: straight RGB bytes row by row, and the
// alpha when the file keeps it.
struct Image {
  int Width = 0;
  int Height = 0;
  bool HasAlpha = false;
  std::vector<std::uint8_t> Rgba;  // 4 bytes per pixel, alpha 255 when !HasAlpha

  Image() = default;
  Image(int width, int height, bool hasAlpha);
  Rgb ColorAt(int x, int y) const;
  std::uint8_t AlphaAt(int x, int y) const;
  void Set(int x, int y, Rgb c, std::uint8_t alpha = 255);
  // Copies another image at (dx, dy).
  void Put(const Image& src, int dx, int dy);
};

// Opaque pixels: the canvas over a matte colour.
Image Flatten(const Canvas& c, Rgb matte);
// Straight colour and alpha as drawn (shadows and other layered-window
// pictures).
Image WithAlpha(const Canvas& c);
// The colour key cut: pixels at most half covered become magenta, the others
// are put over the matte colour the piece is expected to lie on.
Image KeyCut(const Canvas& c, Rgb matte);
// An image layer with its mask layer below it, as skin pieces with one extra
// layer hold them. Mask bytes are how much of what lies underneath shows
// through (255 - alpha); uncovered pixels are magenta in the image layer so
// that painters take them from the parent's background.
Image Layered(const Canvas& c);
// The same for a frame with a face of its own: uncovered pixels inside the
// outline keep the face (the given colour, wholly see-through in the mask)
// instead of letting the parent through; only those outside stay magenta.
Image Layered(const Canvas& c, const Shape& outline, Rgb face);

}  // namespace skingen
