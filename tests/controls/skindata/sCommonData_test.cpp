// Per-control skin data on the platform: section resolution, indexes kept in
// step with the skin manager's broadcasts, the colours and backgrounds a
// control offers its children, the small skin queries, update nesting and
// the properties a stored layout sets.
#include "controls/skindata/sCommonData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/protocol/sVclUtils.h"
#include "framework/Application.h"
#include "framework/ClassRegistry.h"
#include "skin/sSkinManager.h"
#include "tests/skin/SkinFolders.h"
#include "tests/support/SkinDataControl.h"
#include "tests/support/TempFolder.h"

namespace translit {
namespace {

using testing_files::TempFolder;

const char* const kOptions =
    "[GLOBALINFO]\r\nVERSION=7.2\r\nMASTERBITMAP=MASTER.BMP\r\n"
    "[BUTTON]\r\nCOLOR=0x0000FF\r\nSTATES=2\r\nHOTCOLOR=0x00FF00\r\nBORDERSMASK=@0000,0000,0030,0020,3,1\r\n"
    "[EDIT]\r\nCOLOR=0xFFFFFF\r\nFONTCOLOR=0x123456\r\nSTATES=1\r\n"
    "[PANEL]\r\nCOLOR=0xFFFFFF\r\nTRANSPARENCY=40\r\n"
    "[CLEAR]\r\nTRANSPARENCY=100\r\n"
    "[GRAD]\r\nCOLOR=0x445566\r\nGRADIENTPERCENT=100\r\nGRADIENTDATA=0x000000;0xFFFFFF;100;1;0\r\n"
    "[TEXTURED]\r\nCOLOR=0x445566\r\nIMAGEPERCENT=50\r\n"
    "[GROUPBOX]\r\nBORDERSMASK=@0000,0000,0030,0020,3,1\r\n"
    "[OVER]\r\nCOLOR=0x445566\r\nTRANSPARENCY=150\r\n"
    "[UNDER]\r\nCOLOR=0x445566\r\nTRANSPARENCY=-20\r\n";

using TSkinned = test::TSkinDataControl;

class CommonData : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::EnsureApplication();
    RegisterSkinManagerClasses();
    RegisterCommonDataClasses();
    static bool registered = false;
    if (!registered) {
      registered = true;
      fw::RegisterClass<TSkinned>("TSkinDataControl", "TWinControl").Object("SkinData", &TSkinned::SkinData);
    }
    test::WriteSkinFolder(tmp.Path(), "T", kOptions);
    form = new fw::TForm(fw::Application);
    form->SetColor(0);
    form->Show();
  }
  void TearDown() override {
    delete form;
    delete manager;
  }
  void LoadSkin() {
    manager = new TsSkinManager(nullptr);
    manager->SetSkinDirectory(tmp.Path());
    manager->SetSkinName("T");
    ASSERT_TRUE(manager->Active());
    ASSERT_EQ(DefaultManager, manager);
  }
  TSkinned* Add(const std::string& section, int kind = 0, fw::TWinControl* parent = nullptr, bool cache = true) {
    auto* c = new TSkinned(form, kind, cache);
    // The section first: a control that comes on screen resolves its section.
    c->SkinData().SetSkinSection(section);
    c->SetParent(parent ? parent : form);
    c->HandleNeeded();
    return c;
  }
  LRESULT Ask(TSkinned* c, std::uint16_t command, LPARAM lParam = 0) {
    return SendSkinCommand(c->Handle(), command, lParam);
  }

  TempFolder tmp;
  fw::TForm* form = nullptr;
  TsSkinManager* manager = nullptr;
};

TEST(CommonDataKinds, DefaultSectionOfEachKindAndTheKindSets) {
  const std::pair<int, const char*> cases[] = {
      {2, "EDIT"},         {96, "EDIT"},     {227, "EDIT"},      {11, "COMBOBOX"},
      {82, "COMBOBOX"},    {19, "BAR"},      {20, "BARTITLE"},   {152, "CHECKBOX"},
      {33, "RADIOBUTTON"}, {73, "PANEL"},    {58, "PANEL_LOW"},  {60, "TOOLBAR"},
      {56, "DRAGBAR"},     {57, "TABSHEET"}, {226, "GROUPBOX"},  {75, "SPLITTER"},
      {95, "SPEEDBUTTON"}, {94, "BUTTON"},   {98, "TOOLBUTTON"}, {143, "PAGECONTROL"},
      {151, "STATUSBAR"},  {161, "GAUGE"},   {165, "TRACKBAR"},  {9, ""},
      {224, ""},
  };
  for (const auto& [kind, section] : cases) EXPECT_STREQ(DefaultSectionOfKind(kind), section) << kind;
  EXPECT_TRUE(IsEditKind(96));
  EXPECT_TRUE(IsEditKind(80));
  EXPECT_FALSE(IsEditKind(94));
  EXPECT_TRUE(IsContainerKind(151));
  EXPECT_TRUE(IsContainerKind(51));
  EXPECT_FALSE(IsContainerKind(94));
  EXPECT_TRUE(IsNoGlowKind(226));
  EXPECT_FALSE(IsNoGlowKind(53));
}

TEST_F(CommonData, SectionResolutionAndUnknownSections) {
  LoadSkin();
  // An empty section takes the kind's default, or the owner's class name.
  TSkinned* button = Add("", kKindButton);
  button->SkinData().ChooseSection();
  EXPECT_EQ(button->SkinData().SkinSection(), "BUTTON");
  EXPECT_EQ(button->SkinData().SkinIndex, manager->SectionIndex("BUTTON"));
  EXPECT_TRUE(button->SkinData().Skinned(true));
  TSkinned* other = Add("", 9);
  other->SkinData().ChooseSection();
  EXPECT_EQ(other->SkinData().SkinSection(), "TSKINDATACONTROL");

  // Setting the same text in another case sets it again: the owner hears
  // a refresh and keeps the same section.
  button->log.clear();
  button->SkinData().SetSkinSection("button");
  EXPECT_EQ(button->SkinData().SkinSection(), "BUTTON");
  EXPECT_EQ(button->log, (std::vector<int>{SKINCMD_REFRESH}));
  button->log.clear();
  button->SkinData().SetSkinSection("BUTTON");
  EXPECT_TRUE(button->log.empty()) << "an equal value changes nothing";

  // A section the skin lacks: unskinned, told to drop the skin, yet it
  // still answers the skinned query.
  button->SkinData().SetSkinSection("NOSUCH");
  EXPECT_EQ(button->SkinData().SkinIndex, -1);
  EXPECT_FALSE(button->SkinData().Skinned());
  EXPECT_EQ(button->log, (std::vector<int>{SKINCMD_REMOVE_SKIN}));
  EXPECT_EQ(Ask(button, SKINCMD_IS_SKINNED), 1);
  button->SkinData().SetSkinSection("");
  EXPECT_EQ(button->SkinData().SkinSection(), "UNKNOWN");
  EXPECT_EQ(button->SkinData().SkinIndex, -1);
}

TEST_F(CommonData, IndexesFollowNewAndRemovedSkins) {
  TSkinned* c = Add("BUTTON", kKindButton);
  EXPECT_EQ(c->SkinData().SkinIndex, -1) << "no manager yet";
  c->SkinData().Updating = true;
  LoadSkin();
  const int index = manager->SectionIndex("BUTTON");
  ASSERT_GE(index, 0);
  EXPECT_EQ(c->SkinData().SkinIndex, index);
  EXPECT_EQ(c->SkinData().BorderIndex, manager->Sections[index].BorderIndex);
  EXPECT_GE(c->SkinData().BorderIndex, 0);
  EXPECT_EQ(c->SkinData().Texture, -1);
  EXPECT_FALSE(c->SkinData().Updating) << "the refresh after the new skin";

  c->SkinData().SizeCache();
  EXPECT_EQ(c->SkinData().CacheBmp->Width(), 40);
  EXPECT_EQ(c->SkinData().CacheBmp->Height(), 20);
  EXPECT_EQ(c->SkinData().CacheBmp->PixelFormat(), fw::pf32bit);

  manager->SetActive(false);
  EXPECT_EQ(c->SkinData().SkinIndex, -1);
  EXPECT_EQ(c->SkinData().BorderIndex, -1);
  EXPECT_EQ(c->SkinData().HotTexture, -1);
  EXPECT_TRUE(c->SkinData().Updating);
  EXPECT_EQ(c->SkinData().CacheBmp->Width(), 0);
  EXPECT_EQ(c->SkinData().CacheBmp->Height(), 0);

  // A broadcast of another manager is not this control's business.
  manager->SetActive(true);
  ASSERT_EQ(c->SkinData().SkinIndex, index);
  fw::TMessage m{SM_ALPHACMD, SkinWParam(SKINCMD_REMOVE_SKIN), reinterpret_cast<LPARAM>(form), 0};
  ::SendMessageA(c->Handle(), m.Msg, m.WParam, m.LParam);
  EXPECT_EQ(c->SkinData().SkinIndex, index);
}

TEST_F(CommonData, ForgetsAStoredManagerWhenItIsFreed) {
  LoadSkin();
  // A second manager is never the default one. Freed, it must leave no
  // pointer behind: without a skin it broadcasts nothing, and with one its
  // removal broadcast comes before it counts as being destroyed.
  for (bool active : {false, true}) {
    auto* other = new TsSkinManager(nullptr);
    if (active) {
      other->SetSkinDirectory(tmp.Path());
      other->SetSkinName("T");
      ASSERT_FALSE(other->Sections.empty());
    } else {
      other->SetActive(false);
    }
    ASSERT_EQ(other->Active(), active);
    ASSERT_EQ(DefaultManager, manager);
    TSkinned* c = Add("BUTTON", kKindButton);
    c->SkinData().SetSkinManager(other);
    ASSERT_EQ(c->SkinData().StoredSkinManager(), other);
    delete other;
    EXPECT_EQ(c->SkinData().StoredSkinManager(), nullptr) << (active ? "active" : "inactive");
    EXPECT_EQ(c->SkinData().SkinManager(), manager) << "the default manager again";
    delete c;
  }
}

TEST_F(CommonData, ColourForChildrenAndBackgroundColourByTransparency) {
  LoadSkin();
  struct Case {
    const char* section;
    fw::TColor parentColor;
    std::uint32_t expected;
  } cases[] = {
      {"EDIT", 0x000000, 0xFFFFFF},                                   // opaque: the section's colour
      {"CLEAR", 0x123456, 0x123456},                                  // fully transparent: the parent's
      {"PANEL", 0x000000, 0x999999},                                  // 40 %: 40 % parent, 60 % section
      {"PANEL", 0xFFFFFF, 0xFFFFFF}, {"NOSUCH", 0x000000, 0x0A0B0C},  // unskinned: its own colour
  };
  for (const Case& k : cases) {
    form->SetColor(k.parentColor);
    TSkinned* c = Add(k.section);
    c->SetColor(0x0A0B0C);
    EXPECT_EQ(static_cast<std::uint32_t>(Ask(c, SKINCMD_GET_COLOR)), k.expected) << k.section;
    EXPECT_EQ(c->SkinData().BackgroundColor(0), k.expected) << k.section;
    EXPECT_EQ(ControlColor(c), k.expected) << k.section;
    delete c;
  }

  // A hot look only where the section has two states.
  TSkinned* button = Add("BUTTON");
  EXPECT_EQ(button->SkinData().BackgroundColor(0), 0x0000FFu);
  EXPECT_EQ(button->SkinData().BackgroundColor(1), 0x00FF00u);
  TSkinned* edit = Add("EDIT");
  EXPECT_EQ(edit->SkinData().BackgroundColor(1), 0xFFFFFFu);
  edit->SetColor(0x0A0B0C);
  edit->SkinData().SetCustomColor(true);
  EXPECT_EQ(edit->SkinData().BackgroundColor(0), 0x0A0B0Cu);
}

TEST_F(CommonData, BackgroundRequests) {
  LoadSkin();
  auto ask = [&](TSkinned* c, BackgroundRequest r = {}) {
    EXPECT_EQ(Ask(c, SKINCMD_GET_BACKGROUND, reinterpret_cast<LPARAM>(&r)), 1);
    return r;
  };
  // Opaque flat colour: the colour, with the cache for reference.
  TSkinned* edit = Add("EDIT");
  BackgroundRequest r = ask(edit);
  EXPECT_EQ(r.Kind, bkColor);
  EXPECT_EQ(r.Color, 0xFFFFFF);
  EXPECT_EQ(r.Bitmap, edit->SkinData().CacheBmp.get());

  // A gradient: the cache itself, offsets from the cache's origin.
  TSkinned* grad = Add("GRAD");
  grad->SetBounds(0, 0, 100, 80);
  BackgroundRequest offset;
  offset.OffsetX = 5;
  offset.OffsetY = 7;
  r = ask(grad, offset);
  EXPECT_EQ(r.Kind, bkBitmap);
  EXPECT_EQ(r.Bitmap, grad->SkinData().CacheBmp.get());
  EXPECT_EQ(r.OffsetX, 0);
  EXPECT_EQ(r.OffsetY, 0);

  // Partly transparent without a cache: the transparent key colour.
  TSkinned* bare = Add("PANEL", 0, nullptr, false);
  r = ask(bare);
  EXPECT_EQ(r.Kind, bkColor);
  EXPECT_EQ(r.Color, 0xFF00FF);
  // A transparency outside 0..100 without a cache has no bitmap to give
  // either: the key colour, and nothing drawn into a DC that came along.
  auto target = NewBitmap32(4, 4);
  for (const char* section : {"OVER", "UNDER"})
    for (bool drawNow : {false, true}) {
      TSkinned* odd = Add(section, 0, nullptr, false);
      ASSERT_TRUE(odd->SkinData().Skinned()) << section;
      FillBitmapRect(target.get(), RECT{0, 0, 4, 4}, 0x123456);
      BackgroundRequest asked;
      asked.Rect = RECT{0, 0, 4, 4};
      asked.DrawNow = drawNow ? 1 : 0;
      asked.DC = target->Canvas().Handle();
      r = ask(odd, asked);
      EXPECT_EQ(r.Kind, bkColor) << section << " drawNow " << drawNow;
      EXPECT_EQ(r.Color, 0xFF00FF) << section << " drawNow " << drawNow;
      EXPECT_EQ(::GetPixel(target->Canvas().Handle(), 1, 1), 0x123456u) << section << " drawNow " << drawNow;
    }

  // Fully transparent on the gradient control: the request passes through
  // and comes back with this control's place added.
  TSkinned* clear = Add("CLEAR", 0, grad);
  clear->SetBounds(10, 20, 30, 30);
  r = ask(clear);
  EXPECT_EQ(r.Kind, bkBitmap);
  EXPECT_EQ(r.Bitmap, grad->SkinData().CacheBmp.get());
  EXPECT_EQ(r.OffsetX, 10);
  EXPECT_EQ(r.OffsetY, 20);
  // The same on the unskinned form: the form's colour.
  form->SetColor(0x203040);
  TSkinned* onForm = Add("CLEAR");
  r = ask(onForm);
  EXPECT_EQ(r.Kind, bkColor);
  EXPECT_EQ(static_cast<std::uint32_t>(r.Color), 0x203040u);

  // Unskinned or with its own colour: its own colour.
  TSkinned* lost = Add("NOSUCH");
  lost->SetColor(0x0A0B0C);
  r = ask(lost);
  EXPECT_EQ(r.Kind, bkColor);
  EXPECT_EQ(r.Color, 0x0A0B0C);

  // A missing record is ignored rather than written through.
  EXPECT_EQ(Ask(edit, SKINCMD_GET_BACKGROUND, 0), 1);
}

TEST_F(CommonData, QueriesFlagsAndPainter) {
  LoadSkin();
  TSkinned* grad = Add("GRAD");
  TSkinned* edit = Add("EDIT");
  TSkinned* textured = Add("TEXTURED");
  std::int32_t index = -5;
  EXPECT_EQ(Ask(grad, SKINCMD_GET_SKIN_INDEX, reinterpret_cast<LPARAM>(&index)), 1);
  EXPECT_EQ(index, manager->SectionIndex("GRAD"));
  EXPECT_EQ(Ask(grad, SKINCMD_GET_SKIN_INDEX, 0), 1) << "no pointer, no write";

  // Background kinds and the plain-background flag.
  EXPECT_EQ(grad->SkinData().BgKind, 1) << "horizontal gradient";
  EXPECT_EQ(textured->SkinData().BgKind, bgTexture);
  EXPECT_EQ(edit->SkinData().BgKind, 0);
  EXPECT_EQ(Ask(edit, SKINCMD_GET_FLAGS) & sfPlainBackground, sfPlainBackground);
  EXPECT_EQ(Ask(grad, SKINCMD_GET_FLAGS) & sfPlainBackground, 0);
  EXPECT_EQ(Ask(grad, SKINCMD_HAS_GRAPHIC_BG), 1);
  EXPECT_EQ(Ask(edit, SKINCMD_HAS_GRAPHIC_BG), 0);

  // Updating and background-changed states.
  edit->SkinData().BGChanged = false;
  edit->SkinData().Updating = false;
  EXPECT_EQ(Ask(edit, SKINCMD_IS_UPDATING), 0);
  Ask(edit, SKINCMD_BG_CHANGED);
  EXPECT_TRUE(edit->SkinData().BGChanged);
  EXPECT_EQ(Ask(edit, SKINCMD_IS_UPDATING), 1);
  ::SendMessageA(edit->Handle(), SM_ALPHACMD, SkinWParam(SKINCMD_SET_UPDATING, 1), 0);
  EXPECT_TRUE(edit->SkinData().Updating);
  ::SendMessageA(edit->Handle(), SM_ALPHACMD, SkinWParam(SKINCMD_SET_UPDATING, 0), 0);
  EXPECT_FALSE(edit->SkinData().Updating);

  // An external painter.
  int painter = 0;
  EXPECT_EQ(Ask(edit, SKINCMD_SET_PAINTER, reinterpret_cast<LPARAM>(&painter)), 1);
  EXPECT_EQ(edit->SkinData().Painter, &painter);
  EXPECT_EQ(Ask(edit, SKINCMD_GET_FLAGS) & sfPainterSet, sfPainterSet);
  Ask(edit, SKINCMD_SET_PAINTER, 0);
  EXPECT_EQ(edit->SkinData().Painter, nullptr);
  EXPECT_EQ(Ask(edit, SKINCMD_GET_FLAGS) & sfPainterSet, 0);

  // Commands it does not know reach the control's own processing.
  edit->log.clear();
  Ask(edit, SKINCMD_UPDATE_STARTED);
  EXPECT_EQ(edit->log, (std::vector<int>{SKINCMD_UPDATE_STARTED}));
}

TEST_F(CommonData, NestedUpdatesTellTheOwnerOnceAtTheEnd) {
  LoadSkin();
  TSkinned* c = Add("EDIT");
  c->log.clear();
  c->SkinData().StartUpdate();
  c->SkinData().StartUpdate();
  EXPECT_EQ(c->SkinData().UpdateCount, 2);
  EXPECT_TRUE(c->SkinData().StateFlags & sfUpdating);
  c->SkinData().FinishUpdate(false);
  EXPECT_EQ(c->log, (std::vector<int>{SKINCMD_UPDATE_STARTED, SKINCMD_UPDATE_STARTED}));
  EXPECT_FALSE(c->SkinData().StateFlags & sfUpdating);
  c->SkinData().BGChanged = false;
  c->SkinData().FinishUpdate(true);
  EXPECT_EQ(c->log, (std::vector<int>{SKINCMD_UPDATE_STARTED, SKINCMD_UPDATE_STARTED, SKINCMD_UPDATE_ENDED}));
  EXPECT_EQ(c->SkinData().UpdateCount, 0);
  EXPECT_TRUE(c->SkinData().BGChanged) << "repaint asked";
}

TEST_F(CommonData, HotStateFocusAndEditColours) {
  LoadSkin();
  // Edit-like kinds take colour and font colour from the skin unless told
  // otherwise.
  TSkinned* edit = Add("EDIT", kKindTreeView);
  edit->SkinData().UpdateColors(false);
  EXPECT_EQ(edit->Color(), 0xFFFFFF);
  EXPECT_EQ(edit->Font().Color(), 0x123456);
  edit->SetColor(0x010203);
  edit->SkinData().SetCustomColor(true);
  EXPECT_EQ(edit->Color(), 0x010203);
  EXPECT_EQ(edit->Font().Color(), 0x123456);

  // Mouse over a container never makes it hot; over a button it does.
  TSkinned* bar = Add("BUTTON", kKindStatusBar);
  TSkinned* button = Add("BUTTON", kKindButton);
  bar->Perform(fw::CM_MOUSEENTER, 0, 0);
  button->Perform(fw::CM_MOUSEENTER, 0, 0);
  EXPECT_FALSE(bar->SkinData().IsHot());
  EXPECT_TRUE(button->SkinData().IsHot());
  button->Perform(fw::CM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(button->SkinData().IsHot());
  button->SetEnabled(false);
  button->SkinData().Focused = true;
  EXPECT_FALSE(button->SkinData().IsHot()) << "disabled";
}

TEST_F(CommonData, CacheCopiedAroundChildWindows) {
  LoadSkin();
  TSkinned* parent = Add("EDIT");
  parent->SetBounds(0, 0, 60, 60);
  parent->SkinData().SizeCache();
  FillBitmapRect(parent->SkinData().CacheBmp.get(), RECT{0, 0, 60, 60}, 0x0000FF);
  TSkinned* child = Add("EDIT", 0, parent);
  child->SetBounds(10, 10, 10, 10);
  TSkinned* group = Add("GROUPBOX", 0, parent);
  group->SetBounds(30, 30, 24, 24);

  auto target = NewBitmap32(60, 60);
  HDC dc = target->Canvas().Handle();
  auto copy = [&](bool clip) {
    FillBitmapRect(target.get(), RECT{0, 0, 60, 60}, 0xFFFFFF);
    parent->SkinData().CopyCacheToDC(dc, RECT{0, 0, 60, 60}, clip);
  };
  copy(false);
  EXPECT_EQ(::GetPixel(dc, 15, 15), 0x0000FFu);
  copy(true);
  const struct {
    int x, y;
    COLORREF expected;
  } cases[] = {
      {5, 5, 0x0000FF},    // the parent's own area
      {15, 15, 0xFFFFFF},  // under the child window: left out
      {31, 40, 0xFFFFFF},  // the group box's left border strip
      {40, 31, 0xFFFFFF},  // its top strip
      {40, 40, 0x0000FF},  // inside the group box: copied
  };
  for (const auto& k : cases) EXPECT_EQ(::GetPixel(dc, k.x, k.y), k.expected) << k.x << "," << k.y;
  RECT box{};
  EXPECT_EQ(::GetClipBox(dc, &box), SIMPLEREGION) << "the DC's clipping is restored";
}

TEST_F(CommonData, ReadFromAStoredLayout) {
  LoadSkin();
  form->LoadLayoutText(R"(object F: TForm
  object Skinned1: TSkinDataControl
    Left = 4
    Top = 4
    Width = 50
    Height = 20
    SkinData.SkinSection = 'button'
    SkinData.CustomFont = True
    SkinData.HUEOffset = 30
    SkinData.Saturation = -10
  end
  object Skinned2: TSkinDataControl
    Left = 4
    Top = 30
    Width = 50
    Height = 20
  end
end)");
  auto* one = dynamic_cast<TSkinned*>(form->FindComponent("Skinned1"));
  auto* two = dynamic_cast<TSkinned*>(form->FindComponent("Skinned2"));
  ASSERT_NE(one, nullptr);
  ASSERT_NE(two, nullptr);
  EXPECT_EQ(one->SkinData().SkinSection(), "BUTTON");
  EXPECT_EQ(one->SkinData().SkinIndex, manager->SectionIndex("BUTTON"));
  EXPECT_TRUE(one->SkinData().CustomFont());
  EXPECT_FALSE(one->SkinData().CustomColor());
  EXPECT_EQ(one->SkinData().HUEOffset(), 30);
  EXPECT_EQ(one->SkinData().Saturation(), -10);
  EXPECT_EQ(two->SkinData().SkinSection(), "TSKINDATACONTROL") << "no stored section: the class name";
  EXPECT_EQ(two->SkinData().SkinManager(), manager) << "none stored: the default manager";
}

}  // namespace
}  // namespace translit
