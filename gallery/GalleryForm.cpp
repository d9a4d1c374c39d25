// The gallery's form.
#include "gallery/GalleryForm.h"

#include <algorithm>
#include <cstdio>

#include "forms/sTitleButtons.h"
#include "framework/Dialogs.h"

namespace translit::gallery {

namespace {

constexpr const char* kAboutText =
    "Skin engine gallery\r\n\r\n"
    "Every skinned control of the engine on one skinned form. Choose a skin from the File menu, the popup menu "
    "(right click on the form) or the skin buttons, and resize the form: the frame, the menus and the controls "
    "follow at once.";

// A 16 x 16 picture for the buttons that show a glyph: two squares on the
// key colour of its bottom-left pixel.
std::unique_ptr<fw::TBitmap> MakeGlyph() {
  auto glyph = std::make_unique<fw::TBitmap>(16, 16, fw::pf24bit);
  fw::TCanvas& c = glyph->Canvas();
  c.Brush().SetColor(0xFF00FF);
  c.FillRect(RECT{0, 0, 16, 16});
  c.Brush().SetColor(0x8C6E1E);
  c.FillRect(RECT{1, 1, 15, 15});
  c.Brush().SetColor(0x2A9BF0);
  c.FillRect(RECT{5, 5, 11, 11});
  return glyph;
}

void Place(fw::TControl* control, const RECT& r) {
  control->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

}  // namespace

TGalleryForm::TGalleryForm(fw::TComponent* owner, const std::string& skinDirectory) : fw::TForm(owner) {
  SetCaption("Skin engine gallery");
  SetBorderStyle(fw::bsSizeable);
  SetBorderIcons(fw::biSystemMenu | fw::biMinimize | fw::biMaximize | fw::biHelp);
  SetBounds(40, 30, 820, 580);
  Font().SetName("MS Sans Serif");
  Font().SetHeight(-11);

  // The skin is loaded before the controls are made: each takes its look
  // from it as it comes.
  SkinManager = new TsSkinManager(this);
  SkinManager->SetSkinDirectory(skinDirectory);
  SkinManager->SetSkinName(kSkinChoices[scBlueIce].SkinName);

  MakeMenus();
  MakeSkinButtons();
  MakeDemoButtons();
  MakeTrees();
  MakeMemo();
  MakeStatusBar();
  SkinProvider = new TsSkinProvider(this);

  // User title buttons, left of the system ones, each with its hint.
  auto addTitleButton = [this](const std::string& name, const std::string& hint, std::function<void()> action) {
    TsTitleButton& button = SkinProvider->TitleButtons().Add();
    button.SetName(name);
    button.SetHint(hint);
    auto glyph = MakeGlyph();
    button.SetGlyph(*glyph);
    button.SetOnMouseUp([action](TsTitleButton&, TMouseButton, TShiftState, int, int) { action(); });
  };
  addTitleButton("NextSkin", "Next skin", [this] { NextSkin(); });
  addTitleButton("About", "About the gallery", [this] { ShowAbout(); });

  AlignControls();
  ShowSkinChoice(SkinManager->SkinName());
}

TGalleryForm::~TGalleryForm() = default;

void TGalleryForm::MakeMenus() {
  MainMenu = new fw::TMainMenu(this);
  fw::TMenuItem* file = MainMenu->Items().Add("&File");
  AddSkinItems(*file);
  file->Add("-");
  file->Add("E&xit", [this](fw::TComponent*) { Close(); });

  fw::TMenuItem* view = MainMenu->Items().Add("&View");
  EnabledItem =
      view->Add("&Controls enabled", [this](fw::TComponent*) { SetControlsEnabled(!EnabledItem->Checked()); });
  EnabledItem->SetChecked(true);
  StatusBarItem = view->Add("&Status bar", [this](fw::TComponent*) { SetStatusBarShown(!StatusBarItem->Checked()); });
  StatusBarItem->SetChecked(true);
  view->Add("-");
  view->Add("&Next skin", [this](fw::TComponent*) { NextSkin(); });

  MainMenu->Items().Add("&Help")->Add("&About...", [this](fw::TComponent*) { ShowAbout(); });
  SetMenu(MainMenu);

  Popup = new fw::TPopupMenu(this);
  AddSkinItems(Popup->Items());
  Popup->Items().Add("-");
  Popup->Items().Add("&Next skin", [this](fw::TComponent*) { NextSkin(); });
  Popup->Items().Add("&About...", [this](fw::TComponent*) { ShowAbout(); });
  SetPopupMenu(Popup);
}

void TGalleryForm::AddSkinItems(fw::TMenuItem& parent) {
  for (int choice = 0; choice < static_cast<int>(kSkinChoices.size()); ++choice) {
    fw::TMenuItem* item =
        parent.Add(kSkinChoices[choice].Caption, [this, choice](fw::TComponent*) { SelectSkin(choice); });
    item->SetRadioItem(true);
    SkinItems.emplace_back(item, choice);
  }
}

void TGalleryForm::MakeSkinButtons() {
  for (int choice = 0; choice < static_cast<int>(kSkinChoices.size()); ++choice) {
    auto* button = new TsBitBtn(this);
    button->SetParent(this);
    std::string caption = kSkinChoices[choice].Caption;
    caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
    button->SetCaption(caption);
    button->OnClick = [this, choice](fw::TComponent*) { SelectSkin(choice); };
    SkinButtons[choice] = button;
  }
  AddCaption(SkinButtons[0], "Skin (the pressed one is in use)");
}

void TGalleryForm::MakeDemoButtons() {
  FGlyph = MakeGlyph();
  const std::array<const char*, kDemoButtons> captions{"Push button", "With a glyph", "Glyph above the caption",
                                                       "Stays down (toggle)", "Disabled"};
  for (int b = 0; b < kDemoButtons; ++b) {
    auto* button = new TsBitBtn(this);
    button->SetParent(this);
    button->SetCaption(captions[b]);
    button->SetShowHint(true);
    button->SetHint(std::string("A skinned button: ") + captions[b]);
    const std::string pressed = std::string(captions[b]) + " pressed";
    button->OnClick = [this, pressed](fw::TComponent*) { ShowAction(pressed); };
    Buttons[b] = button;
    FDemoControls.push_back(button);
  }
  Buttons[dbGlyph]->Glyph().Assign(*FGlyph);
  Buttons[dbGlyphTop]->Glyph().Assign(*FGlyph);
  Buttons[dbGlyphTop]->SetLayout(fw::blGlyphTop);
  Buttons[dbToggle]->OnClick = [this](fw::TComponent*) {
    TsBitBtn* toggle = Buttons[dbToggle];
    toggle->SetDown(!toggle->Down());
    ShowAction(toggle->Down() ? "The toggle stays down" : "The toggle is up again");
  };
  Buttons[dbPlain]->SetDefault(true);
  Buttons[dbDisabled]->SetEnabled(false);
  AddCaption(Buttons[0], "Push buttons");
}

void TGalleryForm::MakeTrees() {
  Tree = new TsTreeView(this);
  Tree->SetParent(this);
  Tree->SetTabStop(true);
  Tree->BoundLabel().SetActive(true);
  Tree->BoundLabel().SetLayout(sclTopLeft);
  Tree->BoundLabel().SetCaption("Tree view");
  fw::TTreeNodes& nodes = Tree->Items();
  fw::TTreeNode* skins = nodes.AddChild(nullptr, "Skins");
  for (const TSkinChoice& choice : kSkinChoices)
    if (*choice.SkinName) nodes.AddChild(skins, choice.SkinName);
  fw::TTreeNode* controls = nodes.AddChild(nullptr, "Controls");
  for (const char* name : {"TsBitBtn", "TsStatusBar", "TsTreeView", "TsShellTreeView", "TacEditWnd", "TsSkinProvider"})
    nodes.AddChild(controls, name);
  // Enough rows for the skinned scroll bar to show.
  fw::TTreeNode* rows = nodes.AddChild(nullptr, "Rows");
  for (int i = 1; i <= 40; ++i) nodes.AddChild(rows, "Row " + std::to_string(i));
  skins->Expand(false);
  controls->Expand(false);
  rows->Expand(false);
  Tree->SetSelected(skins->GetFirstChild());
  FDemoControls.push_back(Tree);

  ShellTree = new TsShellTreeView(this);
  ShellTree->SetParent(this);
  ShellTree->SetTabStop(true);
  // Set up as a stored layout sets it up: the root is built once, at the end.
  ShellTree->SetLoadingState(true);
  ShellTree->SetObjectTypes(TacShellObjectTypes{otFolders});
  ShellTree->SetRoot("rfMyComputer");
  ShellTree->Loaded();
  ShellTree->BoundLabel().SetActive(true);
  ShellTree->BoundLabel().SetLayout(sclTopLeft);
  ShellTree->BoundLabel().SetCaption("Shell folder tree");
  FDemoControls.push_back(ShellTree);
}

void TGalleryForm::MakeMemo() {
  Memo = new TGalleryMemo(this);
  Memo->SetParent(this);
  std::string text;
  for (int i = 1; i <= 30; ++i)
    text += "Line " + std::to_string(i) +
            " of the platform's own edit: its frame and scroll bars are the skin's while a skin is loaded.\r\n";
  Memo->SetText(text);
  AddCaption(Memo, "Platform edit, subclassed");
  FDemoControls.push_back(Memo);
}

void TGalleryForm::MakeStatusBar() {
  // Known to the layout only once its panels are there.
  auto* bar = new TsStatusBar(this);
  bar->Panels().Add().SetWidth(220);
  bar->Panels().Add().SetWidth(90);
  bar->Panels().Add().SetWidth(400);
  bar->SetParent(this);
  StatusBar = bar;
}

void TGalleryForm::AddCaption(fw::TControl* control, const std::string& caption) {
  auto label = std::make_unique<TsBoundLabel>(control);
  label->SetActive(true);
  label->SetLayout(sclTopLeft);
  label->SetCaption(caption);
  FCaptions.push_back(std::move(label));
}

void TGalleryForm::AlignControls() {
  fw::TForm::AlignControls();
  if (!SkinButtons[0] || !StatusBar) return;
  const RECT client = ClientRect();
  const int barHeight = StatusBar->Visible() ? StatusBar->Height() : 0;
  const TGalleryPlaces places = PlaceGallery(client.right - client.left, client.bottom - client.top - barHeight);
  for (std::size_t i = 0; i < SkinButtons.size(); ++i) Place(SkinButtons[i], places.SkinButtons[i]);
  for (std::size_t i = 0; i < Buttons.size(); ++i) Place(Buttons[i], places.Buttons[i]);
  Place(Tree, places.Tree);
  Place(Memo, places.Memo);
  Place(ShellTree, places.ShellTree);
  for (const auto& label : FCaptions) label->UpdatePosition();
  char size[32];
  std::snprintf(size, sizeof(size), "%d x %d", Width(), Height());
  StatusBar->Panels()[spSize].SetText(size);
}

void TGalleryForm::WndProc(fw::TMessage& m) {
  if (m.Msg == WM_GETMINMAXINFO && HandleAllocated()) {
    fw::TForm::WndProc(m);
    // Small enough to lay the controls out without overlap, whatever the
    // frame and the menu bar take.
    RECT window{}, client{};
    ::GetWindowRect(Handle(), &window);
    ::GetClientRect(Handle(), &client);
    const SIZE least = GalleryMinimum();
    const int barHeight = StatusBar && StatusBar->Visible() ? StatusBar->Height() : 0;
    auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
    info->ptMinTrackSize.x = least.cx + (window.right - window.left) - client.right;
    info->ptMinTrackSize.y = least.cy + barHeight + (window.bottom - window.top) - client.bottom;
    return;
  }
  fw::TForm::WndProc(m);
}

void TGalleryForm::SelectSkin(int choice) {
  const std::string name = kSkinChoices.at(static_cast<std::size_t>(choice)).SkinName;
  if (name.empty()) {
    SkinManager->SetActive(false);
  } else if (SkinManager->Active()) {
    SkinManager->SetSkinName(name);
  } else {
    // Stored only while the manager is off; switching it on loads it.
    SkinManager->SetSkinName(name);
    SkinManager->SetActive(true);
  }
  ShowSkinChoice(name);
}

int TGalleryForm::CurrentChoice() const {
  if (!SkinManager->Active()) return scNone;
  for (int choice = 0; choice < static_cast<int>(kSkinChoices.size()); ++choice)
    if (SkinManager->SkinName() == kSkinChoices[choice].SkinName) return choice;
  return scNone;
}

void TGalleryForm::ShowSkinChoice(const std::string& requested) {
  const int current = CurrentChoice();
  for (auto& [item, choice] : SkinItems) item->SetChecked(choice == current);
  for (int choice = 0; choice < static_cast<int>(SkinButtons.size()); ++choice)
    SkinButtons[choice]->SetDown(choice == current);
  std::string text;
  if (current != scNone)
    text = "Skin: " + SkinManager->SkinName() + " (version " + SkinManager->SkinInfo() + ")";
  else if (!requested.empty())
    text = "Skin " + requested + " not found: the platform's look";
  else
    text = "No skin: the platform's look";
  StatusBar->Panels()[spSkin].SetText(text);
}

void TGalleryForm::NextSkin() { SelectSkin((CurrentChoice() + 1) % static_cast<int>(kSkinChoices.size())); }

void TGalleryForm::SetControlsEnabled(bool on) {
  for (fw::TControl* control : FDemoControls) control->SetEnabled(on && control != Buttons[dbDisabled]);
  EnabledItem->SetChecked(on);
  ShowAction(on ? "Controls enabled" : "Controls disabled");
}

void TGalleryForm::SetStatusBarShown(bool on) {
  StatusBar->SetVisible(on);
  StatusBarItem->SetChecked(on);
  AlignControls();
}

void TGalleryForm::ShowAction(const std::string& text) { StatusBar->Panels()[spAction].SetText(text); }

void TGalleryForm::ShowAbout() { fw::ShowMessage(kAboutText); }

}  // namespace translit::gallery
