// The skin "BlueIce" loaded by the skin manager, as the program loads it:
// from a folder holding only the skin folder and from one holding only the
// packed file. Every section and image the skin defines resolves, both
// sources give the same tables and pixels, a hue offset of 120 and a
// saturation of -100 recolour it as the engine defines them (worked out
// here on their own), and an image file that is missing only drops its
// piece.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Graphics.h"
#include "skin/acIniFile.h"
#include "skin/sSkinManager.h"
#include "tests/support/RemoveTree.h"

namespace translit {
namespace {

// The generated skin, as a path of the Wine drive that maps the host's root.
const std::string kGenerated = TRANSLIT_SKINS_WINDOWS_DIR;
constexpr std::uint32_t kKey = 0x00FF00FF;

bool CopyFolder(const std::string& from, const std::string& to) {
  ::CreateDirectoryA(to.c_str(), nullptr);
  WIN32_FIND_DATAA entry;
  HANDLE find = ::FindFirstFileA((from + "\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    ok = ok && ::CopyFileA((from + "\\" + entry.cFileName).c_str(), (to + "\\" + entry.cFileName).c_str(), FALSE);
  } while (::FindNextFileA(find, &entry));
  ::FindClose(find);
  return ok;
}

// Folders made once for the whole run: one with the skin folder only, one
// with the packed file only (the manager prefers a packed file beside a
// folder), removed at the end.
class SkinCopies {
 public:
  SkinCopies() {
    char tmp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, tmp);
    Root = std::string(tmp) + "blueice" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(Root.c_str(), nullptr);
    FolderOnly = Root + "\\folder";
    PackedOnly = Root + "\\packed";
    ::CreateDirectoryA(FolderOnly.c_str(), nullptr);
    ::CreateDirectoryA(PackedOnly.c_str(), nullptr);
    Ok = CopyFolder(kGenerated + "\\BlueIce", FolderOnly + "\\BlueIce") &&
         ::CopyFileA((kGenerated + "\\BlueIce.asz").c_str(), (PackedOnly + "\\BlueIce.asz").c_str(), FALSE);
  }
  ~SkinCopies() { testing_files::RemoveTree(Root); }
  // A copy of the skin folder without one of its files, in a folder of its
  // own.
  std::string Without(const std::string& file) {
    std::string dir = Root + "\\without-" + file;
    ::CreateDirectoryA(dir.c_str(), nullptr);
    CopyFolder(FolderOnly + "\\BlueIce", dir + "\\BlueIce");
    ::DeleteFileA((dir + "\\BlueIce\\" + file).c_str());
    return dir;
  }
  std::string Root, FolderOnly, PackedOnly;
  bool Ok = false;
};

std::unique_ptr<SkinCopies>& CopiesSlot() {
  static std::unique_ptr<SkinCopies> copies;
  return copies;
}

SkinCopies& Copies() {
  if (!CopiesSlot()) CopiesSlot() = std::make_unique<SkinCopies>();
  return *CopiesSlot();
}

// Load errors are collected instead of shown.
std::vector<std::string>& LoadErrors() {
  static std::vector<std::string> errors;
  return errors;
}

std::unique_ptr<TsSkinManager> Load(const std::string& dir, int hue = 0, int saturation = 0) {
  fw::EnsureApplication();
  TsSkinManager::ShowLoadError = [](const std::string& m) { LoadErrors().push_back(m); };
  auto m = std::make_unique<TsSkinManager>(nullptr);
  m->SetSkinDirectory(dir);
  m->SetHueOffset(hue);
  m->SetSaturation(saturation);
  m->SetSkinName("BlueIce");
  return m;
}

std::map<std::string, std::unique_ptr<TsSkinManager>>& Managers() {
  static std::map<std::string, std::unique_ptr<TsSkinManager>> managers;
  return managers;
}

// The managers are loaded once and shared by the tests; they and the copies
// go when the tests are over, while the application is still there.
class SharedSkins : public ::testing::Environment {
 public:
  void TearDown() override {
    Managers().clear();
    CopiesSlot().reset();
  }
};
const auto* const kSharedSkins = ::testing::AddGlobalTestEnvironment(new SharedSkins);

TsSkinManager& Loaded(const std::string& which) {
  auto& m = Managers()[which];
  if (!m) {
    if (which == "folder") m = Load(Copies().FolderOnly);
    if (which == "packed") m = Load(Copies().PackedOnly);
    if (which == "hue") m = Load(Copies().FolderOnly, 120);
    if (which == "saturation") m = Load(Copies().PackedOnly, 0, -100);
  }
  return *m;
}

// The options as the generator wrote them: sections and keys in order.
TacIniFile& WrittenOptions() {
  static TacIniFile ini = [] {
    TacIniFile i;
    i.LoadFromFile(kGenerated + "\\BlueIce\\Options.dat");
    return i;
  }();
  return ini;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Every pixel of a picture as a 32-bit value (24-bit pictures with alpha 0).
std::vector<std::uint32_t> Pixels(fw::TBitmap* b) {
  std::vector<std::uint32_t> out;
  if (!b) return out;
  for (int y = 0; y < b->Height(); ++y) {
    const auto* row = static_cast<const std::uint8_t*>(b->ScanLine(y));
    for (int x = 0; x < b->Width(); ++x) {
      if (b->PixelFormat() == fw::pf32bit) {
        std::uint32_t p;
        std::memcpy(&p, row + x * 4, 4);
        out.push_back(p);
      } else {
        out.push_back(row[x * 3] | row[x * 3 + 1] << 8 | static_cast<std::uint32_t>(row[x * 3 + 2]) << 16);
      }
    }
  }
  return out;
}

std::string Dump(const TsGradArray& a) {
  std::ostringstream o;
  for (const TsGradient& g : a) o << g.Color1 << "/" << g.Color2 << "/" << int{g.Percent} << "/" << g.Mode << ";";
  return o.str();
}

std::string Dump(const TsGenState& s) {
  std::ostringstream o;
  o << s.Color << " " << s.FontColor << " " << s.TcLeft << " " << s.TcTop << " " << s.TcRight << " " << s.TcBottom
    << " " << s.GradientPercent << " [" << s.GradientData << "] " << Dump(s.GradientArray) << " " << s.ImagePercent
    << " " << s.GlowColor << " " << int{s.GlowSize} << " " << s.Transparency;
  return o.str();
}

std::string Dump(const TsGeneralData& s) {
  std::ostringstream o;
  o << s.Parent << "|" << s.Name << "|" << s.StateCount << "|" << Dump(s.States[0]) << "|" << Dump(s.States[1]) << "|"
    << s.OwnFont << s.ReservedFlag << s.FocusVisible << "|" << s.Glow << " " << s.GlowMargin << "|" << s.BorderIndex
    << " " << s.CornerTL << " " << s.CornerTR << " " << s.CornerBL << " " << s.CornerBR << "|" << s.Color << " "
    << s.Transparency << " " << s.GradientPercent << " [" << s.GradientData << "] " << Dump(s.GradientArray) << " "
    << s.ImagePercent << " " << s.FontColor << " " << s.TcLeft << " " << s.TcTop << " " << s.TcRight << " "
    << s.TcBottom << "|" << s.HotColor << " " << s.HotTransparency << " " << s.HotGradientPercent << " ["
    << s.HotGradientData << "] " << Dump(s.HotGradientArray) << " " << s.HotImagePercent << " " << s.HotFontColor << " "
    << s.HotTcLeft << " " << s.HotTcTop << " " << s.HotTcRight << " " << s.HotTcBottom << "|" << s.FadingEnabled << " "
    << s.FadingIterations << " " << s.HotGlowColor << " " << s.GlowColor << " " << int{s.HotGlowSize} << " "
    << int{s.GlowSize};
  return o.str();
}

std::string Dump(const TsMaskData& m) {
  std::ostringstream o;
  o << m.Section << "/" << m.Prop << " own " << static_cast<bool>(m.OwnBitmap) << " rect " << m.SrcLeft << ","
    << m.SrcTop << "," << m.SrcRight << "," << m.SrcBottom << " states " << m.StateCount << " layers " << m.ExtraLayers
    << " uniform " << m.UniformMargin << " fill " << m.FillMode << " format " << int{m.Format} << " margins "
    << m.MarginLeft << "," << m.MarginTop << "," << m.MarginRight << "," << m.MarginBottom;
  return o.str();
}

std::string Dump(const TsSkinData& g) {
  std::ostringstream o;
  o << g.Version << "|" << g.Author << "|" << g.Description << "|" << g.Shadow1Color << " " << g.Shadow1Offset << " "
    << g.Shadow1Blur << " " << g.Shadow1Transparency << "|" << g.BorderWidth << " " << g.TitleHeight << " "
    << g.MaxTitleHeight << " " << g.FormOffset << " " << g.AlignOffset << " " << g.CenterOffset << " " << g.BorderMode
    << " " << g.BorderColor << "|" << g.BiSpace << " " << g.BiVAlign << " " << g.BiRight << " " << g.BiLeft << " "
    << g.BiTop << " " << g.BiKeepHue << "|" << g.BiCloseGlow << " " << g.BiCloseGlowMargin << " " << g.BiMaxGlow << " "
    << g.BiMaxGlowMargin << " " << g.BiMinGlow << " " << g.BiMinGlowMargin;
  return o.str();
}

// A section by name; a failure and an empty section when there is none.
const TsGeneralData& SectionOf(const TsSkinManager& m, const char* name) {
  static const TsGeneralData none;
  const int i = m.SectionIndex(name);
  EXPECT_GE(i, 0) << "no section " << name;
  return i < 0 ? none : m.Sections[static_cast<std::size_t>(i)];
}

std::vector<int> AllConstIndexes(const TsConstIndexes& c) {
  static_assert(sizeof(TsConstIndexes) % sizeof(int) == 0, "the cached indexes are ints only");
  std::vector<int> all(sizeof(TsConstIndexes) / sizeof(int));
  std::memcpy(all.data(), &c, sizeof(TsConstIndexes));
  return all;
}

// Image values of the options: the four piece syntaxes, a "#" cut from the
// master bitmap, a plain bitmap file, a JPEG.
bool IsImageValue(const std::string& v) {
  if (v.empty()) return false;
  const std::string u = Upper(v);
  return v[0] == '!' || v[0] == '@' || v[0] == '^' || v[0] == '~' || (v.find('#') != std::string::npos && v != "#") ||
         u.find(".BMP") != std::string::npos || u.find(".JPG") != std::string::npos;
}

class BlueIceManager : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Copies().Ok) << "the generated skin could not be copied from " << kGenerated;
    LoadErrors().clear();
  }
  void TearDown() override { EXPECT_TRUE(LoadErrors().empty()) << LoadErrors().front(); }
};

// Every section of the file is found; every image value of it resolves to
// a piece, a texture or a picture of its section; every value the file
// gives a section or "GLOBALINFO" is the one loaded, so nothing that the
// skin defines reads as -1.
TEST_P(BlueIceManager, EverythingTheSkinDefinesResolves) {
  TsSkinManager& m = Loaded(GetParam());
  EXPECT_TRUE(m.Active());
  EXPECT_EQ(m.LoadedFromPacked(), std::string(GetParam()) == "packed");
  EXPECT_EQ(m.SkinInfo(), "7.2");
  ASSERT_NE(m.MasterBitmap, nullptr);
  EXPECT_EQ(m.MasterBitmap->Width(), 256);

  TacIniFile& ini = WrittenOptions();
  ASSERT_GT(ini.Sections().size(), 50u);
  EXPECT_EQ(m.Sections.size(), ini.Sections().size());
  for (const TacIniFile::Section& sec : ini.Sections()) {
    const int index = m.SectionIndex(sec.Name);
    ASSERT_GE(index, 0) << sec.Name;
    const TsGeneralData& s = m.Sections[static_cast<std::size_t>(index)];
    for (const TacIniFile::Key& key : sec.Keys) {
      const std::string where = sec.Name + "/" + key.Name + "=" + key.Value;
      if (IsImageValue(key.Value)) {
        if (key.Name == "MASTERBITMAP") continue;
        const bool jpeg = Upper(key.Value).find(".JPG") != std::string::npos;
        const int found = jpeg ? std::max(m.TextureIndex(index, Upper(sec.Name), Upper(key.Name)),
                                          m.PatternIndex(index, Upper(sec.Name), Upper(key.Name)))
                               : m.MaskIndex(index, sec.Name, key.Name);
        EXPECT_GE(found, 0) << where;
        continue;
      }
      if (sec.Name == "GLOBALINFO") continue;
      const long long written = std::strtoll(key.Value.c_str(), nullptr, 0);
      const std::map<std::string, long long> loaded = {{"COLOR", s.Color},
                                                       {"HOTCOLOR", s.HotColor},
                                                       {"FONTCOLOR", s.FontColor},
                                                       {"HOTFONTCOLOR", s.HotFontColor},
                                                       {"HOTTCBOTTOM", s.HotTcBottom},
                                                       {"TRANSPARENCY", s.Transparency},
                                                       {"HOTTRANSPARENCY", s.HotTransparency},
                                                       {"GRADIENTPERCENT", s.GradientPercent},
                                                       {"HOTGRADIENTPERCENT", s.HotGradientPercent},
                                                       {"IMAGEPERCENT", s.ImagePercent},
                                                       {"HOTIMAGEPERCENT", s.HotImagePercent},
                                                       {"STATES", s.StateCount},
                                                       {"GLOW", s.Glow},
                                                       {"GLOWMARGIN", s.GlowMargin},
                                                       {"FADINGITERATIONS", s.FadingIterations},
                                                       {"SHOWFOCUS", s.FocusVisible},
                                                       {"FADINGENABLED", s.FadingEnabled}};
      if (key.Name == "GRADIENTDATA") {
        EXPECT_EQ(s.GradientData, key.Value) << where;
        EXPECT_FALSE(s.GradientArray.empty()) << where;
      } else if (key.Name == "HOTGRADIENTDATA") {
        EXPECT_EQ(s.HotGradientData, key.Value) << where;
      } else if (key.Name == "PARENTCLASS") {
        EXPECT_EQ(s.Parent, key.Value) << where;
      } else if (auto it = loaded.find(key.Name); it != loaded.end()) {
        EXPECT_EQ(it->second, written) << where;
      } else {
        ADD_FAILURE() << "a key this test does not know: " << where;
      }
    }
  }

  // The skin-wide values as written.
  const TsSkinData& g = *m.GlobalInfo;
  const std::map<std::string, long long> global = {{"SHADOW1COLOR", g.Shadow1Color},
                                                   {"SHADOW1OFFSET", g.Shadow1Offset},
                                                   {"SHADOW1BLUR", g.Shadow1Blur},
                                                   {"SHADOW1TRANSPARENCY", g.Shadow1Transparency},
                                                   {"BORDERWIDTH", g.BorderWidth},
                                                   {"TITLEHEIGHT", g.TitleHeight},
                                                   {"MAXHEIGHT", g.MaxTitleHeight},
                                                   {"FORMOFFSET", g.FormOffset},
                                                   {"ALIGNOFFSET", g.AlignOffset},
                                                   {"CENTEROFFSET", g.CenterOffset},
                                                   {"BORDERMODE", g.BorderMode},
                                                   {"BORDERCOLOR", g.BorderColor},
                                                   {"BISPACE", g.BiSpace},
                                                   {"BIVALIGN", g.BiVAlign},
                                                   {"BIRIGHT", g.BiRight},
                                                   {"BILEFT", g.BiLeft},
                                                   {"BITOP", g.BiTop},
                                                   {"BIKEEPHUE", g.BiKeepHue},
                                                   {"BICONCLOSEGLOW", g.BiCloseGlow},
                                                   {"BICONCLOSEGLOWMARGIN", g.BiCloseGlowMargin},
                                                   {"BICONMAXGLOW", g.BiMaxGlow},
                                                   {"BICONMAXGLOWMARGIN", g.BiMaxGlowMargin},
                                                   {"BICONMINGLOW", g.BiMinGlow},
                                                   {"BICONMINGLOWMARGIN", g.BiMinGlowMargin}};
  int seen = 0;
  for (const TacIniFile::Key& key : ini.Sections().front().Keys) {
    if (auto it = global.find(key.Name); it != global.end()) {
      ++seen;
      EXPECT_EQ(it->second, std::strtoll(key.Value.c_str(), nullptr, 0)) << key.Name;
    }
  }
  EXPECT_EQ(seen, static_cast<int>(global.size())) << "the skin should give every skin-wide value";
  EXPECT_DOUBLE_EQ(g.Version, 7.2);
  EXPECT_EQ(g.Author, "Translit");

  // The pieces the painters ask for by name, with the parent fallback.
  const std::pair<const char*, const char*> named[] = {
      {"STATUSBAR", "STATUSPANELMASK"}, {"FORMTITLE", "TITLEBAR"},        {"TITLEBUTTON", "BORDERSMASK"},
      {"DIALOG", "BORDERSMASK"},        {"BUTTON", "BORDERSMASK"},        {"EDIT", "BORDERSMASK"},
      {"SELECTION", "BORDERSMASK"},     {"DIVIDER", "BORDERSMASK"},       {"MENUITEM", "BORDERSMASK"},
      {"PANEL", "IMGTOPLEFT"},          {"PANEL", "IMGBTMRIGHT"},         {"SPEEDBUTTON_SMALL", "BORDERSMASK"},
      {"SCROLLBTNLEFT", "PATTERN"},     {"SCROLLBTNLEFT", "HOTPATTERN"},  {"SCROLLSLIDERH", "BORDERSMASK"},
      {"SCROLLBAR2H", "PATTERN"},       {"SCROLLBAR2V", "HOTPATTERN"},    {"GLOBALINFO", "GRIPIMAGE"},
      {"GLOBALINFO", "EXBORDER"},       {"GLOBALINFO", "SICONCLOSEGLOW0"}};
  for (const auto& [section, prop] : named)
    EXPECT_GE(m.MaskIndex(m.SectionIndex(section), section, prop), 0) << section << "/" << prop;
  // Sections that only inherit still have the parent's look.
  for (const char* section : {"MAINMENU", "ICOLINE", "CAPTION", "FORM", "FORMTITLE"})
    EXPECT_GE(m.SectionIndex(section), 0) << section;

  const std::vector<int> indexes = AllConstIndexes(m.ConstIndexes);
  for (std::size_t i = 0; i < indexes.size(); ++i) EXPECT_GE(indexes[i], 0) << "cached index #" << i;
}

INSTANTIATE_TEST_SUITE_P(Sources, BlueIceManager, ::testing::Values("folder", "packed"));

TEST(BlueIceSources, FolderAndPackedGiveTheSameTablesAndPixels) {
  ASSERT_TRUE(Copies().Ok);
  TsSkinManager& f = Loaded("folder");
  TsSkinManager& p = Loaded("packed");
  ASSERT_FALSE(f.LoadedFromPacked());
  ASSERT_TRUE(p.LoadedFromPacked());

  EXPECT_EQ(Dump(*f.GlobalInfo), Dump(*p.GlobalInfo));
  EXPECT_EQ(AllConstIndexes(f.ConstIndexes), AllConstIndexes(p.ConstIndexes));
  ASSERT_EQ(f.Sections.size(), p.Sections.size());
  for (std::size_t i = 0; i < f.Sections.size(); ++i) EXPECT_EQ(Dump(f.Sections[i]), Dump(p.Sections[i]));

  EXPECT_EQ(Pixels(f.MasterBitmap.get()), Pixels(p.MasterBitmap.get()));
  ASSERT_EQ(f.Masks.size(), p.Masks.size());
  for (std::size_t i = 0; i < f.Masks.size(); ++i) {
    EXPECT_EQ(Dump(f.Masks[i]), Dump(p.Masks[i]));
    EXPECT_EQ(f.Masks[i].Owner, &f);
    EXPECT_EQ(p.Masks[i].Owner, &p);
    EXPECT_TRUE(Pixels(f.Masks[i].OwnBitmap.get()) == Pixels(p.Masks[i].OwnBitmap.get())) << Dump(f.Masks[i]);
  }
  ASSERT_EQ(f.Patterns.size(), 1u);
  ASSERT_EQ(p.Patterns.size(), 1u);
  EXPECT_EQ(f.Patterns[0].Section + "/" + f.Patterns[0].Prop, "MDIAREA/PATTERN");
  EXPECT_EQ(p.Patterns[0].Section + "/" + p.Patterns[0].Prop, "MDIAREA/PATTERN");
  EXPECT_EQ(f.Patterns[0].Image->Width(), 1200);
  EXPECT_TRUE(Pixels(f.Patterns[0].Image.get()) == Pixels(p.Patterns[0].Image.get()));
}

// The hue rotation of a pixel (red in byte 2), worked out from its
// definition: hue in degrees from the largest channel, rounded after the
// offset is added, back through the six sectors, each channel rounded.
std::uint32_t RotateHue(std::uint32_t pixel, int degrees) {
  const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  const int hi = std::max({r, g, b}), lo = std::min({r, g, b});
  if (hi == lo) return pixel;
  const double delta = hi - lo, s = delta / hi, k = 60.0 / delta;
  double h = r == hi ? k * (g - b) : g == hi ? 120 + k * (b - r) : 240 + k * (r - g);
  if (h < 0) h += 360;
  const long turned = std::lrint(std::nearbyint(h + degrees)) % 360;
  const double sectorOf = turned / 60.0;
  const int sector = static_cast<int>(sectorOf);
  const double f = sectorOf - sector, v = hi;
  auto limit = [](double x) { return std::clamp(x, 0.0, 255.0); };
  const double p = limit(v * (1 - s)), q = limit(v * (1 - f * s)), t = limit(v * (1 - (1 - f) * s));
  double rgb[6][3] = {{v, t, p}, {q, v, p}, {p, v, t}, {p, q, v}, {t, p, v}, {v, p, q}};
  const double* c = rgb[sector >= 0 && sector < 6 ? sector : 5];
  auto byte = [](double x) { return static_cast<std::uint32_t>(std::lrint(std::nearbyint(x))); };
  return (pixel & 0xFF000000u) | byte(c[0]) << 16 | byte(c[1]) << 8 | byte(c[2]);
}

// Saturation -100: every channel becomes the mean of the three, rounded.
std::uint32_t Grey(std::uint32_t pixel) {
  const int sum = ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF);
  const std::uint32_t m = static_cast<std::uint32_t>((sum + 1) / 3);  // a third never ends in a half
  return (pixel & 0xFF000000u) | m << 16 | m << 8 | m;
}

bool IsGreyOrKey(std::uint32_t p) {
  const std::uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
  return p == kKey || (r == g && g == b);
}

// A colour (0x00BBGGRR) through a change of pixels (red in byte 2).
std::int32_t InColourOrder(std::int32_t colour, const std::function<std::uint32_t(std::uint32_t)>& change) {
  auto swap = [](std::uint32_t v) { return (v & 0xFF00FF00u) | (v & 0xFF) << 16 | ((v >> 16) & 0xFF); };
  return static_cast<std::int32_t>(swap(change(swap(static_cast<std::uint32_t>(colour)))));
}

// Every colour the recolouring reaches, named, with the value loaded.
std::vector<std::pair<std::string, std::int32_t>> Colours(const TsSkinManager& m) {
  std::vector<std::pair<std::string, std::int32_t>> out;
  for (const TsGeneralData& s : m.Sections) {
    auto add = [&](const std::string& what, std::int32_t c) { out.emplace_back(s.Name + "." + what, c); };
    auto gradient = [&](const std::string& what, const TsGradArray& a) {
      for (std::size_t i = 0; i < a.size(); ++i) {
        add(what + "[" + std::to_string(i) + "].1", static_cast<std::int32_t>(a[i].Color1));
        add(what + "[" + std::to_string(i) + "].2", static_cast<std::int32_t>(a[i].Color2));
      }
    };
    add("Color", s.Color);
    add("HotColor", s.HotColor);
    add("GlowColor", s.GlowColor);
    add("HotGlowColor", s.HotGlowColor);
    add("FontColor", s.FontColor);
    add("HotFontColor", s.HotFontColor);
    add("HotTcBottom", s.HotTcBottom);
    add("TcLeft", s.TcLeft);
    gradient("Gradient", s.GradientArray);
    gradient("HotGradient", s.HotGradientArray);
    for (int i = 0; i < 2; ++i) {
      const TsGenState& st = s.States[static_cast<std::size_t>(i)];
      const std::string n = "States[" + std::to_string(i) + "].";
      add(n + "Color", st.Color);
      add(n + "FontColor", st.FontColor);
      add(n + "GlowColor", st.GlowColor);
      add(n + "TcBottom", st.TcBottom);
      gradient(n + "Gradient", st.GradientArray);
    }
  }
  out.emplace_back("Shadow1Color", m.GlobalInfo->Shadow1Color);
  out.emplace_back("BorderColor", m.GlobalInfo->BorderColor);
  return out;
}

// Compares a recoloured load with the plain one: every picture pixel by
// pixel (keys and greys kept, kept pieces kept), the large picture
// untouched, every colour of the sections (-1 stays -1).
void ExpectRecoloured(TsSkinManager& plain, TsSkinManager& changed,
                      const std::function<std::uint32_t(std::uint32_t)>& change,
                      const std::set<std::string>& keptOwnPieces, const std::vector<RECT>& keptMasterParts) {
  auto kept = [&](int x, int y) {
    for (const RECT& r : keptMasterParts)
      if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    return false;
  };
  auto check = [&](fw::TBitmap* before, fw::TBitmap* after, const std::string& what, bool keptWhole, bool master) {
    const std::vector<std::uint32_t> a = Pixels(before), b = Pixels(after);
    ASSERT_EQ(a.size(), b.size()) << what;
    int changedPixels = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
      const int x = static_cast<int>(i) % before->Width(), y = static_cast<int>(i) / before->Width();
      const bool keep = keptWhole || IsGreyOrKey(a[i]) || (master && kept(x, y));
      const std::uint32_t want = keep ? a[i] : change(a[i]);
      if (b[i] != want) {
        ADD_FAILURE() << what << " at " << x << "," << y << ": " << std::hex << a[i] << " became " << b[i]
                      << ", expected " << want;
        return;
      }
      changedPixels += b[i] != a[i];
    }
    if (!keptWhole) {
      EXPECT_GT(changedPixels, 0) << what << " did not change at all";
    }
  };
  check(plain.MasterBitmap.get(), changed.MasterBitmap.get(), "master bitmap", false, true);
  ASSERT_EQ(plain.Masks.size(), changed.Masks.size());
  for (std::size_t i = 0; i < plain.Masks.size(); ++i) {
    const TsMaskData& m = plain.Masks[i];
    if (!m.OwnBitmap) continue;
    check(m.OwnBitmap.get(), changed.Masks[i].OwnBitmap.get(), m.Section + "/" + m.Prop,
          m.Section == "GLOBALINFO" && keptOwnPieces.count(m.Prop), false);
  }
  ASSERT_EQ(plain.Patterns.size(), 1u);
  ASSERT_EQ(changed.Patterns.size(), 1u);
  EXPECT_TRUE(Pixels(plain.Patterns[0].Image.get()) == Pixels(changed.Patterns[0].Image.get()))
      << "the large picture is not recoloured";

  const auto before = Colours(plain), after = Colours(changed);
  ASSERT_EQ(before.size(), after.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    const std::int32_t c = before[i].second;
    const std::int32_t want = c == clNone ? clNone : InColourOrder(c, change);
    EXPECT_EQ(after[i].second, want) << before[i].first << " was " << std::hex << c;
  }
}

TEST(BlueIceRecolouring, HueOffset120) {
  ASSERT_TRUE(Copies().Ok);
  LoadErrors().clear();
  TsSkinManager& plain = Loaded("folder");
  TsSkinManager& hue = Loaded("hue");
  EXPECT_TRUE(LoadErrors().empty());
  // Worked by hand: pure red turns green; the form's colour 0xFAF1E8 (red
  // 232, green 241, blue 250) has hue 240 + 60 / 18 * (232 - 241) = 210 and
  // saturation 18 / 250 = 0.072; turned to 330 degrees it lies in sector 5
  // at fraction 0.5: red 250, green 250 * 0.928 = 232, blue 250 * 0.964 =
  // 241.
  EXPECT_EQ(RotateHue(0x00FF0000, 120), 0x0000FF00u);
  EXPECT_EQ(SectionOf(plain, "FORM").Color, 0xFAF1E8);
  EXPECT_EQ(SectionOf(hue, "FORM").Color, 0xF1E8FA);
  ASSERT_EQ(hue.GlobalInfo->BiKeepHue, 2) << "the skin keeps only the close buttons' colours";

  // The close buttons keep their colours: their own pictures and glows, and
  // the small one's part of the master bitmap.
  const int smallIndex = plain.MaskIndexDirect("GLOBALINFO", "SICONCLOSE");
  ASSERT_GE(smallIndex, 0);
  const TsMaskData& small = plain.Masks[static_cast<std::size_t>(smallIndex)];
  ASSERT_FALSE(small.OwnBitmap);
  ExpectRecoloured(plain, hue, [](std::uint32_t p) { return RotateHue(p, 120); },
                   {"BICONCLOSE", "BICONCLOSEGLOW0", "SICONCLOSEGLOW0"},
                   {RECT{small.SrcLeft, small.SrcTop, small.SrcRight, small.SrcBottom}});
}

TEST(BlueIceRecolouring, SaturationMinus100MakesEverythingGrey) {
  ASSERT_TRUE(Copies().Ok);
  LoadErrors().clear();
  TsSkinManager& plain = Loaded("packed");
  TsSkinManager& grey = Loaded("saturation");
  EXPECT_TRUE(LoadErrors().empty());
  // By hand: the form's colour 0xFAF1E8 has the mean (232 + 241 + 250) / 3
  // = 241; its button's 0xFBF3EA (234, 243, 251) the mean 242.67, so 243.
  EXPECT_EQ(SectionOf(grey, "FORM").Color, 0xF1F1F1);
  EXPECT_EQ(SectionOf(plain, "BUTTON").Color, 0xFBF3EA);
  EXPECT_EQ(SectionOf(grey, "BUTTON").Color, 0xF3F3F3);
  // No piece is spared, the close buttons included.
  ExpectRecoloured(plain, grey, Grey, {}, {});
}

// A missing image file is no error: the skin loads without that piece (or
// texture, or picture), and everything else is as in the whole skin.
TEST(BlueIceMissingImage, OnlyItsPieceIsDropped) {
  ASSERT_TRUE(Copies().Ok);
  TsSkinManager& whole = Loaded("folder");
  struct Case {
    const char* file;
    const char* section;
    const char* prop;
  } cases[] = {{"BUTTON.PNG", "BUTTON", "BORDERSMASK"},
               {"GRIP.BMP", "GLOBALINFO", "GRIPIMAGE"},
               {"FROST.JPG", "STATUSBAR", "PATTERN"},
               {"ICEFIELD.JPG", "MDIAREA", "PATTERN"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    LoadErrors().clear();
    auto m = Load(Copies().Without(c.file));
    EXPECT_TRUE(LoadErrors().empty()) << LoadErrors().front();
    EXPECT_TRUE(m->Active());
    EXPECT_EQ(m->SkinInfo(), "7.2");
    EXPECT_EQ(m->Sections.size(), whole.Sections.size());
    const int section = m->SectionIndex(c.section);
    EXPECT_EQ(m->MaskIndex(section, c.section, c.prop), -1);
    EXPECT_EQ(m->PatternIndex(section, c.section, c.prop), -1);

    // The other pieces and pictures, in the same order.
    std::vector<std::string> expected, got;
    for (const TsMaskData& mask : whole.Masks)
      if (mask.Section + "/" + mask.Prop != std::string(c.section) + "/" + c.prop) expected.push_back(Dump(mask));
    for (const TsPatternData& pattern : whole.Patterns)
      if (pattern.Section + "/" + pattern.Prop != std::string(c.section) + "/" + c.prop)
        expected.push_back(pattern.Section + "/" + pattern.Prop);
    for (const TsMaskData& mask : m->Masks) got.push_back(Dump(mask));
    for (const TsPatternData& pattern : m->Patterns) got.push_back(pattern.Section + "/" + pattern.Prop);
    EXPECT_EQ(got, expected);
  }
  // Without the button's piece its section still paints from colours, and
  // sections inheriting from it find no frame either.
  auto m = Load(Copies().Without("BUTTON.PNG"));
  EXPECT_EQ(m->MaskIndex(m->SectionIndex("SPEEDBUTTON"), "SPEEDBUTTON", "BORDERSMASK"), -1);
  EXPECT_EQ(SectionOf(*m, "BUTTON").BorderIndex, -1);
}

}  // namespace
}  // namespace translit
