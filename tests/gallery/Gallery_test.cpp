// The gallery's form with the generated skins: its skin switched live from
// the menu bar, the skin buttons (real clicks) and the popup menu, BlueIce ->
// Slate -> none -> BlueIce, each time with the title on screen, the menus'
// radio checks, the skin buttons and the controls telling the same skin;
// fifty switches leave no GDI or USER object behind; the controls stay
// inside the client area without overlapping at every size the form can
// take; a skin that is not there leaves the platform's look, said so.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "forms/sSkinableMenus.h"
#include "framework/core/LayoutParser.h"
#include "gallery/GalleryForm.h"
#include "render/effects/acEffects.h"
#include "tests/forms/FrameFixture.h"
#include "tests/support/GuiCounts.h"
#include "tests/support/RealInput.h"
#include "tests/support/TempFolder.h"

namespace translit::gallery {
namespace {

using test::CompareTitle;
using test::PumpFor;
using test::PumpUntil;
using test::ScreenOfWindow;
using test::SkinsFolder;
using test::TitleBand;

class Gallery : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fw::EnsureApplication().Initialize();
    InstallEffects();
    InstallMenuSkinning();
  }
  static void TearDownTestSuite() { UninstallMenuSkinning(); }

  void SetUp() override { testing_gui::MoveMouse(POINT{2, 2}); }
  void TearDown() override {
    form.reset();
    PumpFor(50);
  }

  void Open(const std::string& skins) {
    form = std::make_unique<TGalleryForm>(fw::Application, skins);
    form->Show();
    ::SetForegroundWindow(form->Handle());
    PumpUntil([&] { return ::GetForegroundWindow() == form->Handle(); }, 2000);
    PumpFor(300);
  }

  std::unique_ptr<TGalleryForm> form;
};

// The colours of a plain, unskinned form's title of the gallery's size and
// kind, active.
std::set<std::uint32_t> PlatformTitleColours(const TGalleryForm& like) {
  fw::TForm plain(fw::Application);
  plain.SetBorderIcons(like.BorderIcons());
  plain.SetBounds(like.Left(), like.Top(), like.Width(), like.Height());
  plain.SetCaption("The platform's own title");
  plain.Show();
  ::SetForegroundWindow(plain.Handle());
  PumpFor(200);
  const std::vector<std::uint32_t> band = TitleBand(plain.Handle(), *ScreenOfWindow(plain.Handle()));
  return std::set<std::uint32_t>(band.begin(), band.end());
}

std::string StatusText(TGalleryForm& form) { return form.StatusBar->Panels()[TGalleryForm::spSkin].Text(); }

// Every part of the form tells the one choice.
void ExpectChoiceShown(TGalleryForm& form, int choice, const char* when) {
  const bool skinned = choice != scNone;
  EXPECT_EQ(form.CurrentChoice(), choice) << when;
  EXPECT_EQ(form.SkinManager->Active(), skinned) << when;
  ASSERT_EQ(form.SkinItems.size(), 6u) << "three in the File menu, three in the popup menu";
  for (const auto& [item, itemChoice] : form.SkinItems) {
    EXPECT_TRUE(item->RadioItem());
    EXPECT_EQ(item->Checked(), itemChoice == choice) << when << ": menu item " << item->Caption();
  }
  for (int b = 0; b < 3; ++b) EXPECT_EQ(form.SkinButtons[b]->Down(), b == choice) << when << ": skin button " << b;
  EXPECT_EQ(form.SkinProvider->SkinnedNow(), skinned) << when << ": the frame";
  // Slate holds the frame's sections only: the controls keep the platform's
  // look under it.
  const bool controls = choice == scBlueIce;
  EXPECT_EQ(form.StatusBar->SkinnedNow(), controls) << when << ": the status bar";
  EXPECT_EQ(form.Buttons[dbPlain]->SkinnedNow(), controls) << when << ": a push button";
  EXPECT_EQ(form.SkinButtons[scSlate]->SkinnedNow(), controls) << when << ": a skin button";
  EXPECT_EQ(form.Tree->ScrollWnd() != nullptr, controls) << when << ": the tree's skinned bars";
  EXPECT_EQ(form.Memo->EditWnd() != nullptr, controls) << when << ": the edit's subclass";
  EXPECT_EQ(TacMainWnd::FromHandle(form.Memo->Handle()) != nullptr, controls) << when;
  const std::string status = StatusText(form);
  EXPECT_NE(status.find(skinned ? kSkinChoices[choice].SkinName : "platform"), std::string::npos) << when << status;
}

TEST_F(Gallery, SkinsSwitchLiveFromTheMenusAndTheSkinButtons) {
  Open(SkinsFolder());
  const std::set<std::uint32_t> platform = PlatformTitleColours(*form);
  ::SetForegroundWindow(form->Handle());
  PumpFor(200);
  HWND window = form->Handle();
  auto menuChoice = [&](int choice) {
    for (const auto& [item, itemChoice] : form->SkinItems)
      if (itemChoice == choice && item->GetParentMenu() == form->MainMenu) {
        ::PostMessageA(window, WM_COMMAND, item->Command(), 0);
        return;
      }
  };
  auto popupChoice = [&](int choice) {
    for (const auto& [item, itemChoice] : form->SkinItems)
      if (itemChoice == choice && item->GetParentMenu() == form->Popup) {
        ::PostMessageA(fw::TPopupMenu::PopupListWindow(), WM_COMMAND, item->Command(), 0);
        return;
      }
  };
  auto buttonChoice = [&](int choice) {
    TsBitBtn* button = form->SkinButtons[choice];
    testing_gui::ClickMouse(button->ClientToScreen(POINT{button->Width() / 2, button->Height() / 2}));
  };
  ExpectChoiceShown(*form, scBlueIce, "at start");

  struct Step {
    const char* how;
    int choice;
    std::function<void(int)> choose;
  };
  const std::vector<Step> steps{
      {"BlueIce at start", scBlueIce, nullptr},
      {"Slate by its skin button", scSlate, buttonChoice},
      {"none from the menu bar", scNone, menuChoice},
      {"BlueIce from the popup menu", scBlueIce, popupChoice},
      {"Slate from the menu bar", scSlate, menuChoice},
      {"none by its skin button", scNone, buttonChoice},
      {"Slate from the popup menu", scSlate, popupChoice},
      {"BlueIce by its skin button", scBlueIce, buttonChoice},
  };
  std::vector<std::vector<std::uint32_t>> titles(3);
  for (const Step& step : steps) {
    if (step.choose) {
      step.choose(step.choice);
      ASSERT_TRUE(PumpUntil([&] { return form->CurrentChoice() == step.choice; }, 5000)) << step.how;
    }
    ::SetForegroundWindow(window);
    PumpFor(250);
    ExpectChoiceShown(*form, step.choice, step.how);
    const std::vector<std::uint32_t> band = TitleBand(window, *ScreenOfWindow(window));
    ASSERT_GT(band.size(), 1000u) << step.how;
    if (step.choice != scNone) {
      const test::TitleOnScreen title = CompareTitle(*form->SkinProvider);
      EXPECT_GE(title.likeCache, title.pixels * 98 / 100) << step.how << ": the skin's title";
    } else {
      int known = 0;
      for (std::uint32_t c : band) known += platform.count(c);
      EXPECT_GE(known, static_cast<int>(band.size()) * 9 / 10) << step.how << ": the platform's title";
    }
    if (titles[step.choice].empty()) titles[step.choice] = band;
  }
  // Each look is its own: the two skins and the platform's title differ.
  for (int a = 0; a < 3; ++a)
    for (int b = a + 1; b < 3; ++b) {
      int differ = 0;
      for (std::size_t i = 0; i < titles[a].size() && i < titles[b].size(); ++i) differ += titles[a][i] != titles[b][i];
      EXPECT_GT(differ, static_cast<int>(titles[a].size()) / 2) << "titles of choices " << a << " and " << b;
    }
}

TEST_F(Gallery, FiftySkinSwitchesLeaveNoObjectsBehind) {
  Open(SkinsFolder());
  // The first round fills the caches that live as long as the process.
  for (int choice : {scSlate, scNone, scBlueIce}) {
    form->SelectSkin(choice);
    PumpFor(20);
  }
  PumpFor(100);
  const int gdi = testing_gui::GdiObjectCount(), user = testing_gui::UserObjectCount();
  for (int i = 0; i < 50; ++i) {
    form->SelectSkin((i + 1) % 3);
    PumpFor(5);
  }
  form->SelectSkin(scBlueIce);
  PumpFor(100);
  EXPECT_EQ(testing_gui::GdiObjectCount(), gdi);
  EXPECT_EQ(testing_gui::UserObjectCount(), user);
}

// The form's windowed and graphic children that show.
std::vector<fw::TControl*> ShownControls(TGalleryForm& form) {
  std::vector<fw::TControl*> shown;
  for (int i = 0; i < form.ControlCount(); ++i)
    if (form.Controls(i)->Visible()) shown.push_back(form.Controls(i));
  return shown;
}

TEST_F(Gallery, ControlsFitWithoutOverlapAtEverySize) {
  Open(SkinsFolder());
  MINMAXINFO limits{};
  ::SendMessageA(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  struct Size {
    const char* name;
    int width, height;
    bool statusBar;
  };
  const RECT opened = form->BoundsRect();
  const std::vector<Size> sizes{
      {"as opened", opened.right - opened.left, opened.bottom - opened.top, true},
      {"the least the user can size it to", limits.ptMinTrackSize.x, limits.ptMinTrackSize.y, true},
      {"large", 1000, 740, true},
      {"large, no status bar", 1000, 740, false},
      {"the least, no status bar", limits.ptMinTrackSize.x, limits.ptMinTrackSize.y, false},
  };
  int treeWidth = 0;
  for (const Size& size : sizes) {
    form->SetStatusBarShown(size.statusBar);
    if (!size.statusBar) {
      // Without the bar the least size is smaller.
      ::SendMessageA(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
      EXPECT_LT(limits.ptMinTrackSize.y, size.height) << size.name;
    }
    form->SetBounds(form->Left(), form->Top(), size.width, size.height);
    PumpFor(50);
    const RECT client = form->ClientRect();
    const std::vector<fw::TControl*> shown = ShownControls(*form);
    ASSERT_GE(shown.size(), 15u) << size.name << ": buttons, trees, edit, captions and the bar";
    for (std::size_t i = 0; i < shown.size(); ++i) {
      const RECT a = shown[i]->BoundsRect();
      EXPECT_TRUE(a.left >= client.left && a.top >= client.top && a.right <= client.right && a.bottom <= client.bottom)
          << size.name << ": " << shown[i]->ClassName() << " '" << shown[i]->Caption() << "' at " << a.left << ","
          << a.top << "-" << a.right << "," << a.bottom << " in " << client.right << "x" << client.bottom;
      for (std::size_t j = i + 1; j < shown.size(); ++j) {
        RECT both{};
        const RECT b = shown[j]->BoundsRect();
        EXPECT_FALSE(::IntersectRect(&both, &a, &b))
            << size.name << ": " << shown[i]->ClassName() << " '" << shown[i]->Caption() << "' and "
            << shown[j]->ClassName() << " '" << shown[j]->Caption() << "'";
      }
    }
    // The trees and the edit take what the form gives; the status bar spans it.
    if (size.statusBar) {
      EXPECT_EQ(form->StatusBar->Width(), client.right) << size.name;
    }
    EXPECT_EQ(form->ShellTree->Left() + form->ShellTree->Width() + 8, client.right) << size.name;
    if (std::string(size.name) == "large") {
      EXPECT_GT(form->Tree->Width(), treeWidth + 50) << "wider with the form";
    } else if (std::string(size.name) == "as opened") {
      treeWidth = form->Tree->Width();
    }
  }
}

TEST_F(Gallery, ASkinThatIsNotThereLeavesThePlatformsLookAndSaysSo) {
  testing_files::TempFolder empty;
  Open(empty.Path());
  ExpectChoiceShown(*form, scNone, "at start, BlueIce missing");
  EXPECT_NE(StatusText(*form).find("BlueIce not found"), std::string::npos) << StatusText(*form);
  form->SelectSkin(scSlate);
  PumpFor(100);
  ExpectChoiceShown(*form, scNone, "Slate missing");
  EXPECT_NE(StatusText(*form).find("Slate not found"), std::string::npos) << StatusText(*form);
}

// The gallery looks where the renaming dialog's stored settings do, where
// scripts/run installs the skins for both.
TEST(GallerySkins, TheFolderIsTheDialogsStoredSkinDirectory) {
  std::ifstream file(TRANSLIT_APP_LAYOUT, std::ios::binary);
  ASSERT_TRUE(file.good()) << TRANSLIT_APP_LAYOUT;
  std::stringstream text;
  text << file.rdbuf();
  const fw::StoredObject layout = fw::ParseLayout(text.str());
  std::string stored;
  for (const fw::StoredObject& child : layout.children)
    for (const fw::StoredProperty& p : child.properties)
      if (p.name == "SkinDirectory") stored = p.value.text;
  ASSERT_FALSE(stored.empty());
  wchar_t wide[MAX_PATH] = {};
  ::MultiByteToWideChar(1251, 0, kStoredSkinDirectory, -1, wide, MAX_PATH);
  char utf8[MAX_PATH * 3] = {};
  ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof(utf8), nullptr, nullptr);
  EXPECT_EQ(stored, std::string(utf8));
}

}  // namespace
}  // namespace translit::gallery
