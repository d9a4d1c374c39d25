// The skin manager on the platform: loading, applying and removing skins and
// who hears of it, the default manager, stored skins, the skin list, the
// preview record, the manager read from a stored layout, and the process's
// GDI and USER objects after many loads.
#include "skin/sSkinManager.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "controls/protocol/sMessages.h"
#include "framework/Application.h"
#include "framework/ClassRegistry.h"
#include "skin/acSkinPack.h"
#include "skin/sLayeredSupport.h"
#include "skin/sProgramIcons.h"
#include "skin/sShadowTemplates.h"
#include "controls/protocol/sSkinState.h"
#include "tests/skin/SkinFolders.h"
#include "tests/support/TempFolder.h"
#include "tests/support/GuiCounts.h"

namespace translit {
namespace {

using test::WriteBytes;
using test::WriteText;
using testing_files::TempFolder;

const char* const kOptions =
    "[GLOBALINFO]\r\nVERSION=7.2\r\nMASTERBITMAP=MASTER.BMP\r\n"
    "[BUTTON]\r\nCOLOR=0x0000FF\r\nBORDERSMASK=@0000,0000,0030,0020,3,1\r\n";

void WriteSkin(const std::string& dir, const std::string& name, const std::string& options = kOptions) {
  test::WriteSkinFolder(dir, name, options);
}

// A control that logs the skin messages it hears, with whether they came
// from the expected manager.
class TSkinListener : public fw::TWinControl {
 public:
  TSkinListener(fw::TComponent* owner, std::vector<int>& log) : fw::TWinControl(owner), FLog(log) {
    SetBounds(0, 0, 20, 20);
  }
  const char* ClassName() const override { return "TSkinListener"; }
  LPARAM lastManager = 0;

 protected:
  void WndProc(fw::TMessage& m) override {
    if (IsSkinMessage(m)) {
      TacSkinMessage s = ReadSkinMessage(m);
      if (s.Command == SKINCMD_IS_SKINNED) {
        m.Result = 1;
        return;
      }
      FLog.push_back(s.Command);
      lastManager = s.LParam;
      return;
    }
    fw::TWinControl::WndProc(m);
  }

 private:
  std::vector<int>& FLog;
};

class SkinManager : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::EnsureApplication();
    RegisterSkinManagerClasses();
    savedLoadError = TsSkinManager::ShowLoadError;
    savedPlainMessage = TsSkinManager::ShowPlainMessage;
    TsSkinManager::ShowLoadError = [this](const std::string& m) { errors.push_back(m); };
    TsSkinManager::ShowPlainMessage = [this](const std::string& m) { notes.push_back(m); };
    form = new fw::TForm(fw::Application);
    listener = new TSkinListener(form, log);
    listener->SetParent(form);
    form->Show();
  }
  void TearDown() override {
    delete manager;
    delete form;
    TsSkinManager::ShowLoadError = savedLoadError;
    TsSkinManager::ShowPlainMessage = savedPlainMessage;
  }
  // A manager on the form looking in the temporary folder.
  TsSkinManager* MakeManager() {
    manager = new TsSkinManager(form);
    manager->SetSkinDirectory(tmp.Path());
    return manager;
  }

  TempFolder tmp;
  std::function<void(const std::string&)> savedLoadError, savedPlainMessage;
  std::vector<std::string> errors, notes;
  std::vector<int> log;
  fw::TForm* form = nullptr;
  TSkinListener* listener = nullptr;
  TsSkinManager* manager = nullptr;
};

TEST_F(SkinManager, MissingSkinLeavesTheManagerInactiveWithoutAMessage) {
  MakeManager();
  EXPECT_EQ(manager->SkinInfo(), "N/A");
  manager->SetSkinName("BlueIce");
  EXPECT_FALSE(manager->Active());
  EXPECT_TRUE(errors.empty());
  EXPECT_TRUE(notes.empty());
  EXPECT_EQ(log, (std::vector<int>{SKINCMD_REMOVE_SKIN}));
  EXPECT_EQ(manager->SkinInfo(), "N/A");
  EXPECT_FALSE(SkinLoadInProgress);
}

TEST_F(SkinManager, LoadingTellsEveryFormAndControl) {
  WriteSkin(tmp.Path(), "Blue");
  MakeManager();
  std::vector<std::string> events;
  manager->SetOnBeforeChange([&](fw::TComponent*) { events.emplace_back("before"); });
  manager->SetOnAfterChange([&](fw::TComponent*) { events.push_back("after " + manager->SkinInfo()); });
  manager->SetSkinName("Blue");
  EXPECT_TRUE(manager->Active());
  EXPECT_TRUE(manager->GlobalInfo->Loaded);
  EXPECT_EQ(manager->SkinInfo(), "7.2");
  EXPECT_EQ(events, (std::vector<std::string>{"before", "after 7.2"}));
  EXPECT_EQ(log, (std::vector<int>{SKINCMD_NEW_SKIN, SKINCMD_STOP_ANIMATION, SKINCMD_REFRESH}));
  EXPECT_EQ(listener->lastManager, reinterpret_cast<LPARAM>(manager));
  EXPECT_GE(manager->SectionIndex("BUTTON"), 0);
  EXPECT_FALSE(manager->LoadedFromPacked());

  // Off and on again: removal, then the skin reloaded from disk and applied.
  log.clear();
  manager->SetActive(false);
  EXPECT_TRUE(manager->Sections.empty());
  EXPECT_EQ(manager->SkinInfo(), "N/A");
  manager->SetActive(true);
  EXPECT_EQ(log, (std::vector<int>{SKINCMD_REMOVE_SKIN, SKINCMD_NEW_SKIN, SKINCMD_STOP_ANIMATION, SKINCMD_REFRESH}));
  EXPECT_EQ(manager->SkinInfo(), "7.2");

  // A packed file of the name wins over the folder.
  std::string options = kOptions;
  WriteBytes(tmp.Path() + "Blue.asz",
             WritePackedSkin({{"Options.dat", test::Bytes(options.begin(), options.end())},
                              {"Master.bmp", test::MakeBmp(90, 20, 24, test::Solid(0xFF336699))}}));
  manager->SetSkinName("Blue");
  EXPECT_TRUE(manager->LoadedFromPacked());
}

TEST_F(SkinManager, ASkinNotFoundLeavesNothingOfTheOldOneBehind) {
  WriteSkin(tmp.Path(), "Blue",
            "[GLOBALINFO]\r\nVERSION=7.2\r\nMASTERBITMAP=MASTER.BMP\r\nBOXCHECKED=@0000,0000,0010,0010,1,1\r\n"
            "[BUTTON]\r\nCOLOR=0x0000FF\r\n");
  MakeManager();
  manager->SetSkinName("Blue");
  ASSERT_TRUE(manager->Active());
  ASSERT_FALSE(manager->GlobalInfo->SkinFolder.empty());
  ASSERT_GE(manager->ConstIndexes.GlobalInfoIndex, 0);
  ASSERT_GE(manager->ConstIndexes.CheckBoxChecked, 0);

  manager->SetSkinName("Gone");
  EXPECT_FALSE(manager->Active());
  EXPECT_EQ(manager->GlobalInfo->SkinFolder, "") << "no folder of the old skin";
  EXPECT_EQ(manager->ConstIndexes.GlobalInfoIndex, -1);
  EXPECT_EQ(manager->ConstIndexes.CheckBoxChecked, -1);
}

TEST_F(SkinManager, VersionCheckAndLoadErrors) {
  WriteSkin(tmp.Path(), "New", "[GLOBALINFO]\r\nVERSION=8\r\n[BUTTON]\r\nCOLOR=1\r\n");
  WriteSkin(tmp.Path(), "Broken", "[GLOBALINFO]\r\nSHADOW1OFFSET=abc\r\n");
  MakeManager();
  manager->SetSkinName("New");
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].substr(0, 40), "This version of the skin have not comple");
  EXPECT_TRUE(manager->Active()) << "the newer skin is still applied";
  EXPECT_EQ(manager->SkinInfo(), "8");

  int afterChanges = 0;
  manager->SetOnAfterChange([&](fw::TComponent*) { ++afterChanges; });
  manager->SetSkinName("Broken");
  EXPECT_EQ(errors, (std::vector<std::string>{"'abc' is not a valid integer value"}));
  EXPECT_EQ(manager->SkinName(), "New") << "the old name comes back";
  EXPECT_EQ(afterChanges, 1);
  EXPECT_FALSE(SkinLoadInProgress);
}

TEST_F(SkinManager, TheFirstManagerIsTheDefaultUntilAnotherIsMadeIt) {
  WriteSkin(tmp.Path(), "Blue");
  MakeManager();
  ASSERT_EQ(DefaultManager, manager);
  auto* second = new TsSkinManager(form);
  EXPECT_FALSE(second->IsDefault());
  second->SetSkinDirectory(tmp.Path());
  second->SetSkinName("Blue");
  log.clear();
  second->SetIsDefault(true);
  EXPECT_EQ(DefaultManager, second);
  EXPECT_FALSE(manager->IsDefault());
  EXPECT_EQ(log.front(), SKINCMD_NEW_SKIN) << "the new default applies its skin";
  EXPECT_EQ(listener->lastManager, reinterpret_cast<LPARAM>(second));
  delete second;
  EXPECT_EQ(DefaultManager, nullptr);
}

TEST_F(SkinManager, StoredSkinsStandInForMissingOnes) {
  std::string options = "[GLOBALINFO]\r\nVERSION=7.5\r\n[BUTTON]\r\nCOLOR=5\r\n";
  MakeManager();
  TsStoredSkin& stored = manager->InternalSkins().Add();
  stored.Name = "Inside";
  stored.Data = WritePackedSkin({{"Options.dat", test::Bytes(options.begin(), options.end())}});
  manager->SetSkinName("Nowhere");
  EXPECT_TRUE(manager->Active());
  EXPECT_EQ(manager->SkinName(), "Inside");
  EXPECT_EQ(manager->SkinInfo(), "7.5");
}

TEST_F(SkinManager, ListsStoredSkinsThenTheDirectorysSkinsSorted) {
  WriteSkin(tmp.Path(), "Beta");
  WriteSkin(tmp.Path(), "Alpha");
  tmp.Folder("NoOptions");
  WriteText(tmp.Path() + "Zed.asz", "x");
  WriteText(tmp.Path() + "Upper.ASZ", "x");
  WriteText(tmp.Path() + "Two.dots.asz", "x");
  MakeManager();
  fw::TStrings list;
  auto names = [&list] {
    std::vector<std::string> v;
    v.reserve(static_cast<std::size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i) v.push_back(list[i]);
    return v;
  };
  std::string first = manager->ListSkins(list, slFolders);
  EXPECT_EQ(names(), (std::vector<std::string>{"Alpha", "Beta"}));
  EXPECT_TRUE(first == "Alpha" || first == "Beta") << first;
  manager->ListSkins(list, slPacked);
  EXPECT_EQ(names(), (std::vector<std::string>{"Two", "Zed"}));
  manager->ListSkins(list, slAll);
  EXPECT_EQ(names(), (std::vector<std::string>{"Alpha", "Beta", "Two", "Zed"}));
  manager->InternalSkins().Add().Name = "Mine";
  EXPECT_EQ(manager->ListSkins(list, slAll), "Mine");
  EXPECT_EQ(names(), (std::vector<std::string>{"Alpha", "Beta", "Mine", "Two", "Zed"}));
}

TEST_F(SkinManager, PreviewRecordAppliesItsOptionsText) {
  WriteSkin(tmp.Path(), "Blue");  // its own options say 7.2
  MakeManager();
  std::vector<std::uint8_t> record(30646, 0);
  const std::int32_t marker = 0xA400;
  std::memcpy(record.data(), &marker, 4);
  std::strcpy(reinterpret_cast<char*>(record.data() + 4), "Blue");
  std::strcpy(reinterpret_cast<char*>(record.data() + 132), tmp.Path().c_str());
  std::strcpy(reinterpret_cast<char*>(record.data() + 645), "[GLOBALINFO]\r\nVERSION=7.9\r\n[BUTTON]\r\nCOLOR=3\r\n");
  COPYDATASTRUCT data{7, static_cast<DWORD>(record.size()), record.data()};
  EXPECT_EQ(manager->HandlePreviewMessage(data), 1);
  EXPECT_EQ(manager->SkinInfo(), "7.9");
  EXPECT_FALSE(manager->UpdatesSuspended());
  EXPECT_EQ(log.front(), SKINCMD_NEW_SKIN);

  const std::int32_t other = 0xA401;
  std::memcpy(record.data(), &other, 4);
  EXPECT_EQ(manager->HandlePreviewMessage(data), 0);
  COPYDATASTRUCT wrongKind{6, static_cast<DWORD>(record.size()), record.data()};
  EXPECT_EQ(manager->HandlePreviewMessage(wrongKind), 0);
  std::memcpy(record.data(), &marker, 4);
  COPYDATASTRUCT cut{7, 1000, record.data()};
  EXPECT_EQ(manager->HandlePreviewMessage(cut), 0) << "a record shorter than its layout is not read";
}

TEST_F(SkinManager, HotControlAndCommonSections) {
  MakeManager();
  auto* other = new TSkinListener(form, log);
  other->SetParent(form);
  manager->SetHotControl(listener->Handle());
  manager->SetHotControl(other->Handle());
  EXPECT_EQ(log, (std::vector<int>{SKINCMD_MOUSE_ENTER, SKINCMD_MOUSE_LEAVE, SKINCMD_MOUSE_ENTER}));
  EXPECT_EQ(other->lastManager, reinterpret_cast<LPARAM>(manager));

  manager->SetCommonSections({"[EXTRA] ", "; keep my blanks", "COLOR = 0x10"});
  EXPECT_EQ(manager->CommonSections(), (std::vector<std::string>{"[EXTRA]", "; keep my blanks", "COLOR=0x10"}));
}

TEST_F(SkinManager, ReadFromAStoredLayout) {
  form->LoadLayoutText(R"(object F: TForm
  object sSkinManager1: TsSkinManager
    InternalSkins = <>
    MenuSupport.ExtraLineFont.Charset = DEFAULT_CHARSET
    MenuSupport.ExtraLineFont.Color = clWindowText
    MenuSupport.ExtraLineFont.Height = -11
    MenuSupport.ExtraLineFont.Name = 'MS Sans Serif'
    MenuSupport.ExtraLineFont.Style = []
    SkinDirectory = 'c:\documents\'#1088#1072#1079#1085#1086#1077'\Skins\'
    SkinName = 'BlueIce'
    SkinInfo = '7.2'
    ThirdParty.ThirdEdits = ' '
    ThirdParty.ThirdButtons = 'TButton'
    ThirdParty.ThirdBitBtns = ' '
    ThirdParty.ThirdStatusBar = ' '
  end
end)");
  auto* loaded = dynamic_cast<TsSkinManager*>(form->FindComponent("sSkinManager1"));
  ASSERT_NE(loaded, nullptr);
  EXPECT_FALSE(loaded->Active()) << "the developer's folder is not here";
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(loaded->SkinInfo(), "N/A");
  EXPECT_EQ(loaded->MenuSupport().IcoLineSkin, "ICOLINE");
  EXPECT_EQ(loaded->ThirdPartyClasses(tpButton), (std::vector<std::string>{"TButton"}));
  EXPECT_EQ(loaded->ThirdPartyClasses(tpEdit), (std::vector<std::string>{" "}));
  EXPECT_EQ(loaded->ThirdPartyClasses(tpSpeedButton), (std::vector<std::string>{" "})) << "the default";
  EXPECT_EQ(loaded->SkinningRules(), unsigned{srStdForms | srStdDialogs | srThirdParty});
}

TEST_F(SkinManager, CommonSectionsStoredBeforeTheNameAreLoadedWithTheSkin) {
  // The stored order puts CommonSections before SkinDirectory and SkinName.
  WriteSkin(tmp.Path(), "Blue");
  form->LoadLayoutText(std::string(R"(object F: TForm
  object sSkinManager1: TsSkinManager
    CommonSections.Strings = (
      '[EXTRA]'
      'COLOR = 0x00FF00')
    SkinDirectory = ')") +
                       tmp.Path() + R"('
    SkinName = 'Blue'
  end
end)");
  auto* loaded = dynamic_cast<TsSkinManager*>(form->FindComponent("sSkinManager1"));
  ASSERT_NE(loaded, nullptr);
  manager = loaded;  // freed by the fixture before its form
  EXPECT_TRUE(loaded->Active());
  EXPECT_EQ(loaded->SkinName(), "Blue");
  EXPECT_EQ(loaded->SkinInfo(), "7.2");
  EXPECT_GE(loaded->SectionIndex("BUTTON"), 0);
  EXPECT_GE(loaded->SectionIndex("EXTRA"), 0) << "the common sections are merged into the skin";
  EXPECT_TRUE(errors.empty());
}

TEST_F(SkinManager, EngineStartUpAndMenuExtraLine) {
  MakeManager();
  // The platform family as the older call tells it: its high bit is clear
  // on the NT family only.
  EXPECT_EQ(IsNTPlatform, (::GetVersion() & 0x80000000u) == 0) << "the engine reads the platform's family";
  const fw::TFileFormat* png = fw::FindFileFormat("png");
  ASSERT_NE(png, nullptr) << "the engine makes PNG pictures known";
  EXPECT_EQ(png->Description, "Portable network graphics (skin engine)");

  TacExtraLineData plain = manager->MenuExtraLineData(nullptr);
  EXPECT_EQ(plain.SkinSection, "EXTRALINE");
  EXPECT_EQ(plain.Caption, "Use OnGetExtraLineData event");
  EXPECT_EQ(plain.Glyph, nullptr);
  EXPECT_TRUE(plain.LineVisible);

  fw::TBitmap glyph(4, 4);
  fw::TComponent* asked = nullptr;
  bool shown = true;
  manager->SetOnGetMenuExtraLineData(
      [&](fw::TComponent* first, std::string& section, std::string& caption, fw::TBitmap*& g, bool& visible) {
        asked = first;
        EXPECT_EQ(caption, "Use OnGetExtraLineData event") << "asked with the defaults";
        section = "MYLINE";
        caption = "&Skin && menu";
        g = &glyph;
        visible = shown;
      });
  for (bool visible : {true, false}) {
    shown = visible;
    TacExtraLineData data = manager->MenuExtraLineData(form);
    EXPECT_EQ(asked, form);
    EXPECT_EQ(data.SkinSection, "MYLINE");
    EXPECT_EQ(data.Caption, "Skin  menu") << "every \"&\" taken out";
    EXPECT_EQ(data.LineVisible, visible);
    EXPECT_EQ(data.Glyph, visible ? &glyph : nullptr) << "an invisible line keeps no glyph";
  }
}

TEST_F(SkinManager, EffectSettingsHaveTheirDefaultsAndAreReadFromALayout) {
  manager = new TsSkinManager(nullptr);
  TacAnimEffects& a = manager->AnimEffects();
  struct Group {
    const TacFormAnimation& group;
    const char* className;
    bool active;
    int time;
    TacAnimType mode;
  };
  const Group groups[] = {
      {a.DialogShow, "TacDialogShow", true, 0, atAero},
      {a.FormShow, "TacFormShow", true, 0, atAero},
      {a.FormHide, "TacFormHide", true, 0, atAero},
      {a.DialogHide, "TacFormHide", true, 0, atAero},
      {a.Minimizing, "TacMinimizing", true, 200, atAero},
      {a.PageChange, "TacPageChange", true, 0, atAero},
      {a.SkinChanging, "TacSkinChanging", true, 100, atFading},
      {a.BlendOnMoving, "TacBlendOnMoving", false, 1000, atAero},
  };
  for (const Group& g : groups) {
    EXPECT_STREQ(g.group.ClassName(), g.className);
    EXPECT_EQ(g.group.Active, g.active) << g.className;
    EXPECT_EQ(g.group.Time, g.time) << g.className;
    EXPECT_EQ(g.group.Mode, g.mode) << g.className;
  }
  EXPECT_EQ(a.BlendOnMoving.BlendValue, 170);
  EXPECT_EQ(a.Buttons.Events, unsigned{beMouseEnter | beMouseLeave | beMouseDown | beMouseUp});
  EXPECT_TRUE(manager->Effects().StoredAllowGlowing());
  delete manager;
  manager = nullptr;

  form->LoadLayoutText(R"(object F: TForm
  object sSkinManager1: TsSkinManager
    Effects.AllowGlowing = False
    AnimEffects.Buttons.Events = [beMouseDown]
    AnimEffects.FormShow.Mode = atFading
    AnimEffects.FormShow.Time = 120
    AnimEffects.SkinChanging.Time = 300
    AnimEffects.Minimizing.Active = False
    AnimEffects.BlendOnMoving.BlendValue = 200
    SkinName = 'Nothing'
  end
end)");
  auto* loaded = dynamic_cast<TsSkinManager*>(form->FindComponent("sSkinManager1"));
  ASSERT_NE(loaded, nullptr);
  EXPECT_FALSE(loaded->Effects().AllowGlowing());
  EXPECT_EQ(loaded->AnimEffects().Buttons.Events, unsigned{beMouseDown});
  EXPECT_EQ(loaded->AnimEffects().FormShow.Mode, atFading);
  EXPECT_EQ(loaded->AnimEffects().FormShow.Time, 120);
  EXPECT_EQ(loaded->AnimEffects().SkinChanging.Time, 300);
  EXPECT_FALSE(loaded->AnimEffects().Minimizing.Active);
  EXPECT_EQ(loaded->AnimEffects().BlendOnMoving.BlendValue, 200);

  // Only the show, hide and skin-change groups store a mode.
  fw::TForm other(fw::Application);
  std::string error;
  try {
    other.LoadLayoutText(R"(object G: TForm
  object sSkinManager2: TsSkinManager
    AnimEffects.Minimizing.Mode = atFading
  end
end)");
  } catch (const fw::Exception& e) {
    error = e.Message();
  }
  EXPECT_NE(error.find("Property Mode does not exist"), std::string::npos) << error;
}

// The extra line's handler has its own parameter list: a stored layout
// binds it by name, and refuses a method made for another kind of event.
TEST_F(SkinManager, TheMenuExtraLineHandlerComesFromAStoredLayout) {
  form->PublishMethod<void(fw::TComponent*, std::string&, std::string&, fw::TBitmap*&, bool&)>(
      "ExtraLine", [](fw::TComponent*, std::string& section, std::string& caption, fw::TBitmap*&, bool&) {
        section = "MYLINE";
        caption = "&Tools";
      });
  form->PublishMethod("Clicked", [](fw::TComponent*) {});
  form->LoadLayoutText(R"(object F: TForm
  object sSkinManager1: TsSkinManager
    OnGetMenuExtraLineData = ExtraLine
  end
end)");
  auto* loaded = dynamic_cast<TsSkinManager*>(form->FindComponent("sSkinManager1"));
  ASSERT_NE(loaded, nullptr);
  ASSERT_TRUE(loaded->OnGetMenuExtraLineData);
  const TacExtraLineData line = loaded->MenuExtraLineData(nullptr);
  EXPECT_EQ(line.SkinSection, "MYLINE");
  EXPECT_EQ(line.Caption, "Tools");

  for (const char* method : {"Clicked", "NoSuchMethod"}) {
    fw::TForm other(fw::Application);
    std::string error;
    try {
      other.PublishMethod("Clicked", [](fw::TComponent*) {});
      other.LoadLayoutText(std::string(R"(object G: TForm
  object sSkinManager2: TsSkinManager
    OnGetMenuExtraLineData = )") +
                           method + R"(
  end
end)");
    } catch (const fw::Exception& e) {
      error = e.Message();
    }
    EXPECT_NE(error.find(std::string("sSkinManager2.OnGetMenuExtraLineData")), std::string::npos)
        << method << ": " << error;
  }
}

// The program's icons are fetched when the engine starts and given back
// when it shuts down.
TEST_F(SkinManager, TheProgramsIconsLiveFromTheEnginesStartToItsShutdown) {
  MakeManager();
  struct Case {
    bool large;
    int size;
  };
  for (const Case& c : {Case{true, ::GetSystemMetrics(SM_CXICON)}, Case{false, ::GetSystemMetrics(SM_CXSMICON)}}) {
    HICON icon = ProgramIcon(c.large);
    ASSERT_NE(icon, nullptr) << (c.large ? "large" : "small");
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon, &info));
    BITMAP bits{};
    ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bits, &bits);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    EXPECT_EQ(bits.bmWidth, c.size) << (c.large ? "large" : "small");
  }
  HICON large = ProgramIcon(true);
  SkinnedForms().push_back(form);
  ShutdownSkinEngine();
  EXPECT_EQ(ProgramIcon(true), nullptr);
  EXPECT_EQ(ProgramIcon(false), nullptr);
  EXPECT_EQ(DefaultShadowActive(), nullptr);
  EXPECT_TRUE(SkinnedForms().empty());
  ICONINFO gone{};
  EXPECT_FALSE(::GetIconInfo(large, &gone)) << "the icon was not destroyed";
  // What the rest of this run expects of a started engine.
  LoadDefaultShadows(::GetModuleHandleA(nullptr));
  LoadProgramIcons();
  EXPECT_NE(ProgramIcon(true), nullptr);
}

TEST_F(SkinManager, GlowsAreAllowedOnlyWhereLayeredWindowsWork) {
  manager = new TsSkinManager(nullptr);
  TacSkinEffects& effects = manager->Effects();
  EXPECT_EQ(effects.AllowGlowing(), !NoLayeredEffects() && LayeredWindowsAvailable());
  OverrideLayeredWindows(false);
  EXPECT_FALSE(effects.AllowGlowing());
  EXPECT_TRUE(effects.StoredAllowGlowing());
  OverrideLayeredWindows(std::nullopt);
  effects.SetAllowGlowing(false);
  EXPECT_FALSE(effects.AllowGlowing());
}

// A form that logs the skin messages it hears.
class TListeningForm : public fw::TForm {
 public:
  TListeningForm(fw::TComponent* owner, std::vector<int>& log) : fw::TForm(owner), FLog(log) {}
  const char* ClassName() const override { return "TListeningForm"; }

 protected:
  void WndProc(fw::TMessage& m) override {
    if (IsSkinMessage(m) && ReadSkinMessage(m).Command != SKINCMD_IS_SKINNED)
      FLog.push_back(ReadSkinMessage(m).Command);
    fw::TForm::WndProc(m);
  }

 private:
  std::vector<int>& FLog;
};

TEST_F(SkinManager, MainWindowHook) {
  MakeManager();
  std::vector<int> heard;
  auto* listening = new TListeningForm(fw::Application, heard);
  listening->Show();
  HWND app = fw::Application->Handle();
  EXPECT_EQ(::SendMessageA(app, WM_THEMECHANGED, 0, 0), 1) << "swallowed";
  // The application's activation: every form hears that its frame may need
  // updating.
  ::SendMessageA(app, fw::CM_ACTIVATE, 0, 0);
  EXPECT_EQ(heard, (std::vector<int>{SKINCMD_UPDATE_FRAME}));
  delete manager;
  manager = nullptr;
  heard.clear();
  ::SendMessageA(app, fw::CM_ACTIVATE, 0, 0);
  EXPECT_TRUE(heard.empty()) << "the hook goes with the manager";
  delete listening;
}

TEST_F(SkinManager, RepeatedLoadsLeaveNoGdiOrUserObjects) {
  WriteSkin(tmp.Path(), "Blue");
  MakeManager();
  manager->SetSkinName("Blue");
  manager->SetActive(false);
  const int gdi = testing_gui::GdiObjectCount();
  const int user = testing_gui::UserObjectCount();
  for (int i = 0; i < 20; ++i) {
    manager->SetActive(true);
    manager->SetHueOffset(i * 10);
    manager->SetActive(false);
  }
  EXPECT_EQ(testing_gui::GdiObjectCount(), gdi);
  EXPECT_EQ(testing_gui::UserObjectCount(), user);
}

}  // namespace
}  // namespace translit
