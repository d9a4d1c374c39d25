// The per-pixel operations of the bitmap layer, on views of rows.
#include "render/pixels/AlphaKernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "render/pixels/PixelKernels.h"

namespace translit {

namespace {

// Rounds to nearest, halves to even, and keeps the result a byte.
std::uint32_t RoundByte(double v) {
  if (!(v > 0)) return 0;  // also NaN
  if (v >= 255) return 255;
  // lrint rounds in the default mode, to nearest with halves to even.
  return static_cast<std::uint32_t>(std::lrint(v));
}

constexpr std::uint32_t WithAlpha(std::uint32_t pixel, std::uint32_t alpha) {
  return (pixel & 0x00FFFFFFu) | (alpha << 24);
}

constexpr std::uint32_t GreyOf(std::uint32_t pixel) {
  return (ChannelOf(pixel, 0) + ChannelOf(pixel, 1) + ChannelOf(pixel, 2)) / 3;
}

constexpr bool IsGrey(std::uint32_t pixel) {
  return ChannelOf(pixel, 2) == ChannelOf(pixel, 1) && ChannelOf(pixel, 2) == ChannelOf(pixel, 0);
}

constexpr std::uint32_t PackBGR(std::uint32_t b, std::uint32_t g, std::uint32_t r, std::uint32_t top) {
  return b | (g << 8) | (r << 16) | (top << 24);
}

// The colour bytes of d moved toward s by level/256: ((s - d) * level + 256 d) >> 8.
constexpr std::uint32_t BlendLevel(std::uint32_t d, std::uint32_t s, std::uint32_t level) {
  std::uint32_t out = d & 0xFF000000u;
  for (int b = 0; b < 24; b += 8) {
    std::uint32_t dc = (d >> b) & 0xFF;
    std::uint32_t sc = (s >> b) & 0xFF;
    out |= ((dc * (256 - level) + sc * level) >> 8) << b;
  }
  return out;
}

// The rectangle limited to the picture; empty when nothing is left.
PixelRect ClipTo(PixelRect r, int width, int height) {
  r.Left = std::max(r.Left, 0);
  r.Top = std::max(r.Top, 0);
  r.Right = std::min(r.Right, width);
  r.Bottom = std::min(r.Bottom, height);
  return r;
}

int SaturatedInt(long long v) {
  return static_cast<int>(std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

bool IsEmpty(const PixelRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }

// The common part of a destination and a source rectangle that lies in both
// pictures: negative Left or Top of either moves both, and the counts are the
// smallest of the rectangles' sizes and the room left in each picture.
struct PairClip {
  int destX, destY, sourceX, sourceY, columns, rows;
};

bool ClipPair(PixelRect destRect, PixelRect sourceRect, const PixelView& dest, const PixelView& source, PairClip& out) {
  long long columns = std::min<long long>(static_cast<long long>(destRect.Right) - destRect.Left,
                                          static_cast<long long>(sourceRect.Right) - sourceRect.Left);
  long long rows = std::min<long long>(static_cast<long long>(destRect.Bottom) - destRect.Top,
                                       static_cast<long long>(sourceRect.Bottom) - sourceRect.Top);
  long long kx =
      std::max<long long>({0, -static_cast<long long>(destRect.Left), -static_cast<long long>(sourceRect.Left)});
  long long ky =
      std::max<long long>({0, -static_cast<long long>(destRect.Top), -static_cast<long long>(sourceRect.Top)});
  long long dx = destRect.Left + kx, sx = sourceRect.Left + kx;
  long long dy = destRect.Top + ky, sy = sourceRect.Top + ky;
  columns = std::min({columns - kx, dest.width - dx, source.width - sx});
  rows = std::min({rows - ky, dest.height - dy, source.height - sy});
  if (columns <= 0 || rows <= 0) return false;
  out = {static_cast<int>(dx), static_cast<int>(dy),      static_cast<int>(sx),
         static_cast<int>(sy), static_cast<int>(columns), static_cast<int>(rows)};
  return true;
}

// The pixel of the parent's picture behind a destination pixel, if it has one.
bool ParentPixelAt(const ParentPixels& parent, int destX, int destY, std::uint32_t& pixel) {
  if (parent.Bitmap.Empty()) return false;
  long long px = static_cast<long long>(parent.X) + destX;
  long long py = static_cast<long long>(parent.Y) + destY;
  if (px < 0 || py < 0 || px >= parent.Bitmap.width || py >= parent.Bitmap.height) return false;
  pixel = parent.Bitmap.At(static_cast<int>(px), static_cast<int>(py));
  return true;
}

// The inclusive rectangle limited to the picture's last row and column.
PixelRect ClipInclusive(PixelRect r, int width, int height) {
  r.Left = std::max(r.Left, 0);
  r.Top = std::max(r.Top, 0);
  r.Right = std::min(r.Right, width - 1);
  r.Bottom = std::min(r.Bottom, height - 1);
  return r;
}

// Destination columns of a keyed copy row: those left of the picture are
// passed over together with their source columns, the row ends at the
// picture's right edge.
struct RowSpan {
  int destX, sourceX, count;
};

RowSpan SpanFrom(int destX, int sourceX, int count, int destWidth) {
  if (destX < 0) {
    long long skip = -static_cast<long long>(destX);
    if (skip >= count) return {0, 0, 0};
    sourceX += static_cast<int>(skip);
    count -= static_cast<int>(skip);
    destX = 0;
  }
  count = std::min(count, destWidth - destX);
  return {destX, sourceX, std::max(count, 0)};
}

}  // namespace

std::uint32_t BlendColor(std::uint32_t a, std::uint32_t b, double weightA) {
  std::uint32_t out = a & 0xFF000000u;
  for (int i = 0; i < 3; ++i) {
    double v = weightA * ChannelOf(a, i) + (1 - weightA) * ChannelOf(b, i);
    out |= RoundByte(v) << (8 * i);
  }
  return out;
}

std::uint32_t ShiftHue(std::uint32_t pixel, int degrees) {
  const int red = static_cast<int>(ChannelOf(pixel, 2));
  const int green = static_cast<int>(ChannelOf(pixel, 1));
  const int blue = static_cast<int>(ChannelOf(pixel, 0));
  const int maxValue = std::max({red, green, blue});
  const int delta = maxValue - std::min({red, green, blue});
  if (maxValue == 0 || delta == 0) return pixel;
  const double s = static_cast<double>(delta) / maxValue;
  const double k = 60.0 / delta;
  double h;
  if (red == maxValue) {
    h = k * (green - blue);
  } else if (green == maxValue) {
    h = 120 + k * (blue - red);
  } else {
    h = 240 + k * (red - green);
  }
  if (h < 0) h += 360;
  // The sum is brought into 0..359 also when it is negative: a negative
  // remainder would fall into no sector and turn colours to magenta.
  long long shifted = static_cast<long long>(std::nearbyint(h + degrees)) % 360;
  if (shifted < 0) shifted += 360;
  const double r = static_cast<double>(shifted) / 60;
  const int sector = static_cast<int>(r);
  const double f = r - sector;
  const double v = maxValue;
  const double p = std::clamp(v * (1 - s), 0.0, 255.0);
  const double q = std::clamp(v * (1 - f * s), 0.0, 255.0);
  const double t = std::clamp(v * (1 - (1 - f) * s), 0.0, 255.0);
  double rr, gg, bb;
  switch (sector) {
    case 0:
      rr = v;
      gg = t;
      bb = p;
      break;
    case 1:
      rr = q;
      gg = v;
      bb = p;
      break;
    case 2:
      rr = p;
      gg = v;
      bb = t;
      break;
    case 3:
      rr = p;
      gg = q;
      bb = v;
      break;
    case 4:
      rr = t;
      gg = p;
      bb = v;
      break;
    default:
      rr = v;
      gg = p;
      bb = q;
      break;
  }
  return PackBGR(RoundByte(bb), RoundByte(gg), RoundByte(rr), pixel >> 24);
}

std::uint32_t ShiftHueRGB(std::uint32_t color, int degrees) {
  if (degrees == 0) return color;
  return ExchangeRB(ShiftHue(ExchangeRB(color), degrees));
}

std::uint32_t ScaleSaturation(std::uint32_t value, int amount) {
  if (amount == 0) return value;
  const double mean = (static_cast<double>(ChannelOf(value, 0)) + ChannelOf(value, 1) + ChannelOf(value, 2)) / 3;
  std::uint32_t out = value & 0xFF000000u;
  for (int i = 0; i < 3; ++i) {
    double x = ChannelOf(value, i);
    out |= RoundByte(x - (mean - x) * amount / 100) << (8 * i);
  }
  return out;
}

void FillBitmapRect(const PixelView& bitmap, PixelRect rect, std::uint32_t color) {
  if (bitmap.Empty()) return;
  const std::uint32_t pixel = ExchangeRB(color) | 0xFF000000u;
  if (bitmap.height == 1) {
    // One row high: no row stride to take, so the row is written directly.
    if (rect.Top > 0 || rect.Bottom <= 0) return;
    rect.Top = 0;
    rect.Bottom = 1;
  } else if (bitmap.width < 2) {
    return;
  }
  rect = ClipTo(rect, bitmap.width, bitmap.height);
  if (IsEmpty(rect)) return;
  for (int y = rect.Top; y < rect.Bottom; ++y)
    kernels::FillRow(bitmap.Row(y) + rect.Left, rect.Right - rect.Left, pixel);
}

void TintRect(const PixelView& bitmap, PixelRect rect, int percent, std::uint32_t color) {
  if (bitmap.Empty()) return;
  rect = ClipInclusive(rect, bitmap.width, bitmap.height);
  if (rect.Right < rect.Left || rect.Bottom < rect.Top) return;
  const std::uint32_t pixelColor = ExchangeRB(color);
  const int count = rect.Right - rect.Left + 1;
  if (percent >= 0 && percent <= 100) {
    for (int y = rect.Top; y <= rect.Bottom; ++y)
      kernels::TintRow(bitmap.Row(y) + rect.Left, count, percent, pixelColor);
    return;
  }
  const double w = percent / 100.0;
  for (int y = rect.Top; y <= rect.Bottom; ++y) {
    std::uint32_t* row = bitmap.Row(y) + rect.Left;
    for (int i = 0; i < count; ++i) {
      std::uint32_t out = row[i] & 0xFF000000u;
      for (int c = 0; c < 3; ++c)
        out |= RoundByte(w * ChannelOf(row[i], c) + (1 - w) * ChannelOf(pixelColor, c)) << (8 * c);
      row[i] = out;
    }
  }
}

void SetRectAlpha(const PixelView& bitmap, PixelRect rect, std::uint8_t alpha, bool skipKey) {
  if (bitmap.Empty()) return;
  rect = ClipTo(rect, bitmap.width, bitmap.height);
  for (int y = rect.Top; y < rect.Bottom; ++y) {
    std::uint32_t* row = bitmap.Row(y);
    for (int x = rect.Left; x < rect.Right; ++x) {
      if (skipKey && row[x] == KeyPixel) continue;
      row[x] = WithAlpha(row[x], alpha);
    }
  }
}

void GrayBitmap(const PixelView& bitmap) {
  if (bitmap.Empty()) return;
  for (int y = 0; y < bitmap.height; ++y) {
    std::uint32_t* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.width; ++x) {
      std::uint32_t g = GreyOf(row[x]);
      row[x] = PackBGR(g, g, g, row[x] >> 24);
    }
  }
}

void GrayBitmapKeyed(const PixelView& bitmap, std::uint32_t key) {
  if (bitmap.Empty()) return;
  for (int y = 0; y < bitmap.height; ++y) {
    std::uint32_t* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.width; ++x) {
      if (row[x] == key) continue;
      std::uint32_t g = GreyOf(row[x]);
      row[x] = PackBGR(g, g, g, row[x] >> 24);
    }
  }
}

namespace {

// Applies a colour function to every pixel that is neither the key nor grey;
// pictures hold long runs of one colour, so the last result is kept.
template <typename F>
void RecolourBitmap(const PixelView& bitmap, F recolour) {
  if (bitmap.Empty()) return;
  std::uint32_t lastIn = 0, lastOut = 0;
  bool haveLast = false;
  for (int y = 0; y < bitmap.height; ++y) {
    std::uint32_t* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.width; ++x) {
      std::uint32_t v = row[x];
      if (v == KeyPixel || IsGrey(v)) continue;
      if (!haveLast || v != lastIn) {
        lastIn = v;
        lastOut = recolour(v);
        haveLast = true;
      }
      row[x] = lastOut;
    }
  }
}

}  // namespace

void ShiftBitmapHue(const PixelView& bitmap, int degrees) {
  RecolourBitmap(bitmap, [degrees](std::uint32_t v) { return ShiftHue(v, degrees); });
}

void ScaleBitmapSaturation(const PixelView& bitmap, int amount) {
  RecolourBitmap(bitmap, [amount](std::uint32_t v) { return ScaleSaturation(v, amount); });
}

void TintToward(const PixelView& bitmap, std::uint32_t color, double factor) {
  if (bitmap.Empty()) return;
  const std::uint32_t pixelColor = ExchangeRB(color);
  for (int y = 0; y < bitmap.height; ++y) {
    std::uint32_t* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.width; ++x) {
      std::uint32_t v = row[x];
      if (v == KeyPixel) continue;
      std::uint32_t out = v & 0xFF000000u;
      for (int c = 0; c < 3; ++c) {
        double cc = ChannelOf(pixelColor, c);
        out |= RoundByte(factor * (static_cast<double>(ChannelOf(v, c)) - cc) + cc) << (8 * c);
      }
      row[x] = out;
    }
  }
}

void MixRect(const PixelView& dest, PixelRect destRect, const PixelView& source, PixelPoint sourceTopLeft,
             std::uint8_t alpha) {
  if (dest.Empty() || source.Empty()) return;
  const long long w = static_cast<long long>(destRect.Right) - destRect.Left;
  const long long h = static_cast<long long>(destRect.Bottom) - destRect.Top;
  if (w <= 0 || h <= 0) return;
  const PixelRect sourceRect{sourceTopLeft.X, sourceTopLeft.Y, SaturatedInt(sourceTopLeft.X + w),
                             SaturatedInt(sourceTopLeft.Y + h)};
  PairClip c;
  if (!ClipPair(destRect, sourceRect, dest, source, c)) return;
  for (int i = 0; i < c.rows; ++i)
    kernels::MixRow(dest.Row(c.destY + i) + c.destX, source.Row(c.sourceY + i) + c.sourceX, c.columns, alpha);
}

void MixBitmaps(const PixelView& dest, const PixelView& source, std::uint8_t alpha) {
  if (dest.Empty() || source.Empty()) return;
  if (dest.width != source.width || dest.height != source.height) return;
  if (dest.width < 2 || dest.height < 2) return;
  MixRect(dest, {0, 0, dest.width, dest.height}, source, {0, 0}, alpha);
}

void MixBitmapsAt(const PixelView& dest, const PixelView& source, std::uint8_t alpha, PixelPoint destPoint,
                  PixelRect sourceRect) {
  if (dest.Empty() || source.Empty()) return;
  long long x = destPoint.X, y = destPoint.Y;
  long long left = sourceRect.Left, top = sourceRect.Top;
  long long right = sourceRect.Right, bottom = sourceRect.Bottom;
  if (x < 0) {
    left -= x;
    x = 0;
  }
  if (y < 0) {
    top -= y;
    y = 0;
  }
  if (left < 0) {
    x -= left;
    left = 0;
  }
  if (top < 0) {
    y -= top;
    top = 0;
  }
  if (right <= left || bottom <= top) return;
  if (x >= dest.width || y >= dest.height || left >= source.width || top >= source.height) return;
  right = std::min<long long>(right, source.width);
  bottom = std::min<long long>(bottom, source.height);
  long long w = std::min(right - left, dest.width - x);
  long long h = std::min(bottom - top, dest.height - y);
  if (w <= 0 || h <= 0) return;
  // The pair is bound like any other: both at least two pixels each way.
  if (dest.width < 2 || dest.height < 2 || source.width < 2 || source.height < 2) return;
  MixRect(dest, {int(x), int(y), int(x + w), int(y + h)}, source, {int(left), int(top)}, alpha);
}

void BlendRectOnto(const PixelView& dest, int x, int y, std::uint32_t key, double weight, PixelRect sourceRect,
                   const PixelView& source) {
  if (dest.Empty() || source.Empty()) return;
  long long shiftX = 0, shiftY = 0;
  if (sourceRect.Top < 0) {
    shiftY = -static_cast<long long>(sourceRect.Top);
    sourceRect.Top = 0;
  }
  if (sourceRect.Left < 0) {
    shiftX = -static_cast<long long>(sourceRect.Left);
    sourceRect.Left = 0;
  }
  sourceRect.Bottom = std::min(sourceRect.Bottom, source.height - 1);
  sourceRect.Right = std::min(sourceRect.Right, source.width - 1);
  if (sourceRect.Right < sourceRect.Left || sourceRect.Bottom < sourceRect.Top) return;
  const int count = sourceRect.Right - sourceRect.Left + 1;
  for (int sy = sourceRect.Top; sy <= sourceRect.Bottom; ++sy) {
    long long dy = y + static_cast<long long>(sy - sourceRect.Top) + shiftY;
    if (dy > dest.height - 1) break;
    if (dy < 0) continue;
    const long long startX = x + shiftX;
    if (startX >= dest.width || startX + count <= 0) break;
    RowSpan span = SpanFrom(static_cast<int>(startX), sourceRect.Left, count, dest.width);
    const std::uint32_t* s = source.Row(sy) + span.sourceX;
    std::uint32_t* d = dest.Row(static_cast<int>(dy)) + span.destX;
    for (int i = 0; i < span.count; ++i) {
      if (s[i] == key) continue;
      std::uint32_t out = d[i] & 0xFF000000u;
      for (int c = 0; c < 3; ++c) {
        double sc = ChannelOf(s[i], c);
        out |= RoundByte(sc - (sc - ChannelOf(d[i], c)) * weight) << (8 * c);
      }
      d[i] = out;
    }
  }
}

void ComposeAlpha(PixelRect destRect, PixelRect sourceRect, const PixelView& dest, bool fromParent,
                  const ParentPixels& parent, const PixelView& source) {
  if (dest.Empty() || source.Empty()) return;
  PairClip c;
  if (!ClipPair(destRect, sourceRect, dest, source, c)) return;
  for (int i = 0; i < c.rows; ++i) {
    std::uint32_t* d = dest.Row(c.destY + i) + c.destX;
    const std::uint32_t* s = source.Row(c.sourceY + i) + c.sourceX;
    if (!parent.Ready) {
      kernels::ComposeRow(d, s, c.columns);
      continue;
    }
    int x = 0;
    while (x < c.columns) {
      if (s[x] == KeyPixel) {
        std::uint32_t p;
        if (fromParent && ParentPixelAt(parent, c.destX + x, c.destY + i, p)) d[x] = p | 0xFF000000u;
        ++x;
        continue;
      }
      int end = x;
      while (end < c.columns && s[end] != KeyPixel) ++end;
      kernels::ComposeRow(d + x, s + x, end - x);
      x = end;
    }
  }
}

void DrawAlphaPart(PixelRect destRect, PixelRect sourceRect, const PixelView& dest, bool reflect, int fade,
                   std::uint32_t tint, bool fromParent, const ParentPixels& parent, const PixelView& source) {
  if (dest.Empty() || source.Empty()) return;
  PairClip c;
  if (!ClipPair(destRect, sourceRect, dest, source, c)) return;
  // A fade beyond 0..100 would give a level outside 0..255.
  fade = std::clamp(fade, 0, 100);
  const bool tinted = tint != NoColor;
  // Tint channels in pixel order: blue takes the colour's byte 2.
  const std::uint32_t tintPixel = ExchangeRB(tint);
  for (int i = 0; i < c.rows; ++i) {
    std::uint32_t* d = dest.Row(c.destY + i) + c.destX;
    const std::uint32_t* s = source.Row(c.sourceY + i) + c.sourceX;
    for (int x = 0; x < c.columns; ++x) {
      const std::uint32_t sp = s[x];
      const std::uint32_t sa = sp >> 24;
      const std::uint32_t level = fade == 0 ? sa : static_cast<std::uint32_t>(100 - fade) * sa / 100;
      if (!tinted) {
        if (parent.Ready && sp == KeyPixel) {
          std::uint32_t p;
          if (fromParent && ParentPixelAt(parent, c.destX + x, c.destY + i, p)) d[x] = p | 0xFF000000u;
          continue;
        }
        std::uint32_t out = BlendLevel(d[x], sp, level);
        if (parent.Ready && fade == 0) out = WithAlpha(out, std::max(d[x] >> 24, sa));
        d[x] = out;
        continue;
      }
      const std::uint32_t g = GreyOf(sp);
      std::uint32_t out = d[x] & 0xFF000000u;
      for (int ch = 0; ch < 3; ++ch) {
        // round(g * t / 255): the quotient is never a half, 255 being odd.
        std::uint32_t v = std::min<std::uint32_t>(255, (2 * g * ChannelOf(tintPixel, ch) + 255) / 510);
        int dc = static_cast<int>(ChannelOf(d[x], ch));
        int nc = dc + ((static_cast<int>(v) - dc) * static_cast<int>(level) >> 8);
        out |= static_cast<std::uint32_t>(nc) << (8 * ch);
      }
      d[x] = out;
    }
  }
  if (!reflect) return;
  const int half = source.height / 2;
  if (half <= 0) return;
  const int count = std::min(half - 1, dest.height - destRect.Bottom - 1);
  const int drop = 255 / half;
  int r = 255;
  for (int k = 1; k <= count; ++k, r -= drop) {
    const long long dy = static_cast<long long>(destRect.Bottom) + k;
    const long long sy = static_cast<long long>(sourceRect.Bottom) - k - 1;
    if (dy < 0 || dy >= dest.height || sy < 0 || sy >= source.height) continue;
    std::uint32_t* d = dest.Row(static_cast<int>(dy)) + c.destX;
    const std::uint32_t* s = source.Row(static_cast<int>(sy)) + c.sourceX;
    for (int x = 0; x < c.columns; ++x) {
      const std::uint32_t sp = s[x];
      if (sp == KeyPixel) continue;
      const int sa = static_cast<int>(sp >> 24);
      const int base = fade == 0 ? sa / 3 : (100 - fade) * sa / 300;
      const int level = std::max(0, base * r / 255);
      d[x] = BlendLevel(d[x], sp, static_cast<std::uint32_t>(level));
    }
  }
}

void CopyOpaque(const PixelView& dest, const ByteView& source, int x, std::uint32_t key, int y) {
  if (dest.Empty() || source.Empty()) return;
  if (source.bytesPerPixel != 3 && source.bytesPerPixel != 4) return;
  const std::uint32_t keyPixel = ExchangeRB(key);
  const long long y0 = std::max(y, 0),
                  y1 = std::min<long long>(dest.height - 1, static_cast<long long>(y) + source.height - 1);
  const long long x0 = std::max(x, 0),
                  x1 = std::min<long long>(dest.width - 1, static_cast<long long>(x) + source.width - 1);
  // Parts of the source left of or above the destination are cut off, so
  // the rest stays where it belongs.
  for (long long dy = y0; dy <= y1; ++dy) {
    const std::uint8_t* s = source.Row(static_cast<int>(dy - y)) + (x0 - x) * source.bytesPerPixel;
    std::uint32_t* d = dest.Row(static_cast<int>(dy));
    for (long long dx = x0; dx <= x1; ++dx, s += source.bytesPerPixel) {
      std::uint32_t v;
      if (source.bytesPerPixel == 4) {
        std::memcpy(&v, s, 4);
      } else {
        v = PackBGR(s[0], s[1], s[2], 0);
      }
      if (v != keyPixel) d[dx] = v | 0xFF000000u;
    }
  }
}

void CopyKeyed(const PixelView& dest, const PixelView& source, int x, std::uint32_t key, PixelRect sourceRect, int y) {
  if (dest.Empty() || source.Empty()) return;
  sourceRect = ClipInclusive(sourceRect, source.width, source.height);
  if (sourceRect.Right < sourceRect.Left || sourceRect.Bottom < sourceRect.Top) return;
  const std::uint32_t keyPixel = ExchangeRB(key) & 0x00FFFFFFu;
  const int count = sourceRect.Right - sourceRect.Left + 1;
  for (int sy = sourceRect.Top; sy <= sourceRect.Bottom; ++sy) {
    const long long dy = static_cast<long long>(y) + (sy - sourceRect.Top);
    if (dy < 0) continue;
    if (dy >= dest.height) break;
    if (x >= dest.width || static_cast<long long>(x) + count <= 0) break;
    RowSpan span = SpanFrom(x, sourceRect.Left, count, dest.width);
    const std::uint32_t* s = source.Row(sy) + span.sourceX;
    std::uint32_t* d = dest.Row(static_cast<int>(dy)) + span.destX;
    for (int i = 0; i < span.count; ++i)
      if (s[i] != keyPixel) d[i] = s[i];
  }
}

void CopyKeyedOverBack(const PixelView& dest, const PixelView& source, int x, bool fromParent,
                       const ParentPixels& parent, std::uint32_t key, PixelRect sourceRect, int y) {
  if (dest.Empty() || source.Empty()) return;
  sourceRect = ClipInclusive(sourceRect, source.width, source.height);
  if (sourceRect.Right < sourceRect.Left || sourceRect.Bottom < sourceRect.Top) return;
  const bool useParent = fromParent && parent.Ready && !parent.Bitmap.Empty();
  // The parent's picture is addressed by row stride, so it needs two rows and
  // two columns like every bound picture.
  if (useParent && (parent.Bitmap.width < 2 || parent.Bitmap.height < 2)) return;
  const bool parentIsDest = useParent && parent.Bitmap.firstRow == dest.firstRow;
  const std::uint32_t fill = ExchangeRB(parent.FillColor) | 0xFF000000u;
  for (int sy = sourceRect.Top; sy <= sourceRect.Bottom; ++sy) {
    const long long dy = static_cast<long long>(y) + (sy - sourceRect.Top);
    if (dy < 0 || dy >= dest.height) continue;
    const std::uint32_t* s = source.Row(sy);
    std::uint32_t* d = dest.Row(static_cast<int>(dy));
    for (int sx = sourceRect.Left; sx <= sourceRect.Right; ++sx) {
      const long long dx = static_cast<long long>(x) + (sx - sourceRect.Left);
      if (dx < 0 || dx >= dest.width) continue;
      const std::uint32_t v = s[sx];
      if (useParent) {
        if (v != key) {
          d[dx] = v | 0xFF000000u;
        } else if (!parentIsDest) {
          std::uint32_t p;
          if (ParentPixelAt(parent, static_cast<int>(dx), static_cast<int>(dy), p)) d[dx] = p | 0xFF000000u;
        }
      } else if (parent.Ready) {
        if (v != key) d[dx] = v;
      } else {
        d[dx] = v == key ? fill : v;
      }
    }
  }
}

void MergeByMask(const PixelView& dest, const PixelView& a, const PixelView& b, int level, const PixelView* mask) {
  if (dest.Empty() || a.Empty() || b.Empty()) return;
  if (a.width != b.width || a.height != b.height) return;
  if (mask && mask->Empty()) mask = nullptr;
  int width = std::min(dest.width, a.width);
  int height = std::min(dest.height, a.height);
  if (mask) {
    width = std::min(width, mask->width);
    height = std::min(height, mask->height);
  }
  const std::uint32_t fixedLevel = static_cast<std::uint32_t>(std::clamp(level, 0, 256));
  for (int y = 0; y < height; ++y) {
    std::uint32_t* d = dest.Row(y);
    const std::uint32_t* pa = a.Row(y);
    const std::uint32_t* pb = b.Row(y);
    const std::uint32_t* pm = mask ? mask->Row(y) : nullptr;
    for (int x = 0; x < width; ++x) {
      std::uint32_t out = d[x] & 0xFF000000u;
      for (int c = 0; c < 3; ++c) {
        std::uint32_t l = pm ? ChannelOf(pm[x], c) : fixedLevel;
        std::uint32_t av = ChannelOf(pa[x], c), bv = ChannelOf(pb[x], c);
        out |= ((av * l + bv * (256 - l)) >> 8) << (8 * c);
      }
      d[x] = out;
    }
  }
}

void MaskWithColor(const PixelView& dest, const PixelView& mask, std::uint32_t color) {
  if (dest.Empty() || mask.Empty()) return;
  if (dest.width != mask.width || dest.height != mask.height) return;
  const std::uint32_t pixelColor = ExchangeRB(color);
  for (int y = 0; y < dest.height; ++y) {
    std::uint32_t* d = dest.Row(y);
    const std::uint32_t* m = mask.Row(y);
    for (int x = 0; x < dest.width; ++x) {
      std::uint32_t out = d[x] & 0xFF000000u;
      for (int c = 0; c < 3; ++c) {
        std::uint32_t mv = ChannelOf(m[x], c), cv = ChannelOf(pixelColor, c);
        out |= ((ChannelOf(d[x], c) * mv + cv * (256 - mv)) >> 8) << (8 * c);
      }
      d[x] = out;
    }
  }
}

void CopyChannel(const PixelView& wide, const GrayView& narrow, int index, bool toNarrow) {
  if (wide.Empty() || narrow.Empty() || index < 0 || index > 3) return;
  const int width = std::min(wide.width, narrow.width);
  const int height = std::min(wide.height, narrow.height);
  const int shift = 8 * index;
  for (int y = 0; y < height; ++y) {
    std::uint32_t* w = wide.Row(y);
    std::uint8_t* n = narrow.Row(y);
    for (int x = 0; x < width; ++x) {
      if (toNarrow) {
        n[x] = static_cast<std::uint8_t>(w[x] >> shift);
      } else {
        w[x] = (w[x] & ~(0xFFu << shift)) | (std::uint32_t{n[x]} << shift);
      }
    }
  }
}

}  // namespace translit
