// Gradient text parsing and gradient painting into 32-bit rows.
#include "render/pixels/GradientKernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "framework/core/SysUtils.h"
#include "render/pixels/PixelKernels.h"

namespace translit {

namespace {

[[noreturn]] void RaiseNotInteger(std::string_view text) {
  throw fw::EConvertError(fw::Format("'%s' is not a valid integer value", std::string(text)));
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// Decimal numbers must fit a signed 32-bit value; hexadecimal ones may use
// all 32 bits and are then read as two's complement.
std::int32_t StrToInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) RaiseNotInteger(text);
  const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    int d = DigitValue(text[i]);
    if (d >= base) RaiseNotInteger(text);
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    if (value > limit) RaiseNotInteger(text);
  }
  std::uint32_t bits = static_cast<std::uint32_t>(value);
  if (negative) bits = 0u - bits;
  std::int32_t result;
  std::memcpy(&result, &bits, sizeof result);
  return result;
}

std::uint32_t ColourWord(std::string_view word) {
  std::int32_t v = StrToInt(word);
  return v < 0 ? 0u : static_cast<std::uint32_t>(v);
}

// Channel values of a colour while stepping: red, green, blue.
struct Channels {
  float v[3];
};

Channels ChannelsOf(std::uint32_t color) {
  return {{static_cast<float>(color & 0xFF), static_cast<float>((color >> 8) & 0xFF),
           static_cast<float>((color >> 16) & 0xFF)}};
}

// Halves to even: lrint rounds in the default mode.
std::uint32_t RoundChannel(float v) {
  if (!(v > 0)) return 0;
  if (v >= 255) return 255;
  return static_cast<std::uint32_t>(std::lrint(v));
}

std::uint32_t PixelOf(const Channels& c) {
  return RoundChannel(c.v[2]) | (RoundChannel(c.v[1]) << 8) | (RoundChannel(c.v[0]) << 16) | 0xFF000000u;
}

// Walks the stops of a vertical gradient and hands every painted row with its
// pixel to paintRow, in order; a boundary row comes twice, the second time
// with the next stop's start colour.
template <typename F>
void ForEachGradientRow(PixelRect rect, const TsGradArray& gradient, F paintRow) {
  const int height = rect.Bottom - rect.Top;
  const int lastRow = rect.Bottom - 1;
  int y0 = rect.Top;
  for (std::size_t i = 0; i < gradient.size(); ++i) {
    const TsGradient& stop = gradient[i];
    int y1 =
        i + 1 == gradient.size()
            ? lastRow
            : static_cast<int>(std::min<long long>(y0 + static_cast<long long>(height) * stop.Percent / 100, lastRow));
    if (y1 == y0) continue;
    const int n = y1 - y0;
    if (stop.Color1 == stop.Color2) {
      const std::uint32_t pixel = ExchangeRB(stop.Color1) | 0xFF000000u;
      for (int y = y0; y <= y1; ++y) paintRow(y, pixel);
    } else {
      Channels cur = ChannelsOf(stop.Color1);
      const Channels end = ChannelsOf(stop.Color2);
      Channels step;
      for (int c = 0; c < 3; ++c) step.v[c] = (end.v[c] - cur.v[c]) / static_cast<float>(n);
      for (int y = y0; y <= y1; ++y) {
        paintRow(y, PixelOf(cur));
        for (int c = 0; c < 3; ++c) cur.v[c] += step.v[c];
      }
    }
    y0 = y1;
  }
}

// Computes the horizontal gradient into one row (columns rect.Left to
// rect.Right - 1); columns of stops that get no room keep what they had.
void PaintGradientLine(std::uint32_t* row, PixelRect rect, const TsGradArray& gradient) {
  const double unit = (rect.Right - rect.Left) / 100.0;
  const int lastColumn = rect.Right - 1;
  int x0 = rect.Left;
  for (std::size_t i = 0; i < gradient.size(); ++i) {
    const TsGradient& stop = gradient[i];
    int x1 = lastColumn;
    if (i + 1 != gradient.size()) {
      x1 = static_cast<int>(std::min<double>(std::nearbyint(stop.Percent * unit + x0), lastColumn));
    }
    if (x1 - x0 > 0) {
      Channels cur = ChannelsOf(stop.Color1);
      const Channels end = ChannelsOf(stop.Color2);
      Channels step;
      const float n = static_cast<float>(x1 - x0);
      for (int c = 0; c < 3; ++c) step.v[c] = (end.v[c] - cur.v[c]) / n;
      for (int x = x0; x <= x1; ++x) {
        row[x] = PixelOf(cur);
        for (int c = 0; c < 3; ++c) cur.v[c] += step.v[c];
      }
    }
    x0 = x1;
  }
}

constexpr std::uint32_t MixTexture(std::uint32_t g, std::uint32_t t, std::uint32_t share) {
  std::uint32_t out = 0xFF000000u;
  for (int b = 0; b < 24; b += 8) {
    std::uint32_t gc = (g >> b) & 0xFF, tc = (t >> b) & 0xFF;
    out |= ((tc * share + gc * (256 - share)) >> 8) << b;
  }
  return out;
}

}  // namespace

TsGradArray ParseGradient(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find(';', pos);
    if (end == std::string_view::npos) end = text.size();
    if (end > pos) words.push_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  TsGradArray result(words.size() / 5);
  for (std::size_t i = 0; i < result.size(); ++i) {
    const std::string_view* w = &words[5 * i];
    TsGradient& stop = result[i];
    stop.Color1 = ColourWord(w[0]);
    stop.Color2 = ColourWord(w[1]);
    stop.Percent = static_cast<std::uint8_t>(std::clamp(StrToInt(w[2]), 0, 100));
    stop.Mode = StrToInt(w[3]);
  }
  return result;
}

PixelRect ClipGradientRect(PixelRect rect, int width, int height) {
  rect.Right = std::min(rect.Right, width);
  rect.Bottom = std::min(rect.Bottom, height);
  rect.Left = std::max(rect.Left, 0);
  rect.Top = std::max(rect.Top, 0);
  if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) return {};
  return rect;
}

void PaintGradient(const PixelView& bitmap, PixelRect rect, const TsGradArray& gradient) {
  if (bitmap.Empty() || gradient.empty()) return;
  rect = ClipGradientRect(rect, bitmap.width, bitmap.height);
  if (rect.Right <= rect.Left) return;
  const int width = rect.Right - rect.Left;
  switch (gradient[0].Mode) {
    case gmVertical:
      ForEachGradientRow(rect, gradient, [&](int y, std::uint32_t pixel) {
        kernels::FillRow(bitmap.Row(y) + rect.Left, width, pixel);
      });
      break;
    case gmHorizontal: {
      const std::uint32_t* first = bitmap.Row(rect.Top) + rect.Left;
      PaintGradientLine(bitmap.Row(rect.Top), rect, gradient);
      for (int y = rect.Top + 1; y < rect.Bottom; ++y)
        std::memcpy(bitmap.Row(y) + rect.Left, first, sizeof(std::uint32_t) * static_cast<std::size_t>(width));
      break;
    }
    default:
      break;
  }
}

void PaintGradientOnTexture(const PixelView& bitmap, PixelRect rect, const TsGradArray& gradient,
                            std::uint8_t textureShare, PixelRect textureRect, const PixelView& texture) {
  if (bitmap.Empty() || texture.Empty() || gradient.empty()) return;
  const int mode = gradient[0].Mode;
  if (mode != gmVertical && mode != gmHorizontal) return;
  if (textureRect.Right <= textureRect.Left || textureRect.Bottom <= textureRect.Top)
    textureRect = {0, 0, texture.width, texture.height};
  // A rectangle reaching left of or above the texture would read outside it.
  textureRect.Left = std::max(textureRect.Left, 0);
  textureRect.Top = std::max(textureRect.Top, 0);
  long long tw = std::max(0LL, static_cast<long long>(textureRect.Right) - textureRect.Left);
  long long th = std::max(0LL, static_cast<long long>(textureRect.Bottom) - textureRect.Top);
  tw = std::min<long long>(tw, static_cast<long long>(texture.width) - 1 - textureRect.Left);
  th = std::min<long long>(th, static_cast<long long>(texture.height) - 1 - textureRect.Top);
  // A period of no pixels has nothing to tile.
  if (tw <= 0 || th <= 0) return;
  rect = ClipGradientRect(rect, bitmap.width, bitmap.height);
  if (rect.Right <= rect.Left) return;
  const int width = rect.Right - rect.Left;
  const std::uint32_t share = textureShare;
  const int texWidth = static_cast<int>(tw), texHeight = static_cast<int>(th);
  auto textureRow = [&](int y) { return texture.Row(textureRect.Top + y % texHeight) + textureRect.Left; };
  if (mode == gmVertical) {
    ForEachGradientRow(rect, gradient, [&](int y, std::uint32_t pixel) {
      std::uint32_t* d = bitmap.Row(y);
      const std::uint32_t* t = textureRow(y);
      for (int x = rect.Left; x < rect.Right; ++x) d[x] = MixTexture(pixel, t[x % texWidth], share);
    });
    return;
  }
  std::uint32_t* first = bitmap.Row(rect.Top);
  PaintGradientLine(first, rect, gradient);
  const int period = std::min(texHeight, rect.Bottom - rect.Top);
  for (int y = rect.Top + 1; y < rect.Top + period; ++y) {
    std::uint32_t* d = bitmap.Row(y);
    const std::uint32_t* t = textureRow(y);
    for (int x = rect.Left; x < rect.Right; ++x) d[x] = MixTexture(first[x], t[x % texWidth], share);
  }
  const std::uint32_t* t = textureRow(rect.Top);
  for (int x = rect.Left; x < rect.Right; ++x) first[x] = MixTexture(first[x], t[x % texWidth], share);
  for (int y = rect.Top + period; y < rect.Bottom; ++y) {
    std::memcpy(bitmap.Row(y) + rect.Left, bitmap.Row(y - period) + rect.Left,
                sizeof(std::uint32_t) * static_cast<std::size_t>(width));
  }
}

std::array<GradientVertex, 5> GradientMeshVertices(PixelRect rect, const TsGradArray& gradient) {
  const int points[5][2] = {{rect.Left, rect.Top},
                            {rect.Left + (rect.Right - rect.Left) / 2, rect.Top + (rect.Bottom - rect.Top) / 2},
                            {rect.Right, rect.Top},
                            {rect.Right, rect.Bottom},
                            {rect.Left, rect.Bottom}};
  std::array<GradientVertex, 5> v{};
  std::uint32_t color = gradient.empty() ? 0 : gradient[0].Color1;
  for (std::size_t k = 0; k < v.size(); ++k) {
    if (k < gradient.size()) color = gradient[k].Color1;
    v[k].X = points[k][0];
    v[k].Y = points[k][1];
    v[k].Red = static_cast<std::uint16_t>((color & 0xFF) << 8);
    v[k].Green = static_cast<std::uint16_t>(((color >> 8) & 0xFF) << 8);
    v[k].Blue = static_cast<std::uint16_t>(((color >> 16) & 0xFF) << 8);
    v[k].Alpha = 0xFF00;
  }
  return v;
}

}  // namespace translit
