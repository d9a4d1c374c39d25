// Drawing for the skin generator.
#include "skins/SkinCanvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace skingen {

namespace {

std::uint8_t ToByte(double v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

double Length(double x, double y) { return std::sqrt(x * x + y * y); }

Rgb AlongStops(double t, const std::vector<Stop>& stops) {
  if (t <= stops.front().at) return stops.front().color;
  for (std::size_t i = 1; i < stops.size(); ++i)
    if (t <= stops[i].at) {
      double span = stops[i].at - stops[i - 1].at;
      return Mix(stops[i - 1].color, stops[i].color, span <= 0 ? 1.0 : (t - stops[i - 1].at) / span);
    }
  return stops.back().color;
}

// One pass of a horizontal box blur of the given radius over every channel.
void BoxBlurRows(std::vector<Pixel>& px, int w, int h, int radius) {
  std::vector<Pixel> row(static_cast<std::size_t>(w));
  const float n = static_cast<float>(2 * radius + 1);
  for (int y = 0; y < h; ++y) {
    Pixel* line = px.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
    for (int x = 0; x < w; ++x) {
      Pixel sum;
      for (int k = -radius; k <= radius; ++k) {
        int xx = x + k;
        if (xx < 0 || xx >= w) continue;  // outside is transparent
        sum.r += line[xx].r;
        sum.g += line[xx].g;
        sum.b += line[xx].b;
        sum.a += line[xx].a;
      }
      row[static_cast<std::size_t>(x)] = Pixel{sum.r / n, sum.g / n, sum.b / n, sum.a / n};
    }
    std::copy(row.begin(), row.end(), line);
  }
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return Rgb{ToByte(a.r + (b.r - a.r) * t), ToByte(a.g + (b.g - a.g) * t), ToByte(a.b + (b.b - a.b) * t)};
}

Shape RoundRect(double left, double top, double right, double bottom, double radius) {
  const double cx = (left + right) / 2, cy = (top + bottom) / 2;
  const double hx = (right - left) / 2, hy = (bottom - top) / 2;
  radius = std::min({radius, hx, hy});
  return [=](double x, double y) {
    double qx = std::abs(x - cx) - hx + radius;
    double qy = std::abs(y - cy) - hy + radius;
    return Length(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
  };
}

Shape Rect(double left, double top, double right, double bottom) { return RoundRect(left, top, right, bottom, 0); }

Shape Circle(double cx, double cy, double radius) {
  return [=](double x, double y) { return Length(x - cx, y - cy) - radius; };
}

Shape Segment(double ax, double ay, double bx, double by, double w) {
  return [=](double x, double y) {
    double px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0, 1.0) : 0.0;
    return Length(px - dx * t, py - dy * t) - w / 2;
  };
}

Shape Triangle(double ax, double ay, double bx, double by, double cx, double cy) {
  // Distance to the nearest edge, negative when the point is on the inner
  // side of all three (either winding).
  const double area = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
  const double sign = area < 0 ? -1.0 : 1.0;
  auto edge = [sign](double x0, double y0, double x1, double y1, double x, double y) {
    double dx = x1 - x0, dy = y1 - y0;
    return sign * ((x - x0) * dy - (y - y0) * dx) / Length(dx, dy);
  };
  return [=](double x, double y) {
    return std::max({edge(ax, ay, bx, by, x, y), edge(bx, by, cx, cy, x, y), edge(cx, cy, ax, ay, x, y)});
  };
}

Shape Union(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return std::min(a(x, y), b(x, y)); };
}

Shape Subtract(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return std::max(a(x, y), -b(x, y)); };
}

Shape InnerStroke(Shape s, double w) {
  return [s = std::move(s), w](double x, double y) {
    double d = s(x, y);
    return std::max(d, -(d + w));
  };
}

Paint Solid(Rgb c) {
  return [c](double, double) { return c; };
}

Paint VerticalStops(double top, double bottom, std::initializer_list<Stop> stops) {
  std::vector<Stop> s(stops);
  return [=](double, double y) { return AlongStops((y - top) / std::max(bottom - top, 1e-9), s); };
}

Paint HorizontalStops(double left, double right, std::initializer_list<Stop> stops) {
  std::vector<Stop> s(stops);
  return [=](double x, double) { return AlongStops((x - left) / std::max(right - left, 1e-9), s); };
}

Canvas::Canvas(int width, int height) : FWidth(width), FHeight(height) {
  if (width < 0 || height < 0) throw std::invalid_argument("negative canvas size");
  FPixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
}

void Canvas::Blend(int x, int y, Rgb c, double alpha) {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight || alpha <= 0) return;
  const float a = static_cast<float>(std::min(alpha, 1.0));
  Pixel& d = FPixels[Index(x, y)];
  d.r = c.r / 255.0f * a + d.r * (1 - a);
  d.g = c.g / 255.0f * a + d.g * (1 - a);
  d.b = c.b / 255.0f * a + d.b * (1 - a);
  d.a = a + d.a * (1 - a);
}

void Canvas::Fill(const Shape& shape, const Paint& paint, double opacity) {
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double coverage = std::clamp(0.5 - shape(px, py), 0.0, 1.0);
      if (coverage > 0) Blend(x, y, paint(px, py), coverage * opacity);
    }
}

void Canvas::Put(const Canvas& src, int dx, int dy) {
  for (int y = 0; y < src.FHeight; ++y)
    for (int x = 0; x < src.FWidth; ++x) {
      int tx = x + dx, ty = y + dy;
      if (tx >= 0 && ty >= 0 && tx < FWidth && ty < FHeight) At(tx, ty) = src.At(x, y);
    }
}

Canvas Canvas::Crop(int left, int top, int width, int height) const {
  Canvas c(width, height);
  c.Put(*this, -left, -top);
  return c;
}

void Canvas::Blur(int radius) {
  if (radius <= 0) return;
  for (int pass = 0; pass < 3; ++pass) BoxBlurRows(FPixels, FWidth, FHeight, radius);
  Canvas t = Transposed();
  for (int pass = 0; pass < 3; ++pass) BoxBlurRows(t.FPixels, t.FWidth, t.FHeight, radius);
  *this = t.Transposed();
}

Canvas Canvas::FlippedVertically() const {
  Canvas c(FWidth, FHeight);
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) c.At(x, FHeight - 1 - y) = At(x, y);
  return c;
}

Canvas Canvas::FlippedHorizontally() const {
  Canvas c(FWidth, FHeight);
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) c.At(FWidth - 1 - x, y) = At(x, y);
  return c;
}

Canvas Canvas::Transposed() const {
  Canvas c(FHeight, FWidth);
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) c.At(y, x) = At(x, y);
  return c;
}

Rgb Canvas::ColorAt(int x, int y) const {
  const Pixel& p = At(x, y);
  if (p.a <= 0) return Rgb{};
  return Rgb{ToByte(p.r / p.a * 255), ToByte(p.g / p.a * 255), ToByte(p.b / p.a * 255)};
}

std::uint8_t Canvas::AlphaAt(int x, int y) const { return ToByte(At(x, y).a * 255); }

Image::Image(int width, int height, bool hasAlpha)
    : Width(width),
      Height(height),
      HasAlpha(hasAlpha),
      Rgba(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0) {
  if (!hasAlpha)
    for (std::size_t i = 3; i < Rgba.size(); i += 4) Rgba[i] = 255;
}

Rgb Image::ColorAt(int x, int y) const {
  const std::uint8_t* p = &Rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + x) * 4];
  return Rgb{p[0], p[1], p[2]};
}

std::uint8_t Image::AlphaAt(int x, int y) const {
  return Rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + x) * 4 + 3];
}

void Image::Set(int x, int y, Rgb c, std::uint8_t alpha) {
  std::uint8_t* p = &Rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + x) * 4];
  p[0] = c.r;
  p[1] = c.g;
  p[2] = c.b;
  p[3] = HasAlpha ? alpha : 255;
}

void Image::Put(const Image& src, int dx, int dy) {
  for (int y = 0; y < src.Height; ++y)
    for (int x = 0; x < src.Width; ++x) {
      int tx = x + dx, ty = y + dy;
      if (tx >= 0 && ty >= 0 && tx < Width && ty < Height) Set(tx, ty, src.ColorAt(x, y), src.AlphaAt(x, y));
    }
}

namespace {

Rgb Over(const Pixel& p, Rgb matte) {
  return Rgb{ToByte(p.r * 255 + matte.r * (1 - p.a)), ToByte(p.g * 255 + matte.g * (1 - p.a)),
             ToByte(p.b * 255 + matte.b * (1 - p.a))};
}

// A drawn colour must never read as the key by accident.
Rgb NotKey(Rgb c) {
  if (c == kKey) c.b = 254;
  return c;
}

}  // namespace

Image Flatten(const Canvas& c, Rgb matte) {
  Image out(c.Width(), c.Height(), false);
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) out.Set(x, y, NotKey(Over(c.At(x, y), matte)));
  return out;
}

Image WithAlpha(const Canvas& c) {
  Image out(c.Width(), c.Height(), true);
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) out.Set(x, y, c.ColorAt(x, y), c.AlphaAt(x, y));
  return out;
}

Image KeyCut(const Canvas& c, Rgb matte) {
  Image out(c.Width(), c.Height(), false);
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) {
      const Pixel& p = c.At(x, y);
      out.Set(x, y, p.a <= 0.5f ? kKey : NotKey(Over(p, matte)));
    }
  return out;
}

Image Layered(const Canvas& c) {
  return Layered(
      c, [](double, double) { return 1.0; }, kKey);
}

Image Layered(const Canvas& c, const Shape& outline, Rgb face) {
  const int h = c.Height();
  Image out(c.Width(), 2 * h, false);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < c.Width(); ++x) {
      const std::uint8_t a = c.AlphaAt(x, y);
      // A pixel whose centre lies inside the outline belongs to the face.
      const bool inside = outline(x + 0.5, y + 0.5) < 0;
      out.Set(x, y, a != 0 ? NotKey(c.ColorAt(x, y)) : inside ? NotKey(face) : kKey);
      const std::uint8_t m = static_cast<std::uint8_t>(255 - a);
      out.Set(x, y + h, Rgb{m, m, m});
    }
  return out;
}

}  // namespace skingen
