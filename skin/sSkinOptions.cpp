// Reading a skin's options into the tables.
#include "skin/sSkinOptions.h"

#include <functional>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

#include "render/pixels/AlphaKernels.h"
#include "skin/acSkinPack.h"
#include "skin/sSkinNumbers.h"

namespace translit {

namespace {

constexpr const char* kMissing = "?";

// The value of a key of a section (the first of that name), or null.
const std::string* KeyValue(const TacIniFile::Section* section, std::string_view key) {
  if (!section) return nullptr;
  for (const TacIniFile::Key& k : section->Keys)
    if (k.Name == key) return &k.Value;
  return nullptr;
}

// Walks the section and its PARENTCLASS chain; stops at a section already
// seen. found(section) answers whether the key is there (the section is null
// when no section has that name). Nothing is copied on the way: every skin
// load reads some thousand keys through here.
template <class Found>
int WalkChain(const TacIniFile& ini, std::string_view section, Found found) {
  std::string_view current = section;
  for (std::size_t depth = 0; depth <= ini.Sections().size(); ++depth) {
    const TacIniFile::Section* s = ini.FindSection(current);
    if (found(s)) return static_cast<int>(depth);
    const std::string* parent = KeyValue(s, "PARENTCLASS");
    if (!parent || *parent == kMissing || *parent == current) return -1;
    current = *parent;
  }
  return -1;
}

bool IsTrue(const std::string& v) {
  std::string u = UpperCase(v);
  return u == "1" || u == "TRUE";
}

std::int16_t ReadInt16(const TacIniFile& ini, std::string_view key, std::int32_t def) {
  return static_cast<std::int16_t>(ini.ReadInteger("GLOBALINFO", key, def));
}

std::int16_t ReadStrict16(const TacIniFile& ini, std::string_view key, std::string_view def) {
  return static_cast<std::int16_t>(StrToInt(ini.ReadString("GLOBALINFO", key, def)));
}

TsGradArray ParseIfText(const std::string& text) { return text.size() < 2 ? TsGradArray{} : ParseGradient(text); }

// The inherited reads of every section of one options text. A section that
// lacks a key takes its parent's answer, which is worked out once and kept:
// a PARENTCLASS chain of N sections costs N steps per key for all of them,
// not N steps for each. Sections are known by their first occurrence (a
// later section of the same name reads as the first, as the INI reader
// does) and are held by index, so that a read looks at the keys of the
// sections on its chain and nothing else. The answers are those of
// WalkChain: the first section along the chain that holds the key, none for
// a chain that returns to a section it passed without one.
class InheritedReader {
 public:
  explicit InheritedReader(const TacIniFile& ini) : FIni(ini), FParent(ini.Sections().size(), -1) {
    const auto& sections = ini.Sections();
    for (std::size_t i = 0; i < sections.size(); ++i) {
      const std::string& name = sections[i].Name;
      if (First(name) != static_cast<int>(i)) continue;
      const std::string* parent = KeyValue(&sections[i], "PARENTCLASS");
      if (parent && *parent != kMissing && *parent != name) FParent[i] = First(*parent);
    }
  }

  // The section the reads of that name go to: its first occurrence, or -1.
  int First(std::string_view name) const {
    const TacIniFile::Section* s = FIni.FindSection(name);
    return s ? static_cast<int>(s - FIni.Sections().data()) : -1;
  }

  // The integer of the key along the chain from the section own (as First
  // gives it); as written when that section holds it, as colour to RGB when
  // an ancestor does, else def.
  TColorValue Integer(const TsSkinTables& tables, int own, std::string_view key, TColorValue def) {
    const std::string* value = nullptr;
    const int at = Holder(FIntegers, key, false, own, value);
    if (at < 0) return def;
    const TColorValue number = StrToIntDef(*value, -1);
    return at == own ? number : tables.ColorToRGB(number);
  }

  std::string String(int own, std::string_view key, std::string_view def) {
    const std::string* value = nullptr;
    return Holder(FTexts, key, true, own, value) < 0 ? std::string(def) : *value;
  }

 private:
  static constexpr int kUnknown = -3, kOnPath = -2;
  struct KeyHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view k) const { return std::hash<std::string_view>{}(k); }
  };
  // For each key: the holding section of every section's chain, as far as
  // worked out; looked up by the caller's key without a copy of it.
  using Known = std::unordered_map<std::string, std::vector<int>, KeyHash, std::equal_to<>>;

  const TacIniFile::Section* At(int index) const { return &FIni.Sections()[static_cast<std::size_t>(index)]; }

  // The key's value in that very section when it holds it (as text other
  // than "?", or as an integer other than -1).
  const std::string* Held(int index, std::string_view key, bool text) const {
    const std::string* v = KeyValue(At(index), key);
    if (!v) return nullptr;
    if (text) return *v != kMissing ? v : nullptr;
    return StrToIntDef(*v, -1) != -1 ? v : nullptr;
  }

  // The section along the chain from index that holds the key, or -1;
  // value is then its value there.
  int Holder(Known& cache, std::string_view key, bool text, int index, const std::string*& value) {
    if (index < 0) return -1;
    auto it = cache.find(key);
    if (it == cache.end()) it = cache.emplace(std::string(key), std::vector<int>(FParent.size(), kUnknown)).first;
    std::vector<int>& known = it->second;
    FPath.clear();
    int result = -1;
    for (int at = index; at >= 0; at = FParent[static_cast<std::size_t>(at)]) {
      int& k = known[static_cast<std::size_t>(at)];
      if (k == kOnPath) break;  // back on the path: nobody on the loop holds it
      if (k != kUnknown) {
        result = k;
        break;
      }
      if (Held(at, key, text)) {
        result = k = at;
        break;
      }
      k = kOnPath;
      FPath.push_back(at);
    }
    for (int at : FPath) known[static_cast<std::size_t>(at)] = result;
    if (result >= 0) value = KeyValue(At(result), key);
    return result;
  }

  const TacIniFile& FIni;
  std::vector<int> FParent;  // first section of the PARENTCLASS, or -1
  Known FIntegers, FTexts;
  std::vector<int> FPath;  // the sections a walk passed, reused
};

}  // namespace

std::string ReadInheritedString(const TacIniFile& ini, std::string_view section, std::string_view key,
                                std::string_view def) {
  const std::string* value = nullptr;
  int depth = WalkChain(ini, section, [&](const TacIniFile::Section* s) {
    value = KeyValue(s, key);
    return value && *value != kMissing;
  });
  return depth < 0 ? std::string(def) : *value;
}

TColorValue ReadInheritedInteger(const TacIniFile& ini, const TsSkinTables& tables, std::string_view section,
                                 std::string_view key, TColorValue def) {
  TColorValue value = -1;
  int depth = WalkChain(ini, section, [&](const TacIniFile::Section* s) {
    const std::string* text = KeyValue(s, key);
    value = text ? StrToIntDef(*text, -1) : -1;
    return value != -1;
  });
  if (depth < 0) return def;
  return depth == 0 ? value : tables.ColorToRGB(value);
}

void ReadGlobalInfo(const TacIniFile& ini, TsSkinData& g, const TsSystemValues& system) {
  g.Version = StrToFloatDotDef(ini.ReadString("GLOBALINFO", "VERSION", "0"), 0);
  g.Author = ini.ReadString("GLOBALINFO", "AUTHOR", "");
  g.Description = ini.ReadString("GLOBALINFO", "DESCRIPTION", "");
  g.Shadow1Color = ini.ReadInteger("GLOBALINFO", "SHADOW1COLOR", 0);
  g.Shadow1Offset = ReadStrict16(ini, "SHADOW1OFFSET", "0");
  g.Shadow1Blur = ReadStrict16(ini, "SHADOW1BLUR", "-1");
  g.Shadow1Transparency = ReadStrict16(ini, "SHADOW1TRANSPARENCY", "0");
  g.BorderWidth = ReadInt16(ini, "BORDERWIDTH", 4);
  g.TitleHeight = ReadInt16(ini, "TITLEHEIGHT", 30);
  g.MaxTitleHeight = ReadInt16(ini, "MAXHEIGHT", 0);
  g.FormOffset = ReadInt16(ini, "FORMOFFSET", system.FrameWidth());
  g.AlignOffset = ReadInt16(ini, "ALIGNOFFSET", 0);
  g.CenterOffset = ReadInt16(ini, "CENTEROFFSET", 0);
  g.BorderMode = ReadInt16(ini, "BORDERMODE", 0);
  g.BorderColor = ini.ReadInteger("GLOBALINFO", "BORDERCOLOR", 0);
  g.BiSpace = ReadInt16(ini, "BISPACE", 0);
  g.BiVAlign = ReadInt16(ini, "BIVALIGN", 0);
  g.BiRight = ReadInt16(ini, "BIRIGHT", 0);
  g.BiLeft = ReadInt16(ini, "BILEFT", 0);
  g.BiTop = ReadInt16(ini, "BITOP", 0);
  g.BiKeepHue = ReadInt16(ini, "BIKEEPHUE", 0);
  g.BiCloseGlow = ReadStrict16(ini, "BICONCLOSEGLOW", "0");
  g.BiCloseGlowMargin = ReadStrict16(ini, "BICONCLOSEGLOWMARGIN", "0");
  g.BiMaxGlow = ReadStrict16(ini, "BICONMAXGLOW", "0");
  g.BiMaxGlowMargin = ReadStrict16(ini, "BICONMAXGLOWMARGIN", "0");
  g.BiMinGlow = ReadStrict16(ini, "BICONMINGLOW", "0");
  g.BiMinGlowMargin = ReadStrict16(ini, "BICONMINGLOWMARGIN", "0");
}

void ReadSkinSections(const TacIniFile& ini, TsSkinTables& tables) {
  tables.Sections.clear();
  tables.Sections.reserve(ini.Sections().size());
  InheritedReader inherited(ini);
  for (const TacIniFile::Section& sec : ini.Sections()) {
    const std::string& name = sec.Name;
    const int own = inherited.First(name);
    auto num = [&](std::string_view key, TColorValue def) { return inherited.Integer(tables, own, key, def); };
    auto text = [&](std::string_view key, std::string_view def) { return inherited.String(own, key, def); };
    auto flag = [&](std::string_view key) { return IsTrue(text(key, "0")); };

    TsGeneralData g;
    g.Name = name;
    g.Parent = text("PARENTCLASS", "");
    g.StateCount = num("STATES", 4);
    g.OwnFont = flag("GIVEOWNFONT");
    g.ReservedFlag = flag("RESERVEDBOOLEAN");
    g.FocusVisible = flag("SHOWFOCUS");
    g.Glow = num("GLOW", 0);
    g.GlowMargin = num("GLOWMARGIN", 0);
    g.Color = tables.ColorToRGB(num("COLOR", 0xFFFFFF));
    g.Transparency = num("TRANSPARENCY", 0);
    g.GradientPercent = num("GRADIENTPERCENT", 0);
    g.GradientData = text("GRADIENTDATA", " ");
    g.GradientArray = ParseIfText(g.GradientData);
    g.ImagePercent = num("IMAGEPERCENT", 0);
    g.FontColor = num("FONTCOLOR", 0);
    g.TcLeft = num("TCLEFT", clNone);
    g.TcTop = num("TCTOP", clNone);
    g.TcRight = num("TCRIGHT", clNone);
    g.TcBottom = num("TCBOTTOM", clNone);
    if (g.StateCount >= 2) {
      g.HotColor = num("HOTCOLOR", 0xFFFFFF);
      g.HotTransparency = num("HOTTRANSPARENCY", 0);
      g.HotGradientPercent = num("HOTGRADIENTPERCENT", 0);
      g.HotGradientData = text("HOTGRADIENTDATA", "");
      g.HotGradientArray = ParseIfText(g.HotGradientData);
      g.HotImagePercent = num("HOTIMAGEPERCENT", 0);
      g.HotFontColor = num("HOTFONTCOLOR", 0);
      g.HotTcLeft = num("HOTTCLEFT", clNone);
      g.HotTcTop = num("HOTTCTOP", clNone);
      g.HotTcRight = num("HOTTCRIGHT", clNone);
      g.HotTcBottom = num("HOTTCBOTTOM", clNone);
      g.HotGlowColor = tables.ColorToRGB(num("HGCOL", 0xFFFFFF));
      g.HotGlowSize = static_cast<std::uint8_t>(num("HGSIZE", 0));
    }
    g.FadingEnabled = flag("FADINGENABLED");
    g.FadingIterations = num("FADINGITERATIONS", 5);
    g.GlowColor = tables.ColorToRGB(num("GCOL", 0xFFFFFF));
    g.GlowSize = static_cast<std::uint8_t>(num("GSIZE", 0));
    FillSectionStates(g);
    tables.Sections.push_back(std::move(g));
  }
}

void MergeCommonSections(const TacIniFile& common, TsSkinTables& tables) {
  for (const TacIniFile::Section& sec : common.Sections()) {
    if (tables.SectionIndex(sec.Name) >= 0) continue;
    TsGeneralData g;
    g.Name = sec.Name;
    g.Parent = UpperCase(common.ReadString(sec.Name, "PARENTCLASS", "-1"));
    const TsGeneralData* base = nullptr;
    for (const TsGeneralData& s : tables.Sections)
      if (UpperCase(s.Name) == g.Parent) {
        base = &s;
        break;
      }
    const TsGeneralData defaults;
    const TsGeneralData& from = base ? *base : defaults;

    // Absent or -1: the base's value (the default without a base).
    auto num = [&](std::string_view key, std::int32_t TsGeneralData::*field) {
      std::int32_t v = common.ReadInteger(sec.Name, key, -1);
      g.*field = v == -1 ? from.*field : v;
    };
    // Absent reads 0; only -1 takes the base's value.
    auto zeroNum = [&](std::string_view key, std::int32_t TsGeneralData::*field) {
      std::int32_t v = common.ReadInteger(sec.Name, key, 0);
      g.*field = v == -1 ? from.*field : v;
    };
    auto size = [&](std::string_view key, std::uint8_t TsGeneralData::*field) {
      std::int32_t v = common.ReadInteger(sec.Name, key, 0);
      g.*field = v == -1 ? from.*field : static_cast<std::uint8_t>(v);
    };
    auto flag = [&](std::string_view key, bool TsGeneralData::*field) {
      g.*field = common.ValueExists(sec.Name, key) ? IsTrue(common.ReadString(sec.Name, key, "0")) : from.*field;
    };
    auto gradient = [&](std::string_view key, std::string TsGeneralData::*data, TsGradArray TsGeneralData::*array) {
      if (common.ValueExists(sec.Name, key)) {
        g.*data = common.ReadString(sec.Name, key, "");
        g.*array = ParseIfText(g.*data);
      } else {
        g.*data = from.*data;
        g.*array = from.*array;
      }
    };

    // The common section's own STATES decides; without it the base's count,
    // else the skin default of 4.
    num("STATES", &TsGeneralData::StateCount);
    flag("GIVEOWNFONT", &TsGeneralData::OwnFont);
    flag("RESERVEDBOOLEAN", &TsGeneralData::ReservedFlag);
    flag("SHOWFOCUS", &TsGeneralData::FocusVisible);
    zeroNum("GLOW", &TsGeneralData::Glow);
    zeroNum("GLOWMARGIN", &TsGeneralData::GlowMargin);
    num("COLOR", &TsGeneralData::Color);
    num("TRANSPARENCY", &TsGeneralData::Transparency);
    num("GRADIENTPERCENT", &TsGeneralData::GradientPercent);
    gradient("GRADIENTDATA", &TsGeneralData::GradientData, &TsGeneralData::GradientArray);
    num("IMAGEPERCENT", &TsGeneralData::ImagePercent);
    num("FONTCOLOR", &TsGeneralData::FontColor);
    num("TCLEFT", &TsGeneralData::TcLeft);
    num("TCTOP", &TsGeneralData::TcTop);
    num("TCRIGHT", &TsGeneralData::TcRight);
    num("TCBOTTOM", &TsGeneralData::TcBottom);
    num("HOTCOLOR", &TsGeneralData::HotColor);
    num("HOTTRANSPARENCY", &TsGeneralData::HotTransparency);
    num("HOTGRADIENTPERCENT", &TsGeneralData::HotGradientPercent);
    gradient("HOTGRADIENTDATA", &TsGeneralData::HotGradientData, &TsGeneralData::HotGradientArray);
    num("HOTIMAGEPERCENT", &TsGeneralData::HotImagePercent);
    num("HOTFONTCOLOR", &TsGeneralData::HotFontColor);
    num("HOTTCLEFT", &TsGeneralData::HotTcLeft);
    num("HOTTCTOP", &TsGeneralData::HotTcTop);
    num("HOTTCRIGHT", &TsGeneralData::HotTcRight);
    num("HOTTCBOTTOM", &TsGeneralData::HotTcBottom);
    flag("FADINGENABLED", &TsGeneralData::FadingEnabled);
    num("FADINGITERATIONS", &TsGeneralData::FadingIterations);
    num("HGCOL", &TsGeneralData::HotGlowColor);
    num("GCOL", &TsGeneralData::GlowColor);
    size("HGSIZE", &TsGeneralData::HotGlowSize);
    size("GSIZE", &TsGeneralData::GlowSize);
    FillSectionStates(g);
    tables.Sections.push_back(std::move(g));
  }
}

namespace {

// Applies f to every colour that the hue and saturation settings change.
void ForEachSkinColor(TsSkinTables& tables, const std::function<std::uint32_t(std::uint32_t)>& f) {
  auto always = [&](TColorValue& c) { c = static_cast<TColorValue>(f(static_cast<std::uint32_t>(c))); };
  auto given = [&](TColorValue& c) {
    if (c != clNone) always(c);
  };
  auto gradient = [&](TsGradArray& a) {
    for (TsGradient& stop : a) {
      stop.Color1 = f(stop.Color1);
      stop.Color2 = f(stop.Color2);
    }
  };
  for (TsGeneralData& s : tables.Sections) {
    always(s.Color);
    always(s.HotColor);
    always(s.GlowColor);
    always(s.HotGlowColor);
    for (TColorValue* c : {&s.FontColor, &s.TcLeft, &s.TcTop, &s.TcRight, &s.TcBottom, &s.HotFontColor, &s.HotTcLeft,
                           &s.HotTcTop, &s.HotTcRight, &s.HotTcBottom})
      given(*c);
    gradient(s.GradientArray);
    gradient(s.HotGradientArray);
    for (TsGenState& st : s.States) {
      always(st.Color);
      always(st.GlowColor);
      for (TColorValue* c : {&st.FontColor, &st.TcLeft, &st.TcTop, &st.TcRight, &st.TcBottom}) given(*c);
      // The looks share their gradient with the section's own, so they
      // change with it.
      gradient(st.GradientArray);
    }
  }
  always(tables.GlobalInfo->Shadow1Color);
  always(tables.GlobalInfo->BorderColor);
}

}  // namespace

void ShiftSkinColorsHue(TsSkinTables& tables, int degrees) {
  if (degrees == 0) return;
  ForEachSkinColor(tables, [degrees](std::uint32_t c) { return ShiftHueRGB(c, degrees); });
}

void ScaleSkinColorsSaturation(TsSkinTables& tables, int amount) {
  amount = ReduceSaturation(amount);
  if (amount == 0) return;
  ForEachSkinColor(tables, [amount](std::uint32_t c) { return ScaleSaturation(c, amount); });
}

}  // namespace translit
