// What every generated skin shares: the options text as it is written,
// the value syntaxes that name image pieces (cut from the master bitmap or
// with a file of their own), gradient texts, the master bitmap's layout and
// a few drawing helpers for strips of state images.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "skins/SkinCanvas.h"

namespace skingen {

// ---- Options text.

inline std::string Dec(long v) { return std::to_string(v); }

class Options {
 public:
  class Section {
   public:
    explicit Section(std::string name) : Name(std::move(name)) {}
    Section& Set(const std::string& key, const std::string& value) {
      for (auto& kv : Keys)
        if (kv.first == key) throw std::logic_error("key " + key + " set twice in " + Name);
      Keys.emplace_back(key, value);
      return *this;
    }
    Section& Set(const std::string& key, long value) { return Set(key, Dec(value)); }
    Section& Color(const std::string& key, Rgb c) { return Set(key, Dec(ColorValue(c))); }

    std::string Name;
    std::vector<std::pair<std::string, std::string>> Keys;
  };

  Section& operator[](const std::string& name) {
    for (Section& s : FSections)
      if (s.Name == name) return s;
    return FSections.emplace_back(name);
  }

  std::string Text() const {
    std::string out;
    for (const Section& s : FSections) {
      out += "[" + s.Name + "]\r\n";
      for (const auto& kv : s.Keys) out += kv.first + "=" + kv.second + "\r\n";
      out += "\r\n";
    }
    return out;
  }

 private:
  std::deque<Section> FSections;  // references stay valid as sections are added
};

struct GradStop {
  Rgb from, to;
  int percent;
};

enum GradMode { kVertical = 0, kHorizontal = 1, kTriangles = 2 };

// Five words per stop: colour 1, colour 2, percent, mode, one unused word.
inline std::string Gradient(GradMode mode, std::initializer_list<GradStop> stops) {
  std::string out;
  for (const GradStop& s : stops)
    out += Dec(ColorValue(s.from)) + ";" + Dec(ColorValue(s.to)) + ";" + Dec(s.percent) + ";" + Dec(mode) + ";0;";
  return out;
}

// The triangle mesh takes one colour per vertex: the corners top-left,
// centre, top-right, bottom-right, bottom-left, each as a stop's first colour.
inline std::string TriangleGradient(std::initializer_list<Rgb> vertices) {
  std::string out;
  for (Rgb c : vertices) out += Dec(ColorValue(c)) + ";" + Dec(ColorValue(c)) + ";0;2;0;";
  return out;
}

// ---- Piece values.

struct Place {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

inline std::string Fixed4(int v) {
  if (v < 0 || v > 9999) throw std::out_of_range("piece coordinate out of the fixed fields");
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04d", v);
  return buf;
}

inline std::string Digit(int v) {
  if (v < 0 || v > 9) throw std::out_of_range("one-digit field");
  return Dec(v);
}

inline std::string RectFields(const Place& p) {
  return Fixed4(p.Left) + "," + Fixed4(p.Top) + "," + Fixed4(p.Right) + "," + Fixed4(p.Bottom);
}

// "@": cut from the master bitmap, no margins.
inline std::string AtValue(const Place& p, int states, int layers) {
  return std::string(1, '@') + RectFields(p) + "," + Digit(states) + "," + Digit(layers);
}

struct Margins {
  int Left, Top, Right, Bottom;
};

// "^": cut from the master bitmap with its frame widths.
inline std::string CaretValue(const Place& p, Margins m, int states, int layers, int fill) {
  return std::string(1, '^') + RectFields(p) + "," + Fixed4(m.Left) + "," + Fixed4(m.Top) + "," + Fixed4(m.Right) +
         "," + Fixed4(m.Bottom) + "," + Digit(states) + "," + Digit(layers) + "," + Digit(fill) + ",0";
}

// "~": a texture cut from the master bitmap.
inline std::string TildeValue(const Place& p, int textureMode) {
  char mode[4];
  std::snprintf(mode, sizeof mode, "%02d", textureMode);
  return std::string(1, '~') + RectFields(p) + "," + mode + ",0";
}

// "name#(rect) (states,layers,margin,fill)".
inline std::string HashValue(const Place& p, int states, int layers, int margin, int fill) {
  return "MASTER#(" + Dec(p.Left) + "," + Dec(p.Top) + "," + Dec(p.Right) + "," + Dec(p.Bottom) + ") (" + Dec(states) +
         "," + Dec(layers) + "," + Dec(margin) + "," + Dec(fill) + ")";
}

// "!": a piece with its own file.
inline std::string BangValue(const std::string& file, int states, int layers, Margins m, int fill) {
  return "!" + file + "!" + Dec(states) + "!" + Dec(layers) + "!0!" + Dec(m.Left) + "!" + Dec(m.Top) + "!" +
         Dec(m.Right) + "!" + Dec(m.Bottom) + "!" + Dec(fill);
}

// "!" with only file, states, layers and format: frame widths from the 3 x 3
// grid of one state.
inline std::string BangGridValue(const std::string& file, int states, int layers) {
  return "!" + file + "!" + Dec(states) + "!" + Dec(layers) + "!0";
}

// ---- The master bitmap: pieces laid in rows, two key pixels apart.

class MasterSheet {
 public:
  static constexpr int kWidth = 256;
  static constexpr int kGap = 2;

  Place Add(const Image& piece) {
    if (piece.Width > kWidth) throw std::logic_error("piece wider than the master bitmap");
    if (FX + piece.Width > kWidth) {
      FY += FRowHeight + kGap;
      FX = 0;
      FRowHeight = 0;
    }
    Place p{FX, FY, FX + piece.Width, FY + piece.Height};
    FPieces.emplace_back(p, piece);
    FX += piece.Width + kGap;
    FRowHeight = std::max(FRowHeight, piece.Height);
    return p;
  }

  Image Compose() const {
    Image out(kWidth, FY + FRowHeight, false);
    for (int y = 0; y < out.Height; ++y)
      for (int x = 0; x < out.Width; ++x) out.Set(x, y, kKey);
    for (const auto& [p, img] : FPieces) out.Put(img, p.Left, p.Top);
    return out;
  }

 private:
  int FX = 0, FY = 0, FRowHeight = 0;
  std::vector<std::pair<Place, Image>> FPieces;
};

// ---- Drawing helpers.

// State images side by side.
inline Canvas Strip(const std::vector<Canvas>& states) {
  int w = 0, h = 0;
  for (const Canvas& c : states) {
    w += c.Width();
    h = std::max(h, c.Height());
  }
  Canvas out(w, h);
  int x = 0;
  for (const Canvas& c : states) {
    out.Put(c, x, 0);
    x += c.Width();
  }
  return out;
}

inline Shape Polyline(std::initializer_list<std::pair<double, double>> points, double w) {
  std::vector<std::pair<double, double>> p(points);
  Shape s = Segment(p[0].first, p[0].second, p[1].first, p[1].second, w);
  for (std::size_t i = 2; i < p.size(); ++i)
    s = Union(std::move(s), Segment(p[i - 1].first, p[i - 1].second, p[i].first, p[i].second, w));
  return s;
}

// A shape drawn for one state, repeated for every state of a strip.
inline Shape EachState(Shape s, int stateWidth) {
  return [s = std::move(s), stateWidth](double x, double y) { return s(std::fmod(x, stateWidth), y); };
}

// The frame of a rectangle, w pixels wide, on its inside.
inline Shape Frame(double l, double t, double r, double b, double w) { return InnerStroke(Rect(l, t, r, b), w); }

}  // namespace skingen
