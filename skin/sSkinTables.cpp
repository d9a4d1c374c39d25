// Lookups of the loaded skin.
#include "skin/sSkinTables.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace translit {

TsSkinTables::TsSkinTables(const TsSystemValues& system)
    : GlobalInfo(std::make_unique<TsSkinData>()), FSystem(&system) {}

TsSkinTables::~TsSkinTables() { ClearSkin(); }

TColorValue TsSkinTables::ColorToRGB(TColorValue color) const {
  if (color < 0) return static_cast<TColorValue>(FSystem->SysColor(color & 0xFF));
  return color;
}

int TsSkinTables::SectionIndex(std::string_view name) const {
  for (std::size_t i = 0; i < Sections.size(); ++i)
    if (Sections[i].Name == name) return static_cast<int>(i);
  return -1;
}

template <class Match>
int TsSkinTables::FindWithParents(int sectionIndex, std::string_view sectionName, std::string_view propName,
                                  Match match) const {
  // Each step moves to a parent section; a chain longer than the table has
  // returned to a section it passed and is cut there.
  for (std::size_t steps = 0; steps <= Sections.size(); ++steps) {
    if (sectionIndex < 0 || sectionName.empty()) return -1;
    if (int found = match(sectionName, propName); found >= 0) return found;
    if (static_cast<std::size_t>(sectionIndex) >= Sections.size()) return -1;
    const std::string& parent = Sections[static_cast<std::size_t>(sectionIndex)].Parent;
    if (parent.empty() || parent == sectionName) return -1;
    int parentIndex = SectionIndex(parent);
    if (parentIndex < 0) return -1;
    sectionIndex = parentIndex;
    sectionName = Sections[static_cast<std::size_t>(parentIndex)].Name;
  }
  return -1;
}

int TsSkinTables::MaskIndexDirect(std::string_view sectionName, std::string_view propName) const {
  if (sectionName.empty()) return -1;
  for (std::size_t i = 0; i < Masks.size(); ++i)
    if (Masks[i].Section == sectionName && Masks[i].Prop == propName) return static_cast<int>(i);
  return -1;
}

int TsSkinTables::MaskIndex(int sectionIndex, std::string_view sectionName, std::string_view propName) const {
  return FindWithParents(sectionIndex, sectionName, propName,
                         [this](std::string_view s, std::string_view p) { return MaskIndexDirect(s, p); });
}

int TsSkinTables::TextureIndex(int sectionIndex, std::string_view sectionName, std::string_view propName) const {
  if (Masks.empty()) return -1;
  return FindWithParents(sectionIndex, sectionName, propName, [this](std::string_view s, std::string_view p) {
    for (std::size_t i = 0; i < Masks.size(); ++i)
      if (Masks[i].Format == 1 && Masks[i].Section == s && Masks[i].Prop == p) return static_cast<int>(i);
    return -1;
  });
}

int TsSkinTables::PatternIndex(int sectionIndex, std::string_view sectionName, std::string_view propName) const {
  if (Patterns.empty()) return -1;
  return FindWithParents(sectionIndex, sectionName, propName, [this](std::string_view s, std::string_view p) {
    for (std::size_t i = 0; i < Patterns.size(); ++i)
      if (Patterns[i].Section == s && Patterns[i].Prop == p) return static_cast<int>(i);
    return -1;
  });
}

bool TsSkinTables::IsValidSection(int index) const {
  return GlobalInfo && index >= 0 && static_cast<std::size_t>(index) < Sections.size();
}

bool TsSkinTables::IsValidMask(int index) const { return index >= 0 && static_cast<std::size_t>(index) < Masks.size(); }

int TsSkinTables::MarginOrFallback(int maskIndex, std::int16_t TsMaskData::*margin, bool horizontal) {
  if (!IsValidMask(maskIndex)) return 0;
  TsMaskData& m = Masks[static_cast<std::size_t>(maskIndex)];
  if (m.*margin > 0) return m.*margin;
  if (m.UniformMargin > 0) return m.UniformMargin;
  if (m.StateCount == 0) m.StateCount = 1;
  return horizontal ? translit::MaskStateWidth(m) : translit::MaskStateHeight(m);
}

int TsSkinTables::MaskMarginLeft(int i) { return MarginOrFallback(i, &TsMaskData::MarginLeft, true); }
int TsSkinTables::MaskMarginRight(int i) { return MarginOrFallback(i, &TsMaskData::MarginRight, true); }
int TsSkinTables::MaskMarginTop(int i) { return MarginOrFallback(i, &TsMaskData::MarginTop, false); }
int TsSkinTables::MaskMarginBottom(int i) { return MarginOrFallback(i, &TsMaskData::MarginBottom, false); }

int TsSkinTables::MaskStateWidth(int i) const {
  return IsValidMask(i) ? translit::MaskStateWidth(Masks[static_cast<std::size_t>(i)]) : 0;
}

int TsSkinTables::MaskStateHeight(int i) const {
  return IsValidMask(i) ? translit::MaskStateHeight(Masks[static_cast<std::size_t>(i)]) : 0;
}

TColorValue TsSkinTables::GlobalColor() const {
  int i = SectionIndex("GLOBALINFO");
  return ColorToRGB(i < 0 ? clSysBtnFace : Sections[static_cast<std::size_t>(i)].Color);
}

TColorValue TsSkinTables::GlobalFontColor() const {
  int i = SectionIndex("GLOBALINFO");
  return i < 0 ? clSkinTransparent : ColorToRGB(Sections[static_cast<std::size_t>(i)].FontColor);
}

TColorValue TsSkinTables::GlobalHotColor() const {
  int i = SectionIndex("GLOBALINFO");
  return ColorToRGB(i < 0 ? clSysWindow : Sections[static_cast<std::size_t>(i)].HotColor);
}

TColorValue TsSkinTables::EditFontColor() const {
  int i = SectionIndex("EDIT");
  return i < 0 ? clSysWindowText : ColorToRGB(Sections[static_cast<std::size_t>(i)].States[0].FontColor);
}

TColorValue TsSkinTables::SelectionColor(bool focused) const {
  int i = SectionIndex("SELECTION");
  if (i >= 0) {
    const TsGeneralData& s = Sections[static_cast<std::size_t>(i)];
    TColorValue c = focused && s.StateCount > 1 ? s.States[1].Color : s.States[0].Color;
    if (c != clNone && c != clSkinTransparent) return ColorToRGB(c);
  }
  int m = SectionIndex("MENUITEM");
  if (m >= 0) {
    TColorValue c = Sections[static_cast<std::size_t>(m)].HotColor;
    if (c != clSkinTransparent && c != 0xFFFFFF && c != clNone) return ColorToRGB(c);
  }
  return clSysHighlight;
}

TColorValue TsSkinTables::SelectionFontColor(bool focused) const {
  int i = SectionIndex("SELECTION");
  if (i >= 0) {
    const TsGeneralData& s = Sections[static_cast<std::size_t>(i)];
    TColorValue c = focused && s.StateCount > 1 ? s.States[1].FontColor : s.States[0].FontColor;
    if (c != clNone && c != clSkinTransparent) return ColorToRGB(c);
  }
  int m = SectionIndex("MENUITEM");
  if (m >= 0) {
    TColorValue c = Sections[static_cast<std::size_t>(m)].HotFontColor;
    if (c != clNone && c != clSkinTransparent) return ColorToRGB(c);
  }
  return clSysHighlightText;
}

namespace {

// The lookups of one pass over the whole tables (the indexes computed after
// a load): sections by name, parents by index and pieces by section and
// property, each built once. A step along a parent chain then costs a map
// look-up, not a search of every section and piece, and the frame indexes
// of all sections take one step per section: a crafted skin with a chain of
// thousands of sections loads in time linear in its size. The answers are
// those of FindWithParents.
class ChainIndex {
 public:
  explicit ChainIndex(const TsSkinTables& t) : FTables(t), FParent(t.Sections.size(), -1) {
    for (std::size_t i = 0; i < t.Sections.size(); ++i) FSections.emplace(t.Sections[i].Name, static_cast<int>(i));
    for (std::size_t i = 0; i < t.Sections.size(); ++i) {
      const TsGeneralData& s = t.Sections[i];
      if (!s.Parent.empty() && s.Parent != s.Name) FParent[i] = Section(s.Parent);
    }
    for (std::size_t i = 0; i < t.Masks.size(); ++i) {
      const TsMaskData& m = t.Masks[i];
      FMasks.emplace(Key{m.Section, m.Prop}, static_cast<int>(i));
      if (m.Format == 1) FTextures.emplace(Key{m.Section, m.Prop}, static_cast<int>(i));
    }
  }

  int Section(std::string_view name) const {
    auto it = FSections.find(name);
    return it == FSections.end() ? -1 : it->second;
  }
  int MaskDirect(std::string_view section, std::string_view prop) const {
    return section.empty() ? -1 : Find(FMasks, section, prop);
  }
  int Mask(int sectionIndex, std::string_view section, std::string_view prop) const {
    return Walk(FMasks, sectionIndex, section, prop);
  }
  int Texture(int sectionIndex, std::string_view section, std::string_view prop) const {
    return FTables.Masks.empty() ? -1 : Walk(FTextures, sectionIndex, section, prop);
  }

  // The piece of prop for every section, each from its parent's answer
  // unless it has its own; a loop without the piece gives -1.
  std::vector<int> MaskOfEverySection(std::string_view prop) const {
    constexpr int kUnknown = -3, kOnPath = -2;
    std::vector<int> known(FParent.size(), kUnknown);
    std::vector<int> path;
    for (std::size_t start = 0; start < known.size(); ++start) {
      int result = -1;
      path.clear();
      for (int at = static_cast<int>(start); at >= 0;) {
        int& k = known[static_cast<std::size_t>(at)];
        if (k == kOnPath) break;
        if (k != kUnknown) {
          result = k;
          break;
        }
        const std::string& name = FTables.Sections[static_cast<std::size_t>(at)].Name;
        if (name.empty()) {
          k = -1;
          break;
        }
        if (int own = Find(FMasks, name, prop); own >= 0) {
          result = k = own;
          break;
        }
        k = kOnPath;
        path.push_back(at);
        at = FParent[static_cast<std::size_t>(at)];
      }
      for (int at : path) known[static_cast<std::size_t>(at)] = result;
    }
    return known;
  }

 private:
  using Key = std::pair<std::string_view, std::string_view>;
  using PieceMap = std::map<Key, int>;

  static int Find(const PieceMap& pieces, std::string_view section, std::string_view prop) {
    auto it = pieces.find(Key{section, prop});
    return it == pieces.end() ? -1 : it->second;
  }

  int Walk(const PieceMap& pieces, int sectionIndex, std::string_view sectionName, std::string_view prop) const {
    for (std::size_t steps = 0; steps <= FParent.size(); ++steps) {
      if (sectionIndex < 0 || sectionName.empty()) return -1;
      if (int found = Find(pieces, sectionName, prop); found >= 0) return found;
      if (static_cast<std::size_t>(sectionIndex) >= FParent.size()) return -1;
      sectionIndex = FParent[static_cast<std::size_t>(sectionIndex)];
      if (sectionIndex < 0) return -1;
      sectionName = FTables.Sections[static_cast<std::size_t>(sectionIndex)].Name;
    }
    return -1;
  }

  const TsSkinTables& FTables;
  std::vector<int> FParent;                   // first section named by Parent, or -1
  std::map<std::string_view, int> FSections;  // first section of each name
  PieceMap FMasks, FTextures;                 // first piece of each section and property
};

// The frame pieces of every section from the lookups of the whole tables.
void FillFrameIndexes(TsSkinTables& t, const ChainIndex& chains) {
  const std::vector<int> border = chains.MaskOfEverySection("BORDERSMASK");
  const std::vector<int> topLeft = chains.MaskOfEverySection("IMGTOPLEFT");
  const std::vector<int> topRight = chains.MaskOfEverySection("IMGTOPRIGHT");
  const std::vector<int> bottomLeft = chains.MaskOfEverySection("IMGBTMLEFT");
  const std::vector<int> bottomRight = chains.MaskOfEverySection("IMGBTMRIGHT");
  for (std::size_t i = 0; i < t.Sections.size(); ++i) {
    TsGeneralData& s = t.Sections[i];
    if (s.Name == "GLOBALINFO") continue;
    s.BorderIndex = border[i];
    s.CornerTL = topLeft[i];
    s.CornerTR = topRight[i];
    s.CornerBL = bottomLeft[i];
    s.CornerBR = bottomRight[i];
  }
}

}  // namespace

void TsSkinTables::UpdateFrameIndexes() { FillFrameIndexes(*this, ChainIndex(*this)); }

void TsSkinTables::UpdateConstIndexes() {
  TsConstIndexes& c = ConstIndexes;
  c = TsConstIndexes{};
  const ChainIndex chains(*this);
  auto mask = [&](std::string_view section, std::string_view prop) {
    return chains.Mask(chains.Section(section), section, prop);
  };
  auto maskIf = [&](int sectionIndex, std::string_view section, std::string_view prop) {
    return sectionIndex < 0 ? -1 : chains.Mask(sectionIndex, section, prop);
  };
  auto texture = [&](std::string_view section, std::string_view prop) {
    return chains.Texture(chains.Section(section), section, prop);
  };

  c.GlobalInfoIndex = chains.Section("GLOBALINFO");
  c.CheckBoxChecked = mask("GLOBALINFO", "BOXCHECKED");
  c.CheckBoxUnchecked = mask("GLOBALINFO", "BOXUNCHECKED");
  c.CheckBoxGrayed = mask("GLOBALINFO", "BOXGRAYED");
  c.RadioChecked = mask("GLOBALINFO", "RADIOCHECKED");
  c.RadioUnchecked = mask("GLOBALINFO", "RADIOUNCHECKED");
  c.RadioGrayed = mask("GLOBALINFO", "RADIOGRAYED");
  c.SmallCheckBoxChecked = mask("GLOBALINFO", "SMALLCHECKED");
  c.SmallCheckBoxUnchecked = mask("GLOBALINFO", "SMALLUNCHECKED");
  c.SmallCheckBoxGrayed = mask("GLOBALINFO", "SMALLGRAYED");
  c.ExBorder = mask("GLOBALINFO", "EXBORDER");

  c.ComboBtnIndex = chains.Section("COMBOBTN");
  c.ComboBtnBorder = chains.MaskDirect("COMBOBTN", "BORDERSMASK");
  c.ComboBtnBG = texture("COMBOBTN", "PATTERN");
  c.ComboBtnBGHot = texture("COMBOBTN", "HOTPATTERN");
  c.ComboGlyph = chains.MaskDirect("COMBOBOX", "GLYPHMASK");

  struct Tab {
    const char* name;
    int* section;
    int* mask;
  } tabs[] = {{"TABTOP", &c.TabTop, &c.TabTopMask},
              {"TABBOTTOM", &c.TabBottom, &c.TabBottomMask},
              {"TABLEFT", &c.TabLeft, &c.TabLeftMask},
              {"TABRIGHT", &c.TabRight, &c.TabRightMask}};
  for (const Tab& t : tabs) {
    *t.section = chains.Section(t.name);
    *t.mask = chains.Mask(*t.section, t.name, "BORDERSMASK");
  }

  struct Button {
    const char* name;
    int *section, *mask, *arrow, *bg, *bgHot;
  } buttons[] = {
      {"SCROLLBTNTOP", &c.ScrollBtnTop, &c.ScrollBtnTopMask, &c.ArrowTop, &c.ScrollBtnTopBG, &c.ScrollBtnTopBGHot},
      {"SCROLLBTNBOTTOM", &c.ScrollBtnBottom, &c.ScrollBtnBottomMask, &c.ArrowBottom, &c.ScrollBtnBottomBG,
       &c.ScrollBtnBottomBGHot},
      {"SCROLLBTNLEFT", &c.ScrollBtnLeft, &c.ScrollBtnLeftMask, &c.ArrowLeft, &c.ScrollBtnLeftBG,
       &c.ScrollBtnLeftBGHot},
      {"SCROLLBTNRIGHT", &c.ScrollBtnRight, &c.ScrollBtnRightMask, &c.ArrowRight, &c.ScrollBtnRightBG,
       &c.ScrollBtnRightBGHot},
  };
  for (const Button& b : buttons) {
    *b.section = chains.Section(b.name);
    *b.mask = chains.Mask(*b.section, b.name, "BORDERSMASK");
    *b.arrow = maskIf(*b.section, b.name, "GLYPHMASK");
    *b.bg = chains.Mask(*b.section, b.name, "PATTERN");
    *b.bgHot = chains.Mask(*b.section, b.name, "HOTPATTERN");
  }

  struct Slider {
    const char* name;
    int *section, *mask, *glyph, *bg, *bgHot;
  } sliders[] = {
      {"SCROLLSLIDERV", &c.SliderVert, &c.SliderVertMask, &c.SliderVertGlyph, &c.SliderVertBG, &c.SliderVertBGHot},
      {"SCROLLSLIDERH", &c.SliderHorz, &c.SliderHorzMask, &c.SliderHorzGlyph, &c.SliderHorzBG, &c.SliderHorzBGHot},
  };
  for (const Slider& s : sliders) {
    *s.section = chains.Section(s.name);
    *s.mask = chains.Mask(*s.section, s.name, "BORDERSMASK");
    *s.glyph = maskIf(*s.section, s.name, "GLYPHMASK");
    *s.bg = chains.Mask(*s.section, s.name, "PATTERN");
    *s.bgHot = chains.Mask(*s.section, s.name, "HOTPATTERN");
  }

  struct Track {
    const char* name;
    int *section, *mask, *bg, *bgHot;
  } tracks[] = {
      {"SCROLLBAR1H", &c.ScrollBar1H, &c.ScrollBar1HMask, &c.ScrollBar1HBG, &c.ScrollBar1HBGHot},
      {"SCROLLBAR1V", &c.ScrollBar1V, &c.ScrollBar1VMask, &c.ScrollBar1VBG, &c.ScrollBar1VBGHot},
      {"SCROLLBAR2H", &c.ScrollBar2H, &c.ScrollBar2HMask, &c.ScrollBar2HBG, &c.ScrollBar2HBGHot},
      {"SCROLLBAR2V", &c.ScrollBar2V, &c.ScrollBar2VMask, &c.ScrollBar2VBG, &c.ScrollBar2VBGHot},
  };
  for (const Track& t : tracks) {
    *t.section = chains.Section(t.name);
    *t.mask = chains.Mask(*t.section, t.name, "BORDERSMASK");
    *t.bg = chains.Mask(*t.section, t.name, "PATTERN");
    *t.bgHot = chains.Mask(*t.section, t.name, "HOTPATTERN");
  }

  // The same lookups serve the frame indexes: nothing has changed since.
  FillFrameIndexes(*this, chains);
  ConstIndexesUpdated();
}

void TsSkinTables::ClearSkin() {
  while (!Masks.empty()) Masks.pop_back();
  MasterBitmap.reset();
  Patterns.clear();
  Sections.clear();
  if (GlobalInfo) GlobalInfo->Loaded = false;
}

}  // namespace translit
