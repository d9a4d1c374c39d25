// The skin "BlueIce": its palette, every piece it draws, where each piece
// goes (its own file or the master bitmap) and the options text naming them.
//
// Pieces with soft edges (buttons, title buttons, check boxes, frames that
// lie over a gradient) are image layers over mask layers, so that the
// section's own background shows through them; the frame of the form, the
// edit frame and the status panels are cut with the magenta key, whose
// corner holes also shape the window outline.
#include "skins/BlueIce.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "skins/SkinCanvas.h"
#include "skins/SkinPieces.h"

namespace skingen {

namespace {

// ---- Palette. Body text is dark navy on light blues; every pairing of a
// text colour with its background keeps a contrast of at least 4.5 : 1.
constexpr Rgb kInk = Hex(0x1B2F4A);      // body text
constexpr Rgb kInkDeep = Hex(0x102642);  // text of hot controls
constexpr Rgb kInkSoft = Hex(0x3C5371);  // caption of an inactive form
constexpr Rgb kGlyph = Hex(0x34506F);    // title and arrow glyphs
constexpr Rgb kGlyphHot = Hex(0x18385C);
constexpr Rgb kGlyphDown = Hex(0x0F2A48);
constexpr Rgb kLine = Hex(0x7FA3CC);  // control borders
constexpr Rgb kLineHot = Hex(0x4F8ED3);
constexpr Rgb kLineDown = Hex(0x3A73B0);
constexpr Rgb kAccent = Hex(0x2F6DB5);  // focused selection
constexpr Rgb kAccentDeep = Hex(0x285F9E);
constexpr Rgb kCheck = Hex(0x1F5FA8);
constexpr Rgb kWhite = Hex(0xFFFFFF);
constexpr Rgb kFormBase = Hex(0xE8F1FA);
constexpr Rgb kFormTop = Hex(0xF3F8FD);
constexpr Rgb kFormBottom = Hex(0xDCE9F6);
constexpr Rgb kFrameActive = Hex(0x5B8CC4);
constexpr Rgb kFrameInactive = Hex(0x9DB3CB);
constexpr Rgb kBandActive = Hex(0xD3E3F4);
constexpr Rgb kBandInactive = Hex(0xE4EBF2);
constexpr Rgb kCloseRed = Hex(0xE0584D);
constexpr Rgb kCloseRedDeep = Hex(0xB8342A);
constexpr Rgb kShadow = Hex(0x0B1A2E);

// Deterministic noise: a hash of lattice points, smooth value noise that
// repeats every period cells, and a sum of octaves.
double Hash(int x, int y, int seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                    static_cast<std::uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFFFF) / double(0xFFFFFF);
}

double ValueNoise(double x, double y, int period, int seed) {
  int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  double fx = x - x0, fy = y - y0;
  auto wrap = [period](int v) { return period > 0 ? ((v % period) + period) % period : v; };
  auto smooth = [](double t) { return t * t * (3 - 2 * t); };
  double a = Hash(wrap(x0), wrap(y0), seed), b = Hash(wrap(x0 + 1), wrap(y0), seed);
  double c = Hash(wrap(x0), wrap(y0 + 1), seed), d = Hash(wrap(x0 + 1), wrap(y0 + 1), seed);
  double sx = smooth(fx), sy = smooth(fy);
  return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

// Octaves of value noise, result 0..1: over a picture that repeats every
// size pixels with baseCells cells across in the first octave, or, with size
// 0, without repetition and a first octave 64 pixels wide.
double Fbm(double x, double y, int size, int baseCells, int octaves, int seed) {
  double sum = 0, amp = 0.5, norm = 0;
  int cells = baseCells;
  for (int o = 0; o < octaves; ++o) {
    double scale = size > 0 ? double(cells) / size : 1.0 / 64 * (1 << o);
    sum += amp * ValueNoise(x * scale, y * scale, size > 0 ? cells : 0, seed + o * 101);
    norm += amp;
    amp *= 0.5;
    cells *= 2;
  }
  return sum / norm;
}

// ---- Title buttons.

enum class TitleGlyph { Close, Max, Min, Norm, Help };

// The glyph centred in a w x h button; sizes grow with the large set.
Shape TitleGlyphShape(TitleGlyph g, int w, int h, bool large) {
  const double cx = w / 2.0, cy = h / 2.0;
  const int gw = large ? 10 : 8, gh = large ? 8 : 7;
  const double l = std::floor(cx - gw / 2.0), t = std::floor(cy - gh / 2.0), r = l + gw, b = t + gh;
  switch (g) {
    case TitleGlyph::Close: {
      const double s = large ? 4.0 : 3.5;
      return Union(Segment(cx - s, cy - s, cx + s, cy + s, 1.7), Segment(cx - s, cy + s, cx + s, cy - s, 1.7));
    }
    case TitleGlyph::Max:
      return Union(Frame(l, t, r, b, 1), Rect(l, t, r, t + 2));
    case TitleGlyph::Min:
      return Rect(l + 1, b - 2, r - 1, b);
    case TitleGlyph::Norm: {
      Shape front = Union(Frame(l, t + 3, r - 3, b, 1), Rect(l, t + 3, r - 3, t + 5));
      Shape back = Subtract(Union(Frame(l + 3, t, r, b - 3, 1), Rect(l + 3, t, r, t + 2)), Rect(l, t + 3, r - 3, b));
      return Union(front, back);
    }
    case TitleGlyph::Help: {
      const double rad = large ? 2.8 : 2.4, ay = cy - (large ? 1.8 : 1.6);
      auto at = [&](double deg) {
        double a = deg * 3.14159265358979 / 180;
        return std::make_pair(cx + rad * std::cos(a), ay + rad * std::sin(a));
      };
      Shape hook = Polyline({at(200), at(240), at(270), at(300), at(340), at(20), at(60)}, 1.6);
      auto end = at(60);
      hook = Union(std::move(hook), Segment(end.first, end.second, cx, cy + (large ? 1.8 : 1.4), 1.6));
      return Union(std::move(hook), Circle(cx, cy + (large ? 4.2 : 3.6), 1.05));
    }
  }
  return Rect(0, 0, 0, 0);
}

// One state (0 normal, 1 hot, 2 pressed) of a title button.
Canvas TitleButtonState(TitleGlyph g, int w, int h, bool large, int state, bool withGlyph = true) {
  Canvas c(w, h);
  const bool close = g == TitleGlyph::Close;
  Shape plate = RoundRect(0.5, 0.5, w - 0.5, h - 0.5, 3.5);
  Rgb glyph = kGlyph;
  if (state == 0) {
    if (!withGlyph) c.Fill(plate, kWhite, 0.35);
  } else if (close) {
    Rgb top = state == 1 ? kCloseRed : kCloseRedDeep, bottom = state == 1 ? Hex(0xC63A2F) : Hex(0xA02A20);
    c.Fill(plate, VerticalStops(0, h, {{0, top}, {1, bottom}}));
    c.Fill(InnerStroke(plate, 1), Hex(0x9C2A21));
    if (state == 1) c.Fill(InnerStroke(RoundRect(1.5, 1.5, w - 1.5, h - 1.5, 2.5), 1), kWhite, 0.35);
    glyph = kWhite;
  } else {
    if (state == 1)
      c.Fill(plate, VerticalStops(0, h, {{0, kWhite}, {0.5, Hex(0xE6F1FC)}, {1, Hex(0xCFE3F8)}}));
    else
      c.Fill(plate, VerticalStops(0, h, {{0, Hex(0xB7D3F0)}, {1, Hex(0xD2E4F6)}}));
    c.Fill(InnerStroke(plate, 1), state == 1 ? kLineHot : kLineDown);
    if (state == 1) c.Fill(InnerStroke(RoundRect(1.5, 1.5, w - 1.5, h - 1.5, 2.5), 1), kWhite, 0.7);
    glyph = state == 1 ? kGlyphHot : kGlyphDown;
  }
  if (withGlyph) c.Fill(TitleGlyphShape(g, w, h, large), glyph);
  return c;
}

Canvas TitleButton(TitleGlyph g, int w, int h, bool large) {
  return Strip(
      {TitleButtonState(g, w, h, large, 0), TitleButtonState(g, w, h, large, 1), TitleButtonState(g, w, h, large, 2)});
}

// A soft glow around a rounded rectangle that leaves margin pixels free on
// every side.
Canvas GlowImage(int inner, int margin, Rgb color, double strength) {
  const int size = inner + 2 * margin;
  Canvas c(size, size);
  Shape core = RoundRect(margin, margin, margin + inner, margin + inner, 3);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      double d = std::max(0.0, core(x + 0.5, y + 0.5));
      double a = strength * std::exp(-(d / (margin * 0.45)) * (d / (margin * 0.45)));
      c.Blend(x, y, color, a);
    }
  return c;
}

// ---- Check boxes and radio buttons (0 normal, 1 hot, 2 pressed).

enum class Mark { None, Check, Grayed, Dot };

Canvas BoxState(bool radio, Mark mark, int state, int size) {
  Canvas c(size, size);
  const double s = size;
  Shape outer = radio ? Circle(s / 2, s / 2, s / 2 - 0.25) : RoundRect(0, 0, s, s, 2.5);
  Shape inner = radio ? Circle(s / 2, s / 2, s / 2 - 1.25) : RoundRect(1, 1, s - 1, s - 1, 1.5);
  Rgb line = state == 0 ? kLine : state == 1 ? kLineHot : kLineDown;
  Paint face = state == 0   ? VerticalStops(1, s - 1, {{0, kWhite}, {1, Hex(0xE4EEF8)}})
               : state == 1 ? VerticalStops(1, s - 1, {{0, Hex(0xEAF4FF)}, {1, Hex(0xC3DEFA)}})
                            : VerticalStops(1, s - 1, {{0, Hex(0xAFCCEC)}, {1, Hex(0xD0E3F6)}});
  c.Fill(outer, line);
  c.Fill(inner, face);
  const Rgb ink = state == 2 ? Hex(0x184E8C) : kCheck;
  const double k = s / 13.0;
  switch (mark) {
    case Mark::Check:
      c.Fill(Polyline({{3.2 * k, 6.6 * k}, {5.5 * k, 9.0 * k}, {9.9 * k, 3.9 * k}}, 1.8), ink);
      break;
    case Mark::Grayed:
      c.Fill(RoundRect(3.5 * k, 3.5 * k, s - 3.5 * k, s - 3.5 * k, 1), Hex(0x7A9CC4));
      break;
    case Mark::Dot:
      c.Fill(Circle(s / 2, s / 2, 2.6 * k), VerticalStops(s / 2 - 3, s / 2 + 3, {{0, Hex(0x3D86D9)}, {1, kCheck}}));
      break;
    case Mark::None:
      break;
  }
  return c;
}

Canvas Box(bool radio, Mark mark) {
  return Strip({BoxState(radio, mark, 0, 13), BoxState(radio, mark, 1, 13), BoxState(radio, mark, 2, 13)});
}

// ---- Frames.

// The form's frame ring: three pixels (an outline and a light band) with
// slightly rounded corners; the middle is the client colour and unused.
Canvas FormFrameState(bool active) {
  Canvas c(12, 12);
  c.Fill(RoundRect(0, 0, 12, 12, 3), active ? kFrameActive : kFrameInactive);
  c.Fill(RoundRect(1, 1, 11, 11, 2), active ? kBandActive : kBandInactive);
  c.Fill(Rect(3, 3, 9, 9), kFormBase);
  return c;
}

// The title's frame: the outline continues the form's ring around rounded
// top corners, a white highlight runs inside it, a separator closes the
// title at the bottom; everything else is clear so the gradient shows.
Shape TitleFrameOutline(int w, int h) { return RoundRect(0, 0, w, h + 10, 6.5); }

Canvas TitleFrameState(bool active, int w, int h) {
  Canvas c(w, h);
  Shape outline = TitleFrameOutline(w, h);
  c.Fill(InnerStroke(outline, 1), active ? kFrameActive : kFrameInactive);
  c.Fill(InnerStroke(RoundRect(1, 1, w - 1, h + 10, 5.5), 1), kWhite, active ? 0.75 : 0.6);
  c.Fill(Rect(1, h - 1, w - 1, h), active ? kFrameActive : kFrameInactive, 0.45);
  return c;
}

// The plate behind the title buttons: a lighter band with a rounded lower
// left corner, reaching the top and right edges.
Canvas TitleBarState(bool active) {
  const int w = 24, h = 22;
  Canvas c(w, h);
  Shape plate = RoundRect(0, -12, w + 12, h, 7);
  c.Fill(plate, kWhite, active ? 0.38 : 0.25);
  c.Fill(InnerStroke(plate, 1), active ? kFrameActive : kFrameInactive, 0.35);
  return c;
}

// A push button's frame over the section's gradient: outline and inner
// highlight; pressed, an inner shadow at the top and a darker face (the
// middle cell, drawn in every state, is clear in the others).
constexpr int kButtonWidth = 16, kButtonHeight = 22;
Shape ButtonOutline() { return RoundRect(0, 0, kButtonWidth, kButtonHeight, 4); }

Canvas ButtonState(int state) {
  const int w = kButtonWidth, h = kButtonHeight;
  Canvas c(w, h);
  Shape outer = ButtonOutline();
  Rgb line = state == 0 ? kLine : state == 1 ? kLineHot : kLineDown;
  Shape inner = InnerStroke(RoundRect(1, 1, w - 1, h - 1, 3), 1);
  if (state == 2) {
    c.Fill(RoundRect(1, 1, w - 1, h - 1, 3), kLineDown, 0.14);
    c.Fill(Subtract(inner, Rect(0, 3, w, h)), kGlyphDown, 0.3);
    c.Fill(Subtract(inner, Rect(0, 0, w, h - 3)), kWhite, 0.35);
  } else {
    c.Fill(inner, kWhite, state == 1 ? 0.9 : 0.75);
  }
  c.Fill(InnerStroke(outer, 1), line);
  return c;
}

// A plain frame with rounded corners: outline plus a lighter inner line.
Canvas RoundFrame(int w, int h, double radius, Rgb line, double lineAlpha, Rgb inner, double innerAlpha) {
  Canvas c(w, h);
  c.Fill(InnerStroke(RoundRect(0, 0, w, h, radius), 1), line, lineAlpha);
  if (innerAlpha > 0)
    c.Fill(InnerStroke(RoundRect(1, 1, w - 1, h - 1, std::max(radius - 1, 0.0)), 1), inner, innerAlpha);
  return c;
}

// The edit frame: two pixels, the corner pixel open; the middle is white.
Canvas EditFrameState(bool focused) {
  Canvas c(8, 8);
  c.Fill(RoundRect(0, 0, 8, 8, 1.6), focused ? Hex(0x3D7CC9) : Hex(0x8FB0D4));
  c.Fill(Rect(1, 1, 7, 7), focused ? Hex(0xCFE2F6) : Hex(0xEEF4FA));
  c.Fill(Rect(2, 2, 6, 6), kWhite);
  return c;
}

// A sunken status panel: darker top and left, white bottom and right.
Canvas StatusPanel() {
  Canvas c(8, 8);
  c.Fill(RoundRect(0, 0, 8, 8, 1.6), kWhite);
  c.Fill(RoundRect(0, 0, 7, 7, 1.2), Hex(0xA9C2DE));
  c.Fill(Rect(1, 1, 7, 7), Hex(0xF7FAFD));
  c.Fill(Rect(1, 1, 6, 6), Hex(0xD7E4F2));
  c.Fill(Rect(2, 2, 6, 6), Hex(0xE6EFF8));
  return c;
}

// A tab open at the bottom (0 normal, 1 hot, 2 selected).
Canvas TabState(int state) {
  const int w = 16, h = 20;
  Canvas c(w, h);
  Shape outer = RoundRect(0, 0, w, h + 8, 4);
  c.Fill(InnerStroke(outer, 1), state == 2 ? kLineDown : state == 1 ? kLineHot : kLine);
  c.Fill(InnerStroke(RoundRect(1, 1, w - 1, h + 8, 3), 1), kWhite, state == 0 ? 0.6 : 0.9);
  if (state == 2) c.Fill(Rect(1, 1, w - 1, 3), kAccent, 0.85);
  return c;
}

// ---- Scroll bars.

enum class Arrow { Up, Down, Left, Right };

// A chevron in a 9 x 9 cell, drawn pointing up and turned.
Canvas ArrowState(Arrow a, int state) {
  Canvas c(9, 9);
  c.Fill(Polyline({{1.6, 6.0}, {4.5, 3.1}, {7.4, 6.0}}, 1.7), state == 0 ? kGlyph : state == 1 ? kAccent : kGlyphDown);
  switch (a) {
    case Arrow::Up:
      return c;
    case Arrow::Down:
      return c.FlippedVertically();
    case Arrow::Left:
      return c.Transposed();
    case Arrow::Right:
      return c.Transposed().FlippedHorizontally();
  }
  return c;
}

Canvas ArrowGlyph(Arrow a) { return Strip({ArrowState(a, 0), ArrowState(a, 1), ArrowState(a, 2)}); }

// Grip lines of a thumb: three short lines across a vertical thumb.
Canvas GripLines(bool vertical) {
  std::vector<Canvas> states;
  for (int s = 0; s < 3; ++s) {
    Canvas c(8, 7);
    Rgb ink = s == 0 ? Hex(0x7E9CC0) : s == 1 ? kLineHot : kLineDown;
    for (int i = 0; i < 3; ++i) {
      c.Fill(Rect(1, 1 + 2 * i, 7, 2 + 2 * i), ink);
      c.Fill(Rect(1, 2 + 2 * i, 7, 3 + 2 * i), kWhite, 0.7);
    }
    states.push_back(vertical ? c : c.Transposed());
  }
  return Strip(states);
}

// Button and thumb frames: rounded, outline by state.
Canvas ScrollFrame() {
  std::vector<Canvas> states;
  for (int s = 0; s < 3; ++s) {
    Canvas c(12, 12);
    Shape outer = RoundRect(0, 0, 12, 12, 3);
    c.Fill(InnerStroke(outer, 1), s == 0 ? kLine : s == 1 ? kLineHot : kLineDown, s == 0 ? 0.8 : 1.0);
    c.Fill(InnerStroke(RoundRect(1, 1, 11, 11, 2), 1), kWhite, s == 2 ? 0.3 : 0.7);
    states.push_back(c);
  }
  return Strip(states);
}

// The track's faint groove.
Canvas TrackFrame() {
  std::vector<Canvas> states;
  states.reserve(3);
  for (int s = 0; s < 3; ++s) states.push_back(RoundFrame(8, 8, 2.5, kLine, s == 2 ? 0.55 : 0.3, kWhite, 0));
  return Strip(states);
}

// A 16 x 16 face texture, shaded along one axis.
Canvas Shaded(bool acrossWidth, std::initializer_list<Stop> stops) {
  Canvas c(16, 16);
  c.Fill(Rect(0, 0, 16, 16), acrossWidth ? HorizontalStops(0, 16, stops) : VerticalStops(0, 16, stops));
  return c;
}

// ---- Textures and pictures.

// A frost tile that repeats without seams: soft noise with a few fine
// scratches wrapped around the edges.
Canvas FrostTile(int size) {
  Canvas c(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      double n = Fbm(x, y, size, 4, 3, 7);
      c.Blend(x, y, Mix(Hex(0xD2E3F4), kWhite, n * 1.25 - 0.1), 1.0);
    }
  const double lines[][4] = {{6, 10, 30, 2}, {40, 20, 58, 44}, {12, 50, 28, 38}, {50, 60, 62, 52}, {22, 24, 34, 30}};
  for (const auto& l : lines)
    for (int ox = -size; ox <= size; ox += size)
      for (int oy = -size; oy <= size; oy += size)
        c.Fill(Segment(l[0] + ox, l[1] + oy, l[2] + ox, l[3] + oy, 0.8), kWhite, 0.7);
  return c;
}

// The large picture: a field of ice plates, light cells with brighter cracks
// between them and a slow vertical shade.
Image IceField(int w, int h) {
  Image out(w, h, false);
  const int cell = 96;
  auto point = [&](int cx, int cy, double& px, double& py) {
    px = (cx + 0.15 + 0.7 * Hash(cx, cy, 31)) * cell;
    py = (cy + 0.15 + 0.7 * Hash(cx, cy, 57)) * cell;
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int cx = x / cell, cy = y / cell;
      double f1 = 1e9, f2 = 1e9;
      int owner = 0;
      for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i) {
          double px, py;
          point(cx + i, cy + j, px, py);
          double d = std::hypot(px - x, py - y);
          if (d < f1) {
            f2 = f1;
            f1 = d;
            owner = (cx + i) * 7919 + (cy + j);
          } else if (d < f2) {
            f2 = d;
          }
        }
      const double edge = f2 - f1;
      const double crack = std::exp(-edge * edge / 3.0);
      const double halo = std::exp(-edge * edge / 60.0);
      const double grain = Fbm(x, y, 0, 0, 4, 3);
      const double tint = Hash(owner, 0, 5);
      Rgb base = Mix(Hex(0xDCEAF7), Hex(0xF4F9FE), 0.35 + 0.4 * grain + 0.25 * tint);
      base = Mix(base, Mix(Hex(0xF0F6FC), Hex(0xE3EEF9), double(y) / h), 0.35);
      base = Mix(base, Hex(0xC9DCEF), 0.35 * halo * (1 - crack));
      base = Mix(base, kWhite, 0.9 * crack);
      out.Set(x, y, base);
    }
  return out;
}

// The small texture of the status bar: a soft sheen with faint frost.
Image FrostBand(int w, int h) {
  Image out(w, h, false);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      double sheen = 0.5 + 0.5 * std::sin((x * 0.6 - y * 2.0) / w * 6.2831853 * 2);
      double n = Fbm(x, y, 0, 0, 3, 11);
      Rgb c = Mix(Hex(0xEEF5FC), Hex(0xD6E5F4), double(y) / (h - 1));
      c = Mix(c, kWhite, 0.25 * sheen + 0.2 * (n - 0.5));
      out.Set(x, y, c);
    }
  return out;
}

// The size grip: a triangle of dots (0 normal, 1 hot, 2 pressed).
Canvas GripState(int state) {
  Canvas c(12, 12);
  Rgb dot = state == 0 ? Hex(0x8AA9CD) : state == 1 ? kLineHot : kLineDown;
  for (int row = 0; row < 3; ++row)
    for (int col = 2 - row; col < 3; ++col) {
      double x = 2 + col * 3.5, y = 2 + row * 3.5;
      c.Fill(Rect(x + 1, y + 1, x + 3, y + 3), kWhite, 0.9);
      c.Fill(Rect(x, y, x + 2, y + 2), dot);
    }
  return c;
}

// The track bar's thumb pointing down (0 normal, 1 hot, 2 pressed).
Canvas SliderState(int state) {
  const int w = 11, h = 19;
  Canvas c(w, h);
  Shape body = Union(RoundRect(0.5, 0.5, w - 0.5, h - 5, 2), Triangle(0.5, h - 6, w - 0.5, h - 6, w / 2.0, h - 0.5));
  c.Fill(body, state == 0 ? kLine : state == 1 ? kLineHot : kLineDown);
  Shape inner = Union(RoundRect(1.5, 1.5, w - 1.5, h - 5.5, 1.2), Triangle(1.5, h - 6, w - 1.5, h - 6, w / 2.0, h - 2));
  c.Fill(inner, state == 2 ? VerticalStops(0, h, {{0, Hex(0xC9DDF2)}, {1, Hex(0xDDEAF7)}})
                           : VerticalStops(0, h, {{0, kWhite}, {1, state == 1 ? Hex(0xD4E6F8) : Hex(0xE4EEF8)}}));
  return c;
}

// A form shadow: a blurred rounded rectangle around a clear window area.
// left, top, right and bottom are the shadow's widths on each side.
Canvas FormShadow(int left, int top, int right, int bottom, int inner, double strength, int blur, int drop) {
  const int w = left + inner + right, h = top + inner + bottom;
  Canvas c(w, h);
  c.Fill(RoundRect(left + 1, top + drop, w - right - 1, h - bottom + drop, 4), kShadow);
  c.Blur(blur);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      Pixel& p = c.At(x, y);
      const float k = static_cast<float>(strength);
      p = Pixel{p.r * k, p.g * k, p.b * k, p.a * k};
    }
  for (int y = top; y < h - bottom; ++y)
    for (int x = left; x < w - right; ++x) c.At(x, y) = Pixel{};
  return c;
}

// ---- The skin.

class BlueIceBuilder {
 public:
  GeneratedSkin Build() {
    Global();
    Forms();
    Controls();
    ScrollBars();
    Menus();
    OtherSections();
    GeneratedSkin skin;
    skin.Options = ToCodePage1251(FOptions.Text());
    AddFile("MASTER.BMP", EncodeBmp(FMaster.Compose()));
    skin.Images = std::move(FFiles);
    skin.ShadowActive = EncodePng(WithAlpha(FormShadow(11, 10, 11, 12, 18, 0.55, 3, 1)));
    skin.ShadowInactive = EncodePng(WithAlpha(FormShadow(11, 10, 11, 12, 18, 0.32, 3, 1)));
    return skin;
  }

 private:
  Options::Section& Sec(const std::string& name) { return FOptions[name]; }

  // A section in one colour with its text colour: where most sections start.
  Options::Section& Plain(const std::string& name, int states, Rgb color, Rgb font) {
    return Sec(name).Set("STATES", states).Color("COLOR", color).Color("FONTCOLOR", font);
  }

  // A one-state section filled with a gradient from top to bottom colour.
  Options::Section& GradientSection(const std::string& name, Rgb color, Rgb font, GradMode mode, Rgb top, Rgb bottom) {
    return Plain(name, 1, color, font)
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA", Gradient(mode, {{top, bottom, 100}}));
  }

  void AddFile(const std::string& name, Bytes data) {
    for (const SkinFile& f : FFiles)
      if (f.Name == name) throw std::logic_error("file written twice: " + name);
    FFiles.push_back({name, std::move(data)});
  }

  // A piece with its own PNG file: an image over its mask layer, or cut with
  // the key over the colour it is expected to lie on.
  std::string OwnPng(const std::string& file, const Canvas& c, int states, Margins m, int fill) {
    return OwnPng(file, Layered(c), states, m, fill);
  }
  std::string OwnPng(const std::string& file, const Image& layered, int states, Margins m, int fill) {
    AddFile(file, EncodePng(layered));
    return BangValue(file, states, 1, m, fill);
  }
  std::string OwnKeyPng(const std::string& file, const Canvas& c, Rgb matte, int states, Margins m, int fill) {
    AddFile(file, EncodePng(KeyCut(c, matte)));
    return BangValue(file, states, 0, m, fill);
  }

  void Global() {
    Options::Section& g = Sec("GLOBALINFO");
    g.Set("VERSION", "7.2")
        .Set("AUTHOR", "Translit")
        .Set("DESCRIPTION", "Светлая холодная тема «Голубой лёд»: мягкие вертикальные градиенты, скруглённые углы")
        .Set("MASTERBITMAP", "MASTER.BMP")
        // Sections without a hot look have one state: with the default of
        // four, their hot states would read the absent hot keys as white.
        .Set("STATES", 1)
        .Color("COLOR", kFormBase)
        .Color("FONTCOLOR", kInk)
        .Color("SHADOW1COLOR", kShadow)
        .Set("SHADOW1OFFSET", 2)
        .Set("SHADOW1BLUR", 6)
        .Set("SHADOW1TRANSPARENCY", 55)
        .Set("BORDERWIDTH", 4)
        .Set("TITLEHEIGHT", 24)
        .Set("MAXHEIGHT", 22)
        .Set("FORMOFFSET", 4)
        .Set("ALIGNOFFSET", 0)
        .Set("CENTEROFFSET", 2)
        .Set("BORDERMODE", 0)
        .Color("BORDERCOLOR", kLine)
        .Set("BISPACE", 1)
        .Set("BIVALIGN", 0)
        .Set("BIRIGHT", 2)
        .Set("BILEFT", 2)
        .Set("BITOP", 2)
        .Set("BIKEEPHUE", 2)  // a hue change leaves the red close buttons red
        .Set("BICONCLOSEGLOW", 6)
        .Set("BICONCLOSEGLOWMARGIN", 2)
        .Set("BICONMAXGLOW", 5)
        .Set("BICONMAXGLOWMARGIN", 2)
        .Set("BICONMINGLOW", 5)
        .Set("BICONMINGLOWMARGIN", 2);

    // Large title buttons (forms with a sizeable or single frame) with their
    // own files; the small set of dialogs is cut from the master bitmap.
    const struct {
      const char* key;
      TitleGlyph glyph;
      int width;
    } large[] = {{"BICONCLOSE", TitleGlyph::Close, 27}, {"BICONMAX", TitleGlyph::Max, 27},
                 {"BICONMIN", TitleGlyph::Min, 27},     {"BICONNORM", TitleGlyph::Norm, 27},
                 {"BICONHELP", TitleGlyph::Help, 27},   {"BICLOSEALONE", TitleGlyph::Close, 40}};
    for (const auto& b : large) {
      const std::string file = std::string(b.key) + ".PNG";
      AddFile(file, EncodePng(Layered(TitleButton(b.glyph, b.width, 19, true))));
      g.Set(b.key, BangGridValue(file, 3, 1));
    }

    const struct {
      const char* key;
      TitleGlyph glyph;
    } small[] = {{"SICONCLOSE", TitleGlyph::Close},
                 {"SICONMAX", TitleGlyph::Max},
                 {"SICONMIN", TitleGlyph::Min},
                 {"SICONNORM", TitleGlyph::Norm},
                 {"SICONHELP", TitleGlyph::Help}};
    for (const auto& b : small) g.Set(b.key, AtValue(FMaster.Add(Layered(TitleButton(b.glyph, 21, 16, false))), 3, 1));

    // Glows of the title buttons while hot: margins of 8 around the button.
    // The glow of a title button is the image named after its property with
    // "GLOW" and "0"; the keys without the "0" hold the glow sizes above.
    const struct {
      const char* button;
      Rgb color;
    } glows[] = {{"BICONCLOSE", Hex(0xFF6A5A)},
                 {"BICONMAX", Hex(0x6FB2FF)},
                 {"BICONMIN", Hex(0x6FB2FF)},
                 {"SICONCLOSE", Hex(0xFF6A5A)}};
    for (const auto& gl : glows) {
      const std::string name = std::string(gl.button) + "GLOW";
      g.Set(name + "0", OwnPng(name + ".PNG", GlowImage(8, 8, gl.color, 0.55), 1, {8, 8, 8, 8}, 4));
    }

    g.Set("TITLEBUTTON", BangGridValue("TITLEBUTTON.PNG", 3, 1));
    AddFile("TITLEBUTTON.PNG", EncodePng(Layered(Strip({TitleButtonState(TitleGlyph::Max, 21, 16, false, 0, false),
                                                        TitleButtonState(TitleGlyph::Max, 21, 16, false, 1, false),
                                                        TitleButtonState(TitleGlyph::Max, 21, 16, false, 2, false)}))));

    const struct {
      const char* key;
      bool radio;
      Mark mark;
    } boxes[] = {{"BOXCHECKED", false, Mark::Check},   {"BOXUNCHECKED", false, Mark::None},
                 {"BOXGRAYED", false, Mark::Grayed},   {"RADIOCHECKED", true, Mark::Dot},
                 {"RADIOUNCHECKED", true, Mark::None}, {"RADIOGRAYED", true, Mark::Grayed}};
    for (const auto& b : boxes) {
      const std::string file = std::string(b.key) + ".PNG";
      AddFile(file, EncodePng(Layered(Box(b.radio, b.mark))));
      g.Set(b.key, BangGridValue(file, 3, 1));
    }

    // The small boxes of list and tree items: one state each, cut with the
    // key over the white of an edit.
    const struct {
      const char* key;
      Mark mark;
    } smallBoxes[] = {{"SMALLCHECKED", Mark::Check}, {"SMALLUNCHECKED", Mark::None}, {"SMALLGRAYED", Mark::Grayed}};
    for (const auto& b : smallBoxes)
      g.Set(b.key, HashValue(FMaster.Add(KeyCut(BoxState(false, b.mark, 0, 11), kWhite)), 1, 0, 0, 1));

    Canvas check(12, 12);
    check.Fill(Polyline({{2.5, 6.2}, {5.0, 8.8}, {9.6, 3.2}}, 1.9), kInk);
    g.Set("CHECK", AtValue(FMaster.Add(KeyCut(check, Hex(0xFBFDFF))), 1, 0));

    // The plain bitmap name: three states over their mask layer.
    g.Set("GRIPIMAGE", "GRIP.BMP");
    AddFile("GRIP.BMP", EncodeBmp(Layered(Strip({GripState(0), GripState(1), GripState(2)}))));

    // The extended-border shadow: inactive and active, alpha kept; the
    // margins minus FORMOFFSET are the shadow's width on each side.
    Canvas exInactive = FormShadow(10, 10, 10, 10, 20, 0.35, 3, 2);
    Canvas exActive = FormShadow(10, 10, 10, 10, 20, 0.6, 3, 2);
    AddFile("EXBORDER.PNG", EncodePng(WithAlpha(Strip({exInactive, exActive}))));
    g.Set("EXBORDER", BangValue("EXBORDER.PNG", 2, 0, {14, 14, 14, 14}, 0));
  }

  void Forms() {
    const std::string formGradient = Gradient(kVertical, {{kFormTop, kFormBottom, 100}});
    const std::string frost = TildeValue(FMaster.Add(Flatten(FrostTile(64), kWhite)), 0);
    Sec("FORM")
        .Set("STATES", 2)
        .Color("COLOR", kFormBase)
        .Color("HOTCOLOR", kFormBase)
        .Color("FONTCOLOR", kInk)
        .Color("HOTFONTCOLOR", kInk)
        // A tiled frost texture mixed into the gradient.
        .Set("IMAGEPERCENT", 12)
        .Set("GRADIENTPERCENT", 88)
        .Set("GRADIENTDATA", formGradient)
        .Set("HOTIMAGEPERCENT", 12)
        .Set("HOTGRADIENTPERCENT", 88)
        .Set("HOTGRADIENTDATA", formGradient)
        .Set("PATTERN", frost)
        .Set("HOTPATTERN", frost)
        .Set("BORDERSMASK",
             CaretValue(FMaster.Add(KeyCut(Strip({FormFrameState(false), FormFrameState(true)}), kBandInactive)),
                        {3, 3, 3, 3}, 2, 0, 0));

    // The title's face shows inside the frame's rounded corners; only the
    // pixels outside them are holes.
    const Rgb titleFace = Hex(0xE6EDF4);
    const Image titleFrame = Layered(Strip({TitleFrameState(false, 24, 22), TitleFrameState(true, 24, 22)}),
                                     EachState(TitleFrameOutline(24, 22), 24), titleFace);
    Sec("FORMTITLE")
        .Set("STATES", 2)
        .Color("COLOR", titleFace)
        .Color("HOTCOLOR", Hex(0xD7E7F7))
        .Color("FONTCOLOR", kInkSoft)
        .Color("HOTFONTCOLOR", kInk)
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA",
             Gradient(kVertical, {{Hex(0xF6F9FC), Hex(0xEBF0F6), 50}, {Hex(0xE3EAF2), Hex(0xDCE5EE), 50}}))
        .Set("HOTGRADIENTPERCENT", 100)
        .Set("HOTGRADIENTDATA",
             Gradient(kVertical, {{Hex(0xF4F9FE), Hex(0xE0EDFA), 50}, {Hex(0xCFE2F6), Hex(0xC2DAF2), 50}}))
        .Set("BORDERSMASK", CaretValue(FMaster.Add(titleFrame), {7, 7, 7, 2}, 2, 1, 0))
        .Set("TITLEBAR",
             OwnPng("TITLEBAR.PNG", Strip({TitleBarState(false), TitleBarState(true)}), 2, {8, 2, 2, 8}, 4));

    // The caption's own item is clear; its colours are the text's.
    Sec("CAPTION")
        .Set("STATES", 2)
        .Set("TRANSPARENCY", 100)
        .Set("HOTTRANSPARENCY", 100)
        .Color("FONTCOLOR", kInkSoft)
        .Color("HOTFONTCOLOR", kInk)
        .Color("HOTTCBOTTOM", Hex(0xF4F9FE));

    Sec("TITLEBUTTON").Set("PARENTCLASS", "FORMTITLE");

    // System dialogs: the form's frame by inheritance, a four-cornered
    // triangle gradient for the client.
    const std::string mesh =
        TriangleGradient({Hex(0xF5F9FD), Hex(0xE6F0FA), Hex(0xEEF4FB), Hex(0xDCE8F5), Hex(0xE9F1F9)});
    Sec("DIALOG")
        .Set("PARENTCLASS", "FORM")
        .Set("STATES", 2)
        .Color("COLOR", Hex(0xEAF2FA))
        .Color("HOTCOLOR", Hex(0xEAF2FA))
        .Set("IMAGEPERCENT", 0)
        .Set("HOTIMAGEPERCENT", 0)
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA", mesh)
        .Set("HOTGRADIENTPERCENT", 100)
        .Set("HOTGRADIENTDATA", mesh);
  }

  void Controls() {
    const Rgb buttonFace = Hex(0xEAF3FB);
    const Image buttonFrame = Layered(Strip({ButtonState(0), ButtonState(1), ButtonState(2)}),
                                      EachState(ButtonOutline(), kButtonWidth), buttonFace);
    Sec("BUTTON")
        .Set("STATES", 3)
        .Color("COLOR", buttonFace)
        .Color("HOTCOLOR", Hex(0xE2F0FD))
        .Color("FONTCOLOR", kInk)
        .Color("HOTFONTCOLOR", kInkDeep)
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA",
             Gradient(kVertical, {{Hex(0xFDFEFF), Hex(0xEEF5FC), 45}, {Hex(0xE3EEF9), Hex(0xD6E6F6), 55}}))
        .Set("HOTGRADIENTPERCENT", 100)
        .Set("HOTGRADIENTDATA", Gradient(kVertical, {{kWhite, Hex(0xE7F2FD), 45}, {Hex(0xD5E8FB), Hex(0xC4DEF8), 55}}))
        .Set("SHOWFOCUS", 1)
        .Set("FADINGENABLED", 1)
        .Set("FADINGITERATIONS", 5)
        .Set("GLOW", 1)
        .Set("GLOWMARGIN", 3)
        .Set("BORDERSMASK", OwnPng("BUTTON.PNG", buttonFrame, 3, {5, 5, 5, 5}, 4))
        .Set("GLOW0", OwnPng("BUTTONGLOW.PNG", GlowImage(8, 8, Hex(0x7DB8F5), 0.5), 1, {8, 8, 8, 8}, 4));

    Sec("EDIT")
        .Set("STATES", 2)
        .Color("COLOR", kWhite)
        .Color("HOTCOLOR", kWhite)
        .Color("FONTCOLOR", kInk)
        .Color("HOTFONTCOLOR", kInk)
        .Set("BORDERSMASK", OwnKeyPng("EDIT.PNG", Strip({EditFrameState(false), EditFrameState(true)}), kFormBase, 2,
                                      {2, 2, 2, 2}, 0));

    Sec("SELECTION")
        .Set("STATES", 2)
        .Color("COLOR", Hex(0xD6E4F3))
        .Color("HOTCOLOR", kAccent)
        .Color("FONTCOLOR", kInk)
        .Color("HOTFONTCOLOR", kWhite)
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA", Gradient(kHorizontal, {{Hex(0xDCE9F6), Hex(0xCCDDF0), 100}}))
        .Set("HOTGRADIENTPERCENT", 100)
        .Set("HOTGRADIENTDATA", Gradient(kHorizontal, {{Hex(0x3273BD), kAccentDeep, 100}}))
        .Set("BORDERSMASK", OwnPng("SELECTION.PNG",
                                   Strip({RoundFrame(10, 10, 2.5, Hex(0xA8C4E2), 0.9, kWhite, 0.5),
                                          RoundFrame(10, 10, 2.5, Hex(0x1F4F8A), 1.0, kWhite, 0.25)}),
                                   2, {3, 3, 3, 3}, 0));

    // The status bar: a small JPEG texture stretched and mixed with a
    // gradient; sunken panels, a one-pixel frame.
    AddFile("FROST.JPG", EncodeJpeg(FrostBand(160, 24), 92));
    Canvas barFrame(6, 6);
    barFrame.Fill(Rect(0, 0, 6, 6), Hex(0xD0DFEE));
    barFrame.Fill(Rect(0, 0, 6, 1), Hex(0xB4CBE3));
    barFrame.Fill(Rect(1, 1, 5, 5), Hex(0xE3EDF7));
    Plain("STATUSBAR", 1, Hex(0xDCE9F6), kInk)
        .Set("IMAGEPERCENT", 35)
        .Set("GRADIENTPERCENT", 65)
        .Set("GRADIENTDATA", Gradient(kVertical, {{Hex(0xEAF2FA), Hex(0xD3E3F3), 100}}))
        .Set("PATTERN", "FROST.JPG")
        .Set("BORDERSMASK", CaretValue(FMaster.Add(Flatten(barFrame, kWhite)), {1, 1, 1, 1}, 1, 0, 0))
        .Set("STATUSPANELMASK", OwnKeyPng("STATUSPANEL.PNG", StatusPanel(), Hex(0xDCE9F6), 1, {2, 2, 2, 2}, 0));

    Canvas divider(2, 4);
    divider.Fill(Rect(0, 0, 1, 4), Hex(0xA9C2DE));
    divider.Fill(Rect(1, 0, 2, 4), kWhite);
    Plain("DIVIDER", 1, Hex(0xC9DAEC), kInk)
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA", Gradient(kHorizontal, {{Hex(0xB7CDE5), kWhite, 50}, {kWhite, Hex(0xC9DAEC), 50}}))
        .Set("BORDERSMASK", CaretValue(FMaster.Add(Flatten(divider, kWhite)), {1, 1, 1, 1}, 1, 0, 0));
    Sec("DIVIDERV")
        .Set("PARENTCLASS", "DIVIDER")
        .Set("GRADIENTDATA", Gradient(kVertical, {{Hex(0xB7CDE5), kWhite, 50}, {kWhite, Hex(0xC9DAEC), 50}}));

    // Panels: a flat colour with small corner brackets.
    Canvas corner(6, 6);
    corner.Fill(Union(Rect(0, 0, 6, 2), Rect(0, 0, 2, 6)), Hex(0xA9C6E6));
    corner.Fill(Rect(1, 1, 5, 2), kWhite, 0.6);
    Sec("PANEL")
        .Color("COLOR", Hex(0xEEF4FB))
        .Color("HOTCOLOR", Hex(0xEEF4FB))
        .Color("FONTCOLOR", kInk)
        .Color("HOTFONTCOLOR", kInk)
        .Set("IMGTOPLEFT", AtValue(FMaster.Add(KeyCut(corner, Hex(0xEEF4FB))), 1, 0))
        .Set("IMGTOPRIGHT", AtValue(FMaster.Add(KeyCut(corner.FlippedHorizontally(), Hex(0xEEF4FB))), 1, 0))
        .Set("IMGBTMLEFT", AtValue(FMaster.Add(KeyCut(corner.FlippedVertically(), Hex(0xEEF4FB))), 1, 0))
        .Set("IMGBTMRIGHT",
             AtValue(FMaster.Add(KeyCut(corner.FlippedVertically().FlippedHorizontally(), Hex(0xEEF4FB))), 1, 0));
    Sec("PANEL_LOW").Set("PARENTCLASS", "PANEL").Color("COLOR", Hex(0xE4EDF7)).Color("HOTCOLOR", Hex(0xE4EDF7));

    Sec("GROUPBOX")
        .Set("TRANSPARENCY", 100)
        .Set("HOTTRANSPARENCY", 100)
        .Color("FONTCOLOR", kInk)
        .Color("HOTFONTCOLOR", kInk)
        .Set("BORDERSMASK",
             HashValue(FMaster.Add(Layered(RoundFrame(12, 12, 3.5, kLine, 0.8, kWhite, 0.7))), 1, 1, 4, 0));

    for (const char* name : {"CHECKBOX", "RADIOBUTTON"})
      Sec(name)
          .Set("STATES", 2)
          .Set("TRANSPARENCY", 100)
          .Set("HOTTRANSPARENCY", 100)
          .Color("FONTCOLOR", kInk)
          .Color("HOTFONTCOLOR", kInkDeep);
    Sec("WEBBUTTON")
        .Set("STATES", 2)
        .Set("TRANSPARENCY", 100)
        .Set("HOTTRANSPARENCY", 100)
        .Color("FONTCOLOR", kCheck)
        .Color("HOTFONTCOLOR", Hex(0x174A86));

    // Tabs: drawn for the top and turned for the other sides.
    Canvas tab = Strip({TabState(0), TabState(1), TabState(2)});
    auto tabStates = [](const Canvas& strip, bool transpose, bool flipV, bool flipH) {
      std::vector<Canvas> s;
      for (int i = 0; i < 3; ++i) {
        Canvas c = strip.Crop(i * 16, 0, 16, 20);
        if (flipV) c = c.FlippedVertically();
        if (transpose) c = c.Transposed();
        if (flipH) c = c.FlippedHorizontally();
        s.push_back(c);
      }
      return Strip(s);
    };
    Sec("TABTOP")
        .Set("STATES", 3)
        .Color("COLOR", Hex(0xE4EDF7))
        .Color("HOTCOLOR", Hex(0xF4F9FE))
        .Color("FONTCOLOR", kInk)
        .Color("HOTFONTCOLOR", kInkDeep)
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA", Gradient(kVertical, {{Hex(0xF3F8FD), Hex(0xDEE9F5), 100}}))
        .Set("HOTGRADIENTPERCENT", 100)
        .Set("HOTGRADIENTDATA", Gradient(kVertical, {{kWhite, Hex(0xE8F2FC), 100}}))
        .Set("BORDERSMASK", OwnPng("TABTOP.PNG", tab, 3, {5, 5, 5, 2}, 0));
    Sec("TABBOTTOM")
        .Set("PARENTCLASS", "TABTOP")
        .Set("BORDERSMASK", OwnPng("TABBOTTOM.PNG", tabStates(tab, false, true, false), 3, {5, 2, 5, 5}, 0));
    Sec("TABLEFT")
        .Set("PARENTCLASS", "TABTOP")
        .Set("BORDERSMASK", OwnPng("TABLEFT.PNG", tabStates(tab, true, false, false), 3, {5, 5, 2, 5}, 0));
    Sec("TABRIGHT")
        .Set("PARENTCLASS", "TABTOP")
        .Set("BORDERSMASK", OwnPng("TABRIGHT.PNG", tabStates(tab, true, false, true), 3, {2, 5, 5, 5}, 0));
    Plain("PAGECONTROL", 1, Hex(0xF4F8FC), kInk)
        .Set("BORDERSMASK",
             OwnPng("PAGECONTROL.PNG", RoundFrame(12, 12, 3.5, kLine, 1.0, kWhite, 0.8), 1, {4, 4, 4, 4}, 0));
    for (const char* name : {"PAGECONTROLBOTTOM", "PAGECONTROLLEFT", "PAGECONTROLRIGHT"})
      Sec(name).Set("PARENTCLASS", "PAGECONTROL");
    Sec("TABSHEET").Set("STATES", 1).Color("COLOR", Hex(0xF4F8FC)).Color("FONTCOLOR", kInk);

    // Track bar: thumbs for both directions, the channel and tick marks.
    Canvas slider = Strip({SliderState(0), SliderState(1), SliderState(2)});
    std::vector<Canvas> vertical;
    vertical.reserve(3);
    for (int i = 0; i < 3; ++i) vertical.push_back(SliderState(i).Transposed());
    Canvas channel(8, 6);
    channel.Fill(RoundRect(0, 0, 8, 6, 2), Hex(0xA9C2DE));
    channel.Fill(RoundRect(1, 1, 8, 6, 1.5), Hex(0xF2F7FC));
    Canvas tickH(1, 4), tickV(4, 1);
    tickH.Fill(Rect(0, 0, 1, 4), kLine);
    tickV.Fill(Rect(0, 0, 4, 1), kLine);
    Sec("TRACKBAR")
        .Set("STATES", 3)
        .Set("TRANSPARENCY", 100)
        .Set("HOTTRANSPARENCY", 100)
        .Color("FONTCOLOR", kInk)
        .Color("HOTFONTCOLOR", kInk)
        .Set("SLIDERMASK", OwnPng("SLIDER.PNG", slider, 3, {3, 3, 3, 6}, 0))
        .Set("SLIDERVMASK", OwnPng("SLIDERV.PNG", Strip(vertical), 3, {3, 3, 6, 3}, 0))
        .Set("SLIDERCHANNEL", OwnPng("CHANNEL.PNG", channel, 1, {2, 2, 2, 2}, 4))
        .Set("TICKHORZ", AtValue(FMaster.Add(KeyCut(tickH, kFormBase)), 1, 0))
        .Set("TICKVERT", AtValue(FMaster.Add(KeyCut(tickV, kFormBase)), 1, 0));

    Sec("GAUGE")
        .Set("PARENTCLASS", "EDIT")
        .Set("STATES", 1)
        .Color("COLOR", Hex(0xE4EDF7))
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA", Gradient(kVertical, {{Hex(0xF2F7FC), Hex(0xDDE9F5), 100}}));
    for (const auto& [name, parent] :
         std::initializer_list<std::pair<const char*, const char*>>{{"SPEEDBUTTON", "BUTTON"},
                                                                    {"SPEEDBUTTON_SMALL", "SPEEDBUTTON"},
                                                                    {"TOOLBUTTON", "SPEEDBUTTON"},
                                                                    {"COLHEADER", "BUTTON"}})
      Sec(name).Set("PARENTCLASS", parent);
  }

  void ScrollBars() {
    const Canvas frame = ScrollFrame();
    const std::string buttonFrame = HashValue(FMaster.Add(Layered(frame)), 3, 1, 4, 0);
    const std::string face = TildeValue(
        FMaster.Add(Flatten(
            Shaded(false, {{0, kWhite}, {0.5, Hex(0xE8F1FA)}, {0.51, Hex(0xDCE9F6)}, {1, Hex(0xE9F2FB)}}), kWhite)),
        1);
    const std::string faceHot = TildeValue(
        FMaster.Add(Flatten(
            Shaded(false, {{0, kWhite}, {0.5, Hex(0xDCEBFC)}, {0.51, Hex(0xC9E0F8)}, {1, Hex(0xDCEBFA)}}), kWhite)),
        1);
    Sec("SCROLLBTNTOP")
        .Set("STATES", 3)
        .Color("COLOR", Hex(0xE9F2FB))
        .Color("HOTCOLOR", Hex(0xDCEBFA))
        .Color("FONTCOLOR", kInk)
        .Color("HOTFONTCOLOR", kInk)
        .Set("IMAGEPERCENT", 100)
        .Set("HOTIMAGEPERCENT", 100)
        .Set("FADINGENABLED", 1)
        .Set("BORDERSMASK", buttonFrame)
        .Set("PATTERN", face)
        .Set("HOTPATTERN", faceHot)
        .Set("GLYPHMASK", AtValue(FMaster.Add(Layered(ArrowGlyph(Arrow::Up))), 3, 1));
    const struct {
      const char* name;
      Arrow arrow;
    } others[] = {{"SCROLLBTNBOTTOM", Arrow::Down}, {"SCROLLBTNLEFT", Arrow::Left}, {"SCROLLBTNRIGHT", Arrow::Right}};
    for (const auto& o : others)
      Sec(o.name)
          .Set("PARENTCLASS", "SCROLLBTNTOP")
          .Set("GLYPHMASK", AtValue(FMaster.Add(Layered(ArrowGlyph(o.arrow))), 3, 1));

    // Thumbs: shaded across the bar, grip lines in the middle.
    auto thumbFace = [this](bool vertical, bool hot) {
      Canvas c = Shaded(
          true, {{0, hot ? Hex(0xDCEBFA) : Hex(0xEEF5FC)}, {0.45, kWhite}, {1, hot ? Hex(0xC3DCF6) : Hex(0xD3E3F3)}});
      return TildeValue(FMaster.Add(Flatten(vertical ? c : c.Transposed(), kWhite)), 1);
    };
    Sec("SCROLLSLIDERV")
        .Set("STATES", 3)
        .Color("COLOR", Hex(0xE9F2FB))
        .Color("HOTCOLOR", Hex(0xDCEBFA))
        .Color("FONTCOLOR", kInk)
        .Color("HOTFONTCOLOR", kInk)
        .Set("IMAGEPERCENT", 100)
        .Set("HOTIMAGEPERCENT", 100)
        .Set("FADINGENABLED", 1)
        .Set("BORDERSMASK", HashValue(FMaster.Add(Layered(frame)), 3, 1, 4, 0))
        .Set("PATTERN", thumbFace(true, false))
        .Set("HOTPATTERN", thumbFace(true, true))
        .Set("GLYPHMASK", AtValue(FMaster.Add(Layered(GripLines(true))), 3, 1));
    Sec("SCROLLSLIDERH")
        .Set("PARENTCLASS", "SCROLLSLIDERV")
        .Set("PATTERN", thumbFace(false, false))
        .Set("HOTPATTERN", thumbFace(false, true))
        .Set("GLYPHMASK", AtValue(FMaster.Add(Layered(GripLines(false))), 3, 1));

    // Tracks: a groove shaded across the bar, darker while pressed.
    auto trackFace = [this](bool vertical, bool pressed) {
      Canvas c = Shaded(true, {{0, pressed ? Hex(0xCFDFF0) : Hex(0xE2ECF6)},
                               {0.5, pressed ? Hex(0xDDE8F4) : Hex(0xF3F7FB)},
                               {1, pressed ? Hex(0xCFDFF0) : Hex(0xE2ECF6)}});
      return TildeValue(FMaster.Add(Flatten(vertical ? c : c.Transposed(), kWhite)), 1);
    };
    Sec("SCROLLBAR1V")
        .Set("STATES", 3)
        .Color("COLOR", Hex(0xEDF3F9))
        .Color("HOTCOLOR", Hex(0xDDE8F4))
        .Color("FONTCOLOR", kInk)
        .Color("HOTFONTCOLOR", kInk)
        .Set("IMAGEPERCENT", 100)
        .Set("HOTIMAGEPERCENT", 100)
        .Set("BORDERSMASK", CaretValue(FMaster.Add(Layered(TrackFrame())), {3, 3, 3, 3}, 3, 1, 0))
        .Set("PATTERN", trackFace(true, false))
        .Set("HOTPATTERN", trackFace(true, true));
    Sec("SCROLLBAR2V").Set("PARENTCLASS", "SCROLLBAR1V");
    Sec("SCROLLBAR1H")
        .Set("PARENTCLASS", "SCROLLBAR1V")
        .Set("PATTERN", trackFace(false, false))
        .Set("HOTPATTERN", trackFace(false, true));
    Sec("SCROLLBAR2H").Set("PARENTCLASS", "SCROLLBAR1H");

    Sec("COMBOBOX")
        .Set("PARENTCLASS", "EDIT")
        .Set("GLYPHMASK", AtValue(FMaster.Add(Layered(ArrowGlyph(Arrow::Down))), 3, 1));
    Sec("COMBOBTN").Set("PARENTCLASS", "SCROLLBTNBOTTOM").Set("BORDERSMASK", buttonFrame);
    Sec("UPDOWNBTN").Set("PARENTCLASS", "SCROLLBTNTOP");
  }

  void Menus() {
    Sec("MENUITEM")
        .Set("STATES", 2)
        .Color("COLOR", Hex(0xFBFDFF))
        .Color("HOTCOLOR", Hex(0xDDECFB))
        .Color("FONTCOLOR", kInk)
        .Color("HOTFONTCOLOR", kInkDeep)
        .Set("HOTGRADIENTPERCENT", 100)
        .Set("HOTGRADIENTDATA", Gradient(kHorizontal, {{Hex(0xE6F1FC), Hex(0xD3E6FA), 100}}))
        // The frame only shows on the hot item (fill mode bit 2).
        .Set("BORDERSMASK", OwnPng("MENUITEM.PNG",
                                   Strip({RoundFrame(10, 10, 3, Hex(0x8DB5E0), 1.0, kWhite, 0.6),
                                          RoundFrame(10, 10, 3, Hex(0x8DB5E0), 1.0, kWhite, 0.6)}),
                                   2, {3, 3, 3, 3}, 2));
    GradientSection("MENULINE", Hex(0xE9F1FA), kInk, kVertical, Hex(0xF6FAFE), Hex(0xE2ECF7));
    Sec("MAINMENU").Set("PARENTCLASS", "MENULINE");
    GradientSection("ICOLINE", Hex(0xE3EDF8), kInk, kHorizontal, Hex(0xEEF4FB), Hex(0xDCE8F5));
    GradientSection("EXTRALINE", kAccent, kWhite, kVertical, Hex(0x3273BD), kAccentDeep);
  }

  void OtherSections() {
    GradientSection("TOOLBAR", Hex(0xE9F1FA), kInk, kVertical, Hex(0xF6FAFE), Hex(0xE0EBF6));
    Sec("BAR").Set("PARENTCLASS", "PANEL");
    GradientSection("BARTITLE", Hex(0xD7E7F7), kInk, kVertical, Hex(0xEAF3FC), Hex(0xCFE2F5));
    Sec("DRAGBAR").Set("PARENTCLASS", "BARTITLE");
    Plain("SPLITTER", 1, Hex(0xD3E3F3), kInk);

    // The large picture: a field of ice behind MDI children.
    AddFile("ICEFIELD.JPG", EncodeJpeg(IceField(1200, 760), 88));
    Plain("MDIAREA", 1, Hex(0xD8E6F4), kInk).Set("IMAGEPERCENT", 100).Set("PATTERN", "ICEFIELD.JPG");
  }

  Options FOptions;
  MasterSheet FMaster;
  std::vector<SkinFile> FFiles;
};

}  // namespace

std::string ToCodePage1251(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    std::uint32_t cp;
    int len;
    if (c < 0x80) {
      cp = c;
      len = 1;
    } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
      cp = (c & 0x1Fu) << 6 | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
      len = 2;
    } else if ((c & 0xF0) == 0xE0 && i + 2 < utf8.size()) {
      cp = (c & 0x0Fu) << 12 | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu) << 6 |
           (static_cast<unsigned char>(utf8[i + 2]) & 0x3Fu);
      len = 3;
    } else {
      throw std::invalid_argument("not UTF-8 text");
    }
    i += static_cast<std::size_t>(len);
    if (cp < 0x80)
      out += static_cast<char>(cp);
    else if (cp >= 0x410 && cp <= 0x44F)
      out += static_cast<char>(0xC0 + (cp - 0x410));
    else if (cp == 0x401)
      out += static_cast<char>(0xA8);  // Ё
    else if (cp == 0x451)
      out += static_cast<char>(0xB8);  // ё
    else if (cp == 0xAB)
      out += static_cast<char>(0xAB);  // «
    else if (cp == 0xBB)
      out += static_cast<char>(0xBB);  // »
    else if (cp == 0x2014)
      out += static_cast<char>(0x97);  // —
    else
      throw std::invalid_argument("character outside code page 1251: U+" + std::to_string(cp));
  }
  return out;
}

GeneratedSkin GenerateBlueIce() { return BlueIceBuilder().Build(); }

}  // namespace skingen
