// The generated skin "BlueIce" read back with the engine's portable readers:
// the options reader, the image value parser, the section reader and the
// packed reader, with the PNG and JPEG decoders for the images. The pieces go
// into the tables as the loader puts them there, so the lookups the painters
// make (parent fallback included) are the ones checked here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "framework/core/Classes.h"
#include "skin/acIniFile.h"
#include "skin/acSkinPack.h"
#include "skin/sImageValue.h"
#include "skin/sSkinOptions.h"
#include "skin/sSkinTables.h"
#include "tests/skin/SkinFixtures.h"
#include "tests/skins/Pictures.h"

namespace translit {
namespace {

namespace fs = std::filesystem;
using test::Decode;
using test::EndsWith;
using test::FromPng;
using test::kKey;
using test::Picture;
using test::ReadBytes;

const fs::path kOut = TRANSLIT_SKINS_DIR;
const fs::path kFolder = kOut / "BlueIce";

// The skin as the loader builds its tables: pieces in file order (the
// master bitmap's name skipped), JPEG textures, sections, cached indexes.
// Every image is kept decoded for the pixel checks.
struct LoadedSkin {
  LoadedSkin() : tables(test::FakeSystem()) {
    ini.LoadFromFile((kFolder / "Options.dat").string());
    master = Decode("MASTER.BMP", ReadBytes(kFolder / ini.ReadString("GLOBALINFO", "MASTERBITMAP", "")));
    for (const TacIniFile::Section& sec : ini.Sections())
      for (const TacIniFile::Key& key : sec.Keys) {
        if (sec.Name == "GLOBALINFO" && key.Name == "MASTERBITMAP") continue;
        auto piece = ParseImageValue(sec.Name, key.Name, key.Value);
        if (!piece) continue;
        piece->Mask.Owner = &tables;
        if (!piece->FileName.empty()) {
          const Picture& pic = File(piece->FileName);
          FinishOwnBitmapPiece(*piece, pic.Width, pic.Height);
        }
        files.push_back(piece->FileName);
        syntaxes.push_back(piece->Syntax);
        tables.Masks.push_back(piece->Mask);
      }
    for (const TacIniFile::Section& sec : ini.Sections())
      for (const TacIniFile::Key& key : sec.Keys) {
        std::string upper = UpperCase(key.Value);
        if (upper.find(".JPG") == std::string::npos && upper.find(".JPEG") == std::string::npos) continue;
        const Picture& pic = File(key.Value);
        if (IsLargeTexture(pic.Width, pic.Height)) {
          tables.Patterns.push_back(TsPatternData{nullptr, UpperCase(sec.Name), UpperCase(key.Name)});
          patternFiles.push_back(key.Value);
        } else {
          TsMaskData m;
          m.Section = UpperCase(sec.Name);
          m.Prop = UpperCase(key.Name);
          m.SrcRight = pic.Width;
          m.SrcBottom = pic.Height;
          m.Format = 1;
          m.Owner = &tables;
          tables.Masks.push_back(m);
          files.push_back(key.Value);
          syntaxes.push_back(TacImageSyntax::OwnFile);
        }
      }
    ReadGlobalInfo(ini, *tables.GlobalInfo, test::FakeSystem());
    ReadSkinSections(ini, tables);
    tables.UpdateFrameIndexes();
    tables.UpdateConstIndexes();
  }

  const Picture& File(const std::string& name) {
    auto it = decoded.find(name);
    if (it == decoded.end()) it = decoded.emplace(name, Decode(UpperCase(name), ReadBytes(kFolder / name))).first;
    return it->second;
  }
  // The picture a piece is cut from.
  const Picture& ImageOf(std::size_t mask) { return files[mask].empty() ? master : File(files[mask]); }
  int Mask(const std::string& section, const std::string& prop) const {
    return tables.MaskIndex(tables.SectionIndex(section), section, prop);
  }
  const TsGeneralData& Section(const std::string& name) const {
    int i = tables.SectionIndex(name);
    EXPECT_GE(i, 0) << name;
    return tables.Sections.at(static_cast<std::size_t>(std::max(i, 0)));
  }

  TacIniFile ini;
  TsSkinTables tables;
  Picture master;
  std::vector<std::string> files;  // per mask: its own image, empty when cut from the master
  std::vector<TacImageSyntax> syntaxes;
  std::vector<std::string> patternFiles;
  std::map<std::string, Picture> decoded;
};

LoadedSkin& Skin() {
  static LoadedSkin skin;
  return skin;
}

const char* const kVocabulary[] = {"BAR",
                                   "BARTITLE",
                                   "BUTTON",
                                   "CAPTION",
                                   "CHECKBOX",
                                   "COLHEADER",
                                   "COMBOBOX",
                                   "COMBOBTN",
                                   "DIALOG",
                                   "DIVIDER",
                                   "DIVIDERV",
                                   "DRAGBAR",
                                   "EDIT",
                                   "EXTRALINE",
                                   "FORM",
                                   "FORMTITLE",
                                   "GAUGE",
                                   "GLOBALINFO",
                                   "GROUPBOX",
                                   "ICOLINE",
                                   "MAINMENU",
                                   "MDIAREA",
                                   "MENUITEM",
                                   "MENULINE",
                                   "PAGECONTROL",
                                   "PAGECONTROLBOTTOM",
                                   "PAGECONTROLLEFT",
                                   "PAGECONTROLRIGHT",
                                   "PANEL",
                                   "PANEL_LOW",
                                   "RADIOBUTTON",
                                   "SCROLLBAR1H",
                                   "SCROLLBAR1V",
                                   "SCROLLBAR2H",
                                   "SCROLLBAR2V",
                                   "SCROLLBTNBOTTOM",
                                   "SCROLLBTNLEFT",
                                   "SCROLLBTNRIGHT",
                                   "SCROLLBTNTOP",
                                   "SCROLLSLIDERH",
                                   "SCROLLSLIDERV",
                                   "SELECTION",
                                   "SPEEDBUTTON",
                                   "SPEEDBUTTON_SMALL",
                                   "SPLITTER",
                                   "STATUSBAR",
                                   "TABBOTTOM",
                                   "TABLEFT",
                                   "TABRIGHT",
                                   "TABSHEET",
                                   "TABTOP",
                                   "TITLEBUTTON",
                                   "TOOLBAR",
                                   "TOOLBUTTON",
                                   "TRACKBAR",
                                   "UPDOWNBTN",
                                   "WEBBUTTON"};

TEST(BlueIce, SkinWideValues) {
  const TsSkinData& g = *Skin().tables.GlobalInfo;
  EXPECT_DOUBLE_EQ(g.Version, 7.2);
  EXPECT_EQ(g.TitleHeight, 24);
  EXPECT_EQ(g.MaxTitleHeight, 22);
  EXPECT_EQ(g.BorderWidth, 4);
  EXPECT_EQ(g.FormOffset, 4);
  EXPECT_EQ(g.Shadow1Offset, 2);
  EXPECT_EQ(g.Shadow1Blur, 6);
  EXPECT_EQ(g.Shadow1Transparency, 55);
  EXPECT_GT(g.BiCloseGlow, 0);
  EXPECT_GT(g.BiMaxGlow, 0);
  EXPECT_GT(g.BiMinGlow, 0);
  // The description is Russian text in code page 1251 ("Светлая" first),
  // not UTF-8.
  EXPECT_EQ(g.Description.rfind("\xD1\xE2\xE5\xF2\xEB\xE0\xFF", 0), 0u) << g.Description;
  const std::vector<std::uint8_t> text = ReadBytes(kFolder / "Options.dat");
  const std::string s(text.begin(), text.end());
  EXPECT_EQ(s.find("\xD0\xA1"), std::string::npos) << "UTF-8 Cyrillic in the options";
  EXPECT_NE(s.find("]\r\n"), std::string::npos) << "lines end in CR LF";
}

TEST(BlueIce, SectionsAreTheVocabulary) {
  std::set<std::string> wanted(std::begin(kVocabulary), std::end(kVocabulary));
  std::set<std::string> present;
  for (const TsGeneralData& s : Skin().tables.Sections) {
    EXPECT_TRUE(present.insert(s.Name).second) << "section written twice: " << s.Name;
    EXPECT_TRUE(wanted.count(s.Name)) << "section the engine never asks for: " << s.Name;
  }
  for (const std::string& name : wanted) EXPECT_TRUE(present.count(name)) << "missing section " << name;
  for (const TsGeneralData& s : Skin().tables.Sections)
    if (!s.Parent.empty()) {
      EXPECT_GE(Skin().tables.SectionIndex(s.Parent), 0) << s.Name << " -> " << s.Parent;
    }
}

TEST(BlueIce, ImagePropertiesResolve) {
  std::vector<std::pair<std::string, std::string>> wanted;
  for (const char* p :
       {"BICONCLOSE",    "BICONMAX",      "BICONMIN",        "BICONNORM",   "BICONHELP",    "BICLOSEALONE",
        "SICONCLOSE",    "SICONMAX",      "SICONMIN",        "SICONNORM",   "SICONHELP",    "BICONCLOSEGLOW0",
        "BICONMAXGLOW0", "BICONMINGLOW0", "SICONCLOSEGLOW0", "TITLEBUTTON", "BOXCHECKED",   "BOXUNCHECKED",
        "BOXGRAYED",     "RADIOCHECKED",  "RADIOUNCHECKED",  "RADIOGRAYED", "SMALLCHECKED", "SMALLUNCHECKED",
        "SMALLGRAYED",   "CHECK",         "GRIPIMAGE",       "EXBORDER"})
    wanted.emplace_back("GLOBALINFO", p);
  for (const char* s :
       {"FORM",        "FORMTITLE", "DIALOG",      "BUTTON",      "EDIT",        "SELECTION",  "STATUSBAR",
        "DIVIDER",     "MENUITEM",  "GROUPBOX",    "TABTOP",      "TABBOTTOM",   "TABLEFT",    "TABRIGHT",
        "PAGECONTROL", "COMBOBTN",  "SCROLLBAR1H", "SCROLLBAR1V", "SCROLLBAR2H", "SCROLLBAR2V"})
    wanted.emplace_back(s, "BORDERSMASK");
  for (const char* s :
       {"SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT", "SCROLLSLIDERV", "SCROLLSLIDERH"})
    for (const char* p : {"BORDERSMASK", "GLYPHMASK"}) wanted.emplace_back(s, p);
  for (const char* p : {"IMGTOPLEFT", "IMGTOPRIGHT", "IMGBTMLEFT", "IMGBTMRIGHT"}) wanted.emplace_back("PANEL", p);
  for (const char* p : {"SLIDERMASK", "SLIDERVMASK", "SLIDERCHANNEL", "TICKHORZ", "TICKVERT"})
    wanted.emplace_back("TRACKBAR", p);
  wanted.emplace_back("FORMTITLE", "TITLEBAR");
  wanted.emplace_back("STATUSBAR", "STATUSPANELMASK");
  wanted.emplace_back("BUTTON", "GLOW0");
  wanted.emplace_back("COMBOBOX", "GLYPHMASK");

  LoadedSkin& skin = Skin();
  for (const auto& [section, prop] : wanted) {
    int m = skin.Mask(section, prop);
    ASSERT_GE(m, 0) << section << "/" << prop;
    const TsMaskData& mask = skin.tables.Masks[static_cast<std::size_t>(m)];
    const Picture& image = skin.ImageOf(static_cast<std::size_t>(m));
    // Inside its picture, split evenly into states and layers.
    EXPECT_TRUE(mask.SrcLeft >= 0 && mask.SrcTop >= 0 && mask.SrcRight <= image.Width &&
                mask.SrcBottom <= image.Height && mask.Width() > 0 && mask.Height() > 0)
        << section << "/" << prop;
    EXPECT_EQ(mask.Width() % std::max<int>(mask.StateCount, 1), 0) << section << "/" << prop;
    EXPECT_EQ(mask.Height() % (mask.ExtraLayers + 1), 0) << section << "/" << prop;
  }

  // Textures of the normal and hot state: pieces of format 1, or the large
  // picture.
  for (const char* s : {"FORM", "SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT", "SCROLLSLIDERV",
                        "SCROLLSLIDERH", "SCROLLBAR1H", "SCROLLBAR1V", "SCROLLBAR2H", "SCROLLBAR2V", "COMBOBTN"})
    for (const char* p : {"PATTERN", "HOTPATTERN"})
      EXPECT_GE(skin.tables.TextureIndex(skin.tables.SectionIndex(s), s, p), 0) << s << "/" << p;
  EXPECT_GE(skin.tables.TextureIndex(skin.tables.SectionIndex("STATUSBAR"), "STATUSBAR", "PATTERN"), 0);
  EXPECT_GE(skin.tables.PatternIndex(skin.tables.SectionIndex("MDIAREA"), "MDIAREA", "PATTERN"), 0);
}

TEST(BlueIce, CachedIndexesAreAllSet) {
  const TsConstIndexes& c = Skin().tables.ConstIndexes;
  const std::pair<const char*, int> all[] = {{"GlobalInfoIndex", c.GlobalInfoIndex},
                                             {"CheckBoxChecked", c.CheckBoxChecked},
                                             {"CheckBoxUnchecked", c.CheckBoxUnchecked},
                                             {"CheckBoxGrayed", c.CheckBoxGrayed},
                                             {"RadioChecked", c.RadioChecked},
                                             {"RadioUnchecked", c.RadioUnchecked},
                                             {"RadioGrayed", c.RadioGrayed},
                                             {"SmallCheckBoxChecked", c.SmallCheckBoxChecked},
                                             {"SmallCheckBoxUnchecked", c.SmallCheckBoxUnchecked},
                                             {"SmallCheckBoxGrayed", c.SmallCheckBoxGrayed},
                                             {"ExBorder", c.ExBorder},
                                             {"ComboBtnIndex", c.ComboBtnIndex},
                                             {"ComboBtnBorder", c.ComboBtnBorder},
                                             {"ComboBtnBG", c.ComboBtnBG},
                                             {"ComboBtnBGHot", c.ComboBtnBGHot},
                                             {"ComboGlyph", c.ComboGlyph},
                                             {"TabTop", c.TabTop},
                                             {"TabBottom", c.TabBottom},
                                             {"TabLeft", c.TabLeft},
                                             {"TabRight", c.TabRight},
                                             {"TabTopMask", c.TabTopMask},
                                             {"TabBottomMask", c.TabBottomMask},
                                             {"TabLeftMask", c.TabLeftMask},
                                             {"TabRightMask", c.TabRightMask},
                                             {"ScrollBtnTop", c.ScrollBtnTop},
                                             {"ScrollBtnBottom", c.ScrollBtnBottom},
                                             {"ScrollBtnLeft", c.ScrollBtnLeft},
                                             {"ScrollBtnRight", c.ScrollBtnRight},
                                             {"ScrollBtnTopMask", c.ScrollBtnTopMask},
                                             {"ScrollBtnBottomMask", c.ScrollBtnBottomMask},
                                             {"ScrollBtnLeftMask", c.ScrollBtnLeftMask},
                                             {"ScrollBtnRightMask", c.ScrollBtnRightMask},
                                             {"ArrowTop", c.ArrowTop},
                                             {"ArrowBottom", c.ArrowBottom},
                                             {"ArrowLeft", c.ArrowLeft},
                                             {"ArrowRight", c.ArrowRight},
                                             {"ScrollBtnTopBG", c.ScrollBtnTopBG},
                                             {"ScrollBtnBottomBG", c.ScrollBtnBottomBG},
                                             {"ScrollBtnLeftBG", c.ScrollBtnLeftBG},
                                             {"ScrollBtnRightBG", c.ScrollBtnRightBG},
                                             {"ScrollBtnTopBGHot", c.ScrollBtnTopBGHot},
                                             {"ScrollBtnBottomBGHot", c.ScrollBtnBottomBGHot},
                                             {"ScrollBtnLeftBGHot", c.ScrollBtnLeftBGHot},
                                             {"ScrollBtnRightBGHot", c.ScrollBtnRightBGHot},
                                             {"SliderVert", c.SliderVert},
                                             {"SliderHorz", c.SliderHorz},
                                             {"SliderVertMask", c.SliderVertMask},
                                             {"SliderHorzMask", c.SliderHorzMask},
                                             {"SliderVertGlyph", c.SliderVertGlyph},
                                             {"SliderHorzGlyph", c.SliderHorzGlyph},
                                             {"SliderHorzBG", c.SliderHorzBG},
                                             {"SliderHorzBGHot", c.SliderHorzBGHot},
                                             {"SliderVertBG", c.SliderVertBG},
                                             {"SliderVertBGHot", c.SliderVertBGHot},
                                             {"ScrollBar1H", c.ScrollBar1H},
                                             {"ScrollBar1V", c.ScrollBar1V},
                                             {"ScrollBar2H", c.ScrollBar2H},
                                             {"ScrollBar2V", c.ScrollBar2V},
                                             {"ScrollBar1HMask", c.ScrollBar1HMask},
                                             {"ScrollBar1VMask", c.ScrollBar1VMask},
                                             {"ScrollBar2HMask", c.ScrollBar2HMask},
                                             {"ScrollBar2VMask", c.ScrollBar2VMask},
                                             {"ScrollBar1HBG", c.ScrollBar1HBG},
                                             {"ScrollBar1VBG", c.ScrollBar1VBG},
                                             {"ScrollBar2HBG", c.ScrollBar2HBG},
                                             {"ScrollBar2VBG", c.ScrollBar2VBG},
                                             {"ScrollBar1HBGHot", c.ScrollBar1HBGHot},
                                             {"ScrollBar1VBGHot", c.ScrollBar1VBGHot},
                                             {"ScrollBar2HBGHot", c.ScrollBar2HBGHot},
                                             {"ScrollBar2VBGHot", c.ScrollBar2VBGHot}};
  for (const auto& [name, index] : all) EXPECT_GE(index, 0) << name;
}

TEST(BlueIce, EveryImageSyntaxAndGradientModeIsUsed) {
  LoadedSkin& skin = Skin();
  std::map<std::string, int> used;
  for (std::size_t i = 0; i < skin.tables.Masks.size(); ++i) {
    const TsMaskData& m = skin.tables.Masks[i];
    switch (skin.syntaxes[i]) {
      case TacImageSyntax::OwnFile:
        if (m.Format == 1)
          ++used["small JPEG texture"];
        else
          ++used[m.ExtraLayers == 1 ? "! alpha layer" : m.ExtraLayers == 0 ? "! key" : "! other"];
        break;
      case TacImageSyntax::Master:
        ++used["@"];
        break;
      case TacImageSyntax::MasterMargins:
        ++used["^"];
        break;
      case TacImageSyntax::MasterTexture:
        ++used["~"];
        break;
      case TacImageSyntax::Rect:
        ++used["#"];
        break;
      case TacImageSyntax::PlainFile:
        ++used["plain .BMP"];
        break;
    }
  }
  for (const char* kind : {"! alpha layer", "! key", "@", "^", "~", "#", "plain .BMP", "small JPEG texture"})
    EXPECT_GT(used[kind], 0) << kind;

  // The large picture.
  ASSERT_EQ(skin.patternFiles.size(), 1u);
  const Picture& big = skin.File(skin.patternFiles[0]);
  EXPECT_GE(std::int64_t{big.Width} * big.Height, 900000);

  // Gradients of all three modes, and a texture mixed with a gradient the way
  // the painter does it: shares adding up to 100, the texture tiled.
  std::set<int> modes;
  bool mixed = false;
  for (std::size_t i = 0; i < skin.tables.Sections.size(); ++i) {
    const TsGeneralData& s = skin.tables.Sections[i];
    for (const TsGenState& st : s.States) {
      if (st.GradientPercent > 0 && !st.GradientArray.empty()) modes.insert(st.GradientArray[0].Mode);
      int tex = skin.tables.TextureIndex(static_cast<int>(i), s.Name, "PATTERN");
      if (st.ImagePercent > 0 && st.ImagePercent < 100 && st.ImagePercent + st.GradientPercent == 100 && tex >= 0 &&
          skin.tables.Masks[static_cast<std::size_t>(tex)].FillMode == 0 && !st.GradientArray.empty() &&
          st.GradientArray[0].Mode < 2)
        mixed = true;
    }
  }
  EXPECT_EQ(modes, (std::set<int>{0, 1, 2}));
  EXPECT_TRUE(mixed);
}

// Every value that names an image becomes a piece: nothing the author meant
// as an image is skipped by the parser (a lower-case "!" name would be).
TEST(BlueIce, NoImageValueIsSkipped) {
  LoadedSkin& skin = Skin();
  std::size_t imageLike = 0;
  for (const TacIniFile::Section& sec : skin.ini.Sections())
    for (const TacIniFile::Key& key : sec.Keys) {
      if (key.Name == "MASTERBITMAP") continue;
      const std::string& v = key.Value;
      std::string upper = UpperCase(v);
      bool image = (!v.empty() && std::string("!@^~").find(v[0]) != std::string::npos) ||
                   v.find('#') != std::string::npos || upper.find(".BMP") != std::string::npos ||
                   upper.find(".PNG") != std::string::npos || upper.find(".JPG") != std::string::npos;
      if (image) ++imageLike;
    }
  EXPECT_EQ(skin.tables.Masks.size() + skin.tables.Patterns.size(), imageLike);
}

// What the painters need of the pixels: a nine-part frame has room for its
// middle; edges of key masks hold no key pixels (they are copied without the
// key); where an alpha-layered image is the key, its mask lets the
// background through entirely.
TEST(BlueIce, PiecesSuitTheirPainters) {
  LoadedSkin& skin = Skin();
  for (std::size_t i = 0; i < skin.tables.Masks.size(); ++i) {
    const TsMaskData& m = skin.tables.Masks[i];
    if (m.Format == 1) continue;
    const std::string name = m.Section + "/" + m.Prop;
    const int sw = MaskStateWidth(m), sh = MaskStateHeight(m);
    const Picture& img = skin.ImageOf(i);
    const bool frame = m.MarginLeft + m.MarginTop + m.MarginRight + m.MarginBottom > 0;
    if (frame) {
      EXPECT_GE(sw - m.MarginLeft - m.MarginRight, 0) << name;
      EXPECT_GE(sh - m.MarginTop - m.MarginBottom, 0) << name;
    }
    for (int s = 0; s < std::max<int>(m.StateCount, 1); ++s)
      for (int y = 0; y < sh; ++y)
        for (int x = 0; x < sw; ++x) {
          const int ix = m.SrcLeft + s * sw + x, iy = m.SrcTop + y;
          const bool key = img.Rgb(ix, iy) == kKey;
          if (m.ExtraLayers == 1) {
            if (key) {
              ASSERT_EQ(img.Rgb(ix, iy + sh), 0xFFFFFFu) << name << " state " << s << " at " << x << "," << y;
            }
          } else if (frame && key && m.Prop != "EXBORDER") {
            const bool cornerColumn = x < m.MarginLeft || x >= sw - m.MarginRight;
            const bool cornerRow = y < m.MarginTop || y >= sh - m.MarginBottom;
            ASSERT_TRUE(cornerColumn && cornerRow) << name << ": key pixel outside the corners at " << x << "," << y;
          }
        }
  }
}

// The window outline: the title's frame and the form's frame have their
// outer corners cut with the key, in every state.
TEST(BlueIce, FrameCornersAreCutWithTheKey) {
  LoadedSkin& skin = Skin();
  for (const char* section : {"FORMTITLE", "FORM"}) {
    int index = skin.Mask(section, "BORDERSMASK");
    ASSERT_GE(index, 0);
    const TsMaskData& m = skin.tables.Masks[static_cast<std::size_t>(index)];
    const Picture& img = skin.ImageOf(static_cast<std::size_t>(index));
    const int sw = MaskStateWidth(m), sh = MaskStateHeight(m);
    for (int s = 0; s < m.StateCount; ++s) {
      const int l = m.SrcLeft + s * sw, r = l + sw - 1, t = m.SrcTop, b = t + sh - 1;
      EXPECT_EQ(img.Rgb(l, t), kKey) << section << " top left, state " << s;
      EXPECT_EQ(img.Rgb(r, t), kKey) << section << " top right, state " << s;
      EXPECT_NE(img.Rgb(l + sw / 2, t), kKey) << section << " top edge, state " << s;
      if (std::string(section) == "FORMTITLE") {
        // A radius of several pixels: the first row is open for three.
        EXPECT_EQ(img.Rgb(l + 2, t), kKey) << section;
        EXPECT_EQ(img.Rgb(r - 2, t), kKey) << section;
      } else {
        EXPECT_EQ(img.Rgb(l, b), kKey) << section << " bottom left, state " << s;
        EXPECT_EQ(img.Rgb(r, b), kKey) << section << " bottom right, state " << s;
      }
    }
  }
}

// The frames of opaque sections with a face of their own: every key pixel
// lies outside the rounded outline, so it connects to the state's outer
// edge through other key pixels; a key pixel shut in by the frame would let
// the parent show through inside the section.
TEST(BlueIce, OpaqueFramesHaveNoHolesInside) {
  LoadedSkin& skin = Skin();
  for (const char* section : {"FORMTITLE", "TITLEBUTTON", "BUTTON", "SPEEDBUTTON"}) {
    EXPECT_EQ(skin.Section(section).States[0].Transparency, 0) << section;
    const int index = skin.Mask(section, "BORDERSMASK");
    ASSERT_GE(index, 0) << section;
    const TsMaskData& m = skin.tables.Masks[static_cast<std::size_t>(index)];
    ASSERT_EQ(m.ExtraLayers, 1) << section;
    const Picture& img = skin.ImageOf(static_cast<std::size_t>(index));
    const int sw = MaskStateWidth(m), sh = MaskStateHeight(m);
    for (int s = 0; s < m.StateCount; ++s) {
      auto key = [&](int x, int y) { return img.Rgb(m.SrcLeft + s * sw + x, m.SrcTop + y) == kKey; };
      // Callers keep x and y inside the state.
      auto at = [sw](int x, int y) {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(sw) + static_cast<std::size_t>(x);
      };
      std::vector<char> reached(static_cast<std::size_t>(sw * sh), 0);
      std::vector<std::pair<int, int>> todo;
      for (int y = 0; y < sh; ++y)
        for (int x = 0; x < sw; ++x)
          if ((x == 0 || y == 0 || x == sw - 1 || y == sh - 1) && key(x, y)) todo.emplace_back(x, y);
      int keys = 0;
      while (!todo.empty()) {
        auto [x, y] = todo.back();
        todo.pop_back();
        if (x < 0 || y < 0 || x >= sw || y >= sh || reached[at(x, y)] || !key(x, y)) continue;
        reached[at(x, y)] = 1;
        ++keys;
        todo.insert(todo.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
      }
      EXPECT_GT(keys, 0) << section << " state " << s << ": the outer corners are cut";
      for (int y = 0; y < sh; ++y)
        for (int x = 0; x < sw; ++x)
          EXPECT_FALSE(key(x, y) && !reached[at(x, y)])
              << section << " state " << s << ": key pixel inside the frame at " << x << "," << y;
    }
  }
}

// A section with a hot state gives the hot counterpart of every look key it
// gives (itself or through its parents): a missing one would make the hot
// state fall back to the reader's default, plain white or no texture.
TEST(BlueIce, HotStatesHaveTheirOwnLook) {
  LoadedSkin& skin = Skin();
  auto gives = [&](std::string section, const char* key) {
    for (int depth = 0; depth < 8 && !section.empty(); ++depth) {
      if (skin.ini.ReadString(section, key, "?") != "?") return true;
      const std::string parent = skin.ini.ReadString(section, "PARENTCLASS", "");
      if (parent == section) break;
      section = parent;
    }
    return false;
  };
  const std::pair<const char*, const char*> pairs[] = {{"COLOR", "HOTCOLOR"},
                                                       {"FONTCOLOR", "HOTFONTCOLOR"},
                                                       {"TRANSPARENCY", "HOTTRANSPARENCY"},
                                                       {"GRADIENTPERCENT", "HOTGRADIENTPERCENT"},
                                                       {"IMAGEPERCENT", "HOTIMAGEPERCENT"},
                                                       {"PATTERN", "HOTPATTERN"}};
  int hot = 0;
  for (const TsGeneralData& s : skin.tables.Sections) {
    if (s.StateCount < 2) continue;
    ++hot;
    for (const auto& [normal, hotKey] : pairs)
      EXPECT_TRUE(!gives(s.Name, normal) || gives(s.Name, hotKey))
          << s.Name << " has " << s.StateCount << " states and " << normal << " without " << hotKey;
  }
  EXPECT_GT(hot, 10);
}

TEST(BlueIce, FolderAndPackedHoldTheSameFiles) {
  std::map<std::string, std::vector<std::uint8_t>> folder;
  for (const auto& entry : fs::directory_iterator(kFolder))
    folder[entry.path().filename().string()] = ReadBytes(entry.path());

  TacSkinConvertor packed;
  packed.LoadFromFile((kOut / "BlueIce.asz").string());
  ASSERT_TRUE(packed.Options);
  EXPECT_EQ(packed.Options->Bytes(), folder.at("Options.dat"));
  EXPECT_EQ(packed.ImageCount, static_cast<int>(packed.Files.size()));
  std::set<std::string> packedNames{"Options.dat"};
  for (const TacImageItem& item : packed.Files) {
    packedNames.insert(item.FileName);
    ASSERT_TRUE(folder.count(item.FileName)) << item.FileName << " only in the packed file";
    EXPECT_EQ(item.Data->Bytes(), folder.at(item.FileName)) << item.FileName;
    EXPECT_EQ(item.IsBitmap, EndsWith(item.FileName, ".BMP")) << item.FileName;
  }
  std::set<std::string> folderNames;
  for (const auto& f : folder) folderNames.insert(f.first);
  EXPECT_EQ(packedNames, folderNames);

  // Every file is one the options name, and each is found in the packed file
  // as the loader looks it up (the name upper-cased).
  LoadedSkin& skin = Skin();
  std::set<std::string> named{"Options.dat", skin.ini.ReadString("GLOBALINFO", "MASTERBITMAP", "")};
  for (const std::string& f : skin.files)
    if (!f.empty()) named.insert(f);
  for (const std::string& f : skin.patternFiles) named.insert(f);
  EXPECT_EQ(named, folderNames);
  for (const std::string& f : named)
    if (f != "Options.dat") {
      EXPECT_NE(packed.FindImage(UpperCase(f)), nullptr) << f;
    }
}

// acSHDA and acSHDI: 11, 10, 11 and 12 pixels of shadow around a clear
// window area; the active one is the darker.
TEST(BlueIce, DefaultShadows) {
  long total[2] = {0, 0};
  int i = 0;
  for (const char* name : {"acSHDA.png", "acSHDI.png"}) {
    Picture p = FromPng(ReadBytes(kOut / name));
    ASSERT_TRUE(p.HasAlpha) << name;
    ASSERT_GT(p.Width, 22);
    ASSERT_GT(p.Height, 22);
    for (int y = 0; y < p.Height; ++y)
      for (int x = 0; x < p.Width; ++x) {
        const std::uint32_t alpha = p.At(x, y) >> 24;
        const bool window = x >= 11 && x < p.Width - 11 && y >= 10 && y < p.Height - 12;
        if (window) {
          EXPECT_EQ(alpha, 0u) << name << " at " << x << "," << y;
        }
        total[i] += alpha;
      }
    // Next to the window on every side there is shadow, fading outwards.
    const int midX = p.Width / 2, midY = p.Height / 2;
    EXPECT_GT(p.At(10, midY) >> 24, p.At(0, midY) >> 24) << name;
    EXPECT_GT(p.At(p.Width - 11, midY) >> 24, p.At(p.Width - 1, midY) >> 24) << name;
    EXPECT_GT(p.At(midX, 9) >> 24, p.At(midX, 0) >> 24) << name;
    EXPECT_GT(p.At(midX, p.Height - 12) >> 24, p.At(midX, p.Height - 1) >> 24) << name;
    ++i;
  }
  EXPECT_GT(total[0], total[1]);
}

// ---- Contrast of text against what lies behind it.

struct Rgb8 {
  int r, g, b;
};

Rgb8 FromColorValue(TColorValue c) { return Rgb8{c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF}; }
Rgb8 FromPixel(std::uint32_t p) {
  return Rgb8{static_cast<int>(p >> 16 & 0xFF), static_cast<int>(p >> 8 & 0xFF), static_cast<int>(p & 0xFF)};
}

double Luminance(Rgb8 c) {
  auto lin = [](int v) {
    double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * lin(c.r) + 0.7152 * lin(c.g) + 0.0722 * lin(c.b);
}

double Contrast(Rgb8 a, Rgb8 b) {
  double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(BlueIce, ContrastFormulaKnownValues) {
  EXPECT_NEAR(Contrast({0, 0, 0}, {255, 255, 255}), 21.0, 1e-9);
  EXPECT_NEAR(Contrast({119, 119, 119}, {255, 255, 255}), 4.48, 0.01);
  EXPECT_NEAR(Contrast({10, 20, 30}, {10, 20, 30}), 1.0, 1e-9);
}

// The texture share mixed in as the gradient-on-texture painter does:
// (f * (t - g) + 256 * g) >> 8.
Rgb8 MixTexture(Rgb8 g, Rgb8 t, int share) {
  const int f = share * 255 / 100;
  auto ch = [f](int gv, int tv) { return (f * (tv - gv) + 256 * gv) >> 8; };
  return Rgb8{ch(g.r, t.r), ch(g.g, t.g), ch(g.b, t.b)};
}

struct Backgrounds {
  std::vector<Rgb8> colors;
};

// Every colour a state's background can take: its colour or the colours of
// its gradient, mixed with the darkest and lightest pixel of its texture;
// a fully transparent section shows its host's background.
std::vector<Rgb8> BackgroundsOf(LoadedSkin& skin, const std::string& name, int state, int depth = 0) {
  static const std::map<std::string, std::string> hosts = {{"CAPTION", "FORMTITLE"}};
  const TsGeneralData& s = skin.Section(name);
  const TsGenState& st = s.States[static_cast<std::size_t>(state)];
  if (st.Transparency >= 100 && depth < 4) {
    auto host = hosts.find(name);
    const std::string hostName = host == hosts.end() ? "FORM" : host->second;
    const int hostState = std::min(state, skin.Section(hostName).StateCount - 1);
    return BackgroundsOf(skin, hostName, std::max(hostState, 0), depth + 1);
  }
  EXPECT_EQ(st.Transparency, 0) << name << ": partly transparent sections are not checked here";
  std::vector<Rgb8> base;
  if (st.GradientPercent > 0 && !st.GradientArray.empty()) {
    for (const TsGradient& g : st.GradientArray) {
      base.push_back(FromColorValue(static_cast<TColorValue>(g.Color1)));
      if (g.Mode != 2) base.push_back(FromColorValue(static_cast<TColorValue>(g.Color2)));
    }
    if (st.GradientPercent + st.ImagePercent < 100) base.push_back(FromColorValue(st.Color));
  } else {
    base.push_back(FromColorValue(st.Color));
  }
  if (st.ImagePercent <= 0) return base;

  const int section = skin.tables.SectionIndex(name);
  const char* prop = state == 0 ? "PATTERN" : "HOTPATTERN";
  std::vector<std::uint32_t> texture;
  if (int t = skin.tables.TextureIndex(section, name, prop); t >= 0) {
    const TsMaskData& m = skin.tables.Masks[static_cast<std::size_t>(t)];
    const Picture& img = skin.ImageOf(static_cast<std::size_t>(t));
    for (int y = m.SrcTop; y < m.SrcBottom; ++y)
      for (int x = m.SrcLeft; x < m.SrcRight; ++x) texture.push_back(img.At(x, y));
  } else if (int p = skin.tables.PatternIndex(section, name, prop); p >= 0) {
    texture = skin.File(skin.patternFiles.at(static_cast<std::size_t>(p))).Pixels;
  }
  EXPECT_FALSE(texture.empty()) << name << " has an image share but no texture";
  if (texture.empty()) return base;
  auto byLuminance = [](std::uint32_t a, std::uint32_t b) { return Luminance(FromPixel(a)) < Luminance(FromPixel(b)); };
  const Rgb8 darkest = FromPixel(*std::min_element(texture.begin(), texture.end(), byLuminance));
  const Rgb8 lightest = FromPixel(*std::max_element(texture.begin(), texture.end(), byLuminance));
  if (st.ImagePercent >= 100) return {darkest, lightest};
  std::vector<Rgb8> out;
  for (Rgb8 b : base) {
    out.push_back(MixTexture(b, darkest, st.ImagePercent));
    out.push_back(MixTexture(b, lightest, st.ImagePercent));
  }
  return out;
}

TEST(BlueIce, TextKeepsAContrastOfFourAndAHalf) {
  LoadedSkin& skin = Skin();
  int checked = 0;
  for (const TsGeneralData& s : skin.tables.Sections) {
    if (s.Name == "GLOBALINFO") continue;
    for (int state = 0; state < std::min(s.StateCount, 2); ++state) {
      const Rgb8 text = FromColorValue(s.States[static_cast<std::size_t>(state)].FontColor);
      for (Rgb8 bg : BackgroundsOf(skin, s.Name, state)) {
        const double c = Contrast(text, bg);
        EXPECT_GE(c, 4.5) << s.Name << " state " << state << ": text " << text.r << "," << text.g << "," << text.b
                          << " on " << bg.r << "," << bg.g << "," << bg.b << " is " << c << " : 1";
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 0);
}

}  // namespace
}  // namespace translit
