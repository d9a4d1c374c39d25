// The skin "Slate": its palette, the frame's pieces and the options text.
// Where BlueIce is light with rounded corners and soft gradients, Slate is
// dark with square plates, a copper accent line under the title and
// chamfered (or, without cut corners, square) frame corners.
#include "skins/Slate.h"

#include <string>
#include <vector>

#include "skins/ImageFiles.h"
#include "skins/SkinCanvas.h"
#include "skins/SkinPieces.h"

namespace skingen {

namespace {

constexpr Rgb kBase = Hex(0x3A4048);  // client
constexpr Rgb kBaseTop = Hex(0x464D56);
constexpr Rgb kBaseBottom = Hex(0x2F343A);
constexpr Rgb kText = Hex(0xE8EAED);
constexpr Rgb kCopper = Hex(0xC8763A);
constexpr Rgb kCopperDeep = Hex(0x9A5526);
constexpr Rgb kEdgeInactive = Hex(0x6B6F75);
constexpr Rgb kBand = Hex(0x24282D);
constexpr Rgb kTitleFace = Hex(0x4B525B);
constexpr Rgb kCaptionActive = Hex(0xF6E7D7);
constexpr Rgb kCaptionInactive = Hex(0xA9ADB3);

// A rectangle whose corners are cut at 45 degrees, cut pixels deep.
Shape Chamfered(double l, double t, double r, double b, double cut, bool bottomToo) {
  Shape s = Rect(l, t, r, b);
  if (cut <= 0) return s;
  s = Subtract(std::move(s), Triangle(l - 0.01, t - 0.01, l + cut, t - 0.01, l - 0.01, t + cut));
  s = Subtract(std::move(s), Triangle(r + 0.01, t - 0.01, r - cut, t - 0.01, r + 0.01, t + cut));
  if (bottomToo) {
    s = Subtract(std::move(s), Triangle(l - 0.01, b + 0.01, l + cut, b + 0.01, l - 0.01, b - cut));
    s = Subtract(std::move(s), Triangle(r + 0.01, b + 0.01, r - cut, b + 0.01, r + 0.01, b - cut));
  }
  return s;
}

// The frame ring: a one-pixel edge (copper while active) and a dark band.
Canvas FrameState(bool active, double cut) {
  Canvas c(12, 12);
  c.Fill(Chamfered(0, 0, 12, 12, cut, true), active ? kCopper : kEdgeInactive);
  c.Fill(Chamfered(1, 1, 11, 11, cut > 0 ? cut - 1 : 0, true), kBand);
  c.Fill(Rect(3, 3, 9, 9), kBase);
  return c;
}

// The title's frame: the edge around the top and sides, a copper line
// closing the title at the bottom; the middle is clear.
Shape TitleOutline(int w, int h, double cut) { return Chamfered(0, 0, w, h + 10, cut, false); }

Canvas TitleState(bool active, int w, int h, double cut) {
  Canvas c(w, h);
  c.Fill(InnerStroke(TitleOutline(w, h, cut), 1), active ? kCopper : kEdgeInactive);
  c.Fill(Rect(1, h - 2, w - 1, h), active ? kCopper : kEdgeInactive, active ? 0.9 : 0.5);
  return c;
}

// The plate behind the title buttons: a darker square band with a copper
// edge on its left.
Canvas PlateState(bool active) {
  Canvas c(24, 22);
  c.Fill(Rect(0, 0, 24, 22), kBand, active ? 0.55 : 0.35);
  c.Fill(Rect(0, 0, 1, 22), active ? kCopper : kEdgeInactive, 0.8);
  return c;
}

enum class Glyph { Close, Max, Min, Norm, Help };

Shape GlyphShape(Glyph g, int w, int h) {
  const double cx = w / 2.0, cy = h / 2.0, s = 3.5;
  switch (g) {
    case Glyph::Close:
      return Union(Segment(cx - s, cy - s, cx + s, cy + s, 1.4), Segment(cx - s, cy + s, cx + s, cy - s, 1.4));
    case Glyph::Max:
      return Frame(cx - 4, cy - 4, cx + 4, cy + 4, 1.5);
    case Glyph::Min:
      return Rect(cx - 4, cy + 2, cx + 4, cy + 4);
    case Glyph::Norm:
      return Union(Frame(cx - 4, cy - 1, cx + 2, cy + 4, 1.2), Frame(cx - 1, cy - 4, cx + 4, cy + 1, 1.2));
    case Glyph::Help:
      return Union(Frame(cx - 2, cy - 4, cx + 2, cy, 1.2), Rect(cx - 0.6, cy + 2, cx + 0.6, cy + 4));
  }
  return Rect(0, 0, 0, 0);
}

// Square plates: normal clear with a light glyph, hot copper (red-brown for
// close), pressed deep copper.
Canvas ButtonStrip(Glyph g, int w, int h) {
  std::vector<Canvas> states;
  for (int state = 0; state < 3; ++state) {
    Canvas c(w, h);
    const Shape plate = Rect(0, 0, w, h);
    if (state == 0) {
      c.Fill(InnerStroke(plate, 1), kEdgeInactive, 0.6);
    } else {
      const bool close = g == Glyph::Close;
      c.Fill(plate, state == 1 ? (close ? Hex(0xB23A2E) : kCopper) : (close ? Hex(0x7E241C) : kCopperDeep));
    }
    c.Fill(GlyphShape(g, w, h), state == 0 ? kText : Hex(0xFFFFFF));
    states.push_back(c);
  }
  return Strip(states);
}

class SlateBuilder {
 public:
  explicit SlateBuilder(bool cutCorners) : FCut(cutCorners ? 3 : 0) {}

  GeneratedSkin Build() {
    Global();
    FrameSections();
    GeneratedSkin skin;
    skin.Options = FOptions.Text();
    FFiles.push_back({"MASTER.BMP", EncodeBmp(FMaster.Compose())});
    skin.Images = std::move(FFiles);
    return skin;
  }

 private:
  Options::Section& Sec(const std::string& name) { return FOptions[name]; }

  void Global() {
    Options::Section& g = Sec("GLOBALINFO");
    g.Set("VERSION", "7.2")
        .Set("AUTHOR", "Translit")
        .Set("DESCRIPTION", "Slate: dark grey frame, copper accent")
        .Set("MASTERBITMAP", "MASTER.BMP")
        .Set("STATES", 1)
        .Color("COLOR", kBase)
        .Color("FONTCOLOR", kText)
        .Set("BORDERWIDTH", 4)
        .Set("TITLEHEIGHT", 24)
        .Set("FORMOFFSET", 4)
        .Set("BORDERMODE", 0)
        .Color("BORDERCOLOR", kCopper)
        .Set("BISPACE", 2)
        .Set("BIVALIGN", 0)
        .Set("BIRIGHT", 3)
        .Set("BILEFT", 3)
        .Set("BITOP", 1);
    const struct {
      const char* key;
      Glyph glyph;
      int w, h;
    } buttons[] = {{"BICONCLOSE", Glyph::Close, 25, 18}, {"BICONMAX", Glyph::Max, 25, 18},
                   {"BICONMIN", Glyph::Min, 25, 18},     {"BICONNORM", Glyph::Norm, 25, 18},
                   {"BICONHELP", Glyph::Help, 25, 18},   {"SICONCLOSE", Glyph::Close, 19, 15},
                   {"SICONMAX", Glyph::Max, 19, 15},     {"SICONMIN", Glyph::Min, 19, 15},
                   {"SICONNORM", Glyph::Norm, 19, 15},   {"SICONHELP", Glyph::Help, 19, 15}};
    for (const auto& b : buttons) g.Set(b.key, AtValue(FMaster.Add(Layered(ButtonStrip(b.glyph, b.w, b.h))), 3, 1));
    g.Set("TITLEBUTTON", AtValue(FMaster.Add(Layered(ButtonStrip(Glyph::Max, 19, 15))), 3, 1));
  }

  void FrameSections() {
    const std::string body = Gradient(kVertical, {{kBaseTop, kBaseBottom, 100}});
    Sec("FORM")
        .Set("STATES", 2)
        .Color("COLOR", kBase)
        .Color("HOTCOLOR", kBase)
        .Color("FONTCOLOR", kText)
        .Color("HOTFONTCOLOR", kText)
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA", body)
        .Set("HOTGRADIENTPERCENT", 100)
        .Set("HOTGRADIENTDATA", body)
        .Set("BORDERSMASK",
             CaretValue(FMaster.Add(KeyCut(Strip({FrameState(false, FCut), FrameState(true, FCut)}), kBand)),
                        {3, 3, 3, 3}, 2, 0, 0));
    const Image title = Layered(Strip({TitleState(false, 24, 22, FCut), TitleState(true, 24, 22, FCut)}),
                                EachState(TitleOutline(24, 22, FCut), 24), kTitleFace);
    Sec("FORMTITLE")
        .Set("STATES", 2)
        .Color("COLOR", kTitleFace)
        .Color("HOTCOLOR", Hex(0x555D67))
        .Color("FONTCOLOR", kCaptionInactive)
        .Color("HOTFONTCOLOR", kCaptionActive)
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA", Gradient(kVertical, {{Hex(0x50565E), Hex(0x41464D), 100}}))
        .Set("HOTGRADIENTPERCENT", 100)
        .Set("HOTGRADIENTDATA", Gradient(kVertical, {{Hex(0x636B76), Hex(0x464D56), 100}}))
        .Set("BORDERSMASK", CaretValue(FMaster.Add(title), {6, 6, 6, 2}, 2, 1, 0))
        .Set("TITLEBAR", AtValue(FMaster.Add(Layered(Strip({PlateState(false), PlateState(true)}))), 2, 1));
    Sec("CAPTION")
        .Set("STATES", 2)
        .Set("TRANSPARENCY", 100)
        .Set("HOTTRANSPARENCY", 100)
        .Color("FONTCOLOR", kCaptionInactive)
        .Color("HOTFONTCOLOR", kCaptionActive)
        .Color("HOTTCBOTTOM", Hex(0x1C1F23));
    Sec("TITLEBUTTON").Set("PARENTCLASS", "FORMTITLE");
    Sec("MENULINE")
        .Set("STATES", 1)
        .Color("COLOR", Hex(0x33383F))
        .Color("FONTCOLOR", kText)
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA", Gradient(kVertical, {{Hex(0x3B4148), Hex(0x2C3136), 100}}));
    Sec("DIALOG")
        .Set("PARENTCLASS", "FORM")
        .Set("STATES", 2)
        .Color("COLOR", kBase)
        .Color("HOTCOLOR", kBase)
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA", Gradient(kHorizontal, {{kBaseTop, kBaseBottom, 100}}))
        .Set("HOTGRADIENTPERCENT", 100)
        .Set("HOTGRADIENTDATA", Gradient(kHorizontal, {{kBaseTop, kBaseBottom, 100}}));
  }

  double FCut;
  Options FOptions;
  MasterSheet FMaster;
  std::vector<SkinFile> FFiles;
};

}  // namespace

GeneratedSkin GenerateSlate(bool cutCorners) { return SlateBuilder(cutCorners).Build(); }

}  // namespace skingen
