// The skinned tree view.
#include "controls/sTreeView.h"  // first: the platform headers rename RegisterClass for all that follows

#include "controls/acSBUtils.h"
#include "controls/protocol/sVclUtils.h"
#include "framework/ClassRegistry.h"
#include "render/paint/sGraphUtils.h"
#include "skin/sSkinManager.h"

namespace translit {

TsTreeView::TsTreeView(fw::TComponent* owner)
    : fw::TTreeView(owner),
      FCommonData(std::make_unique<TsCtrlSkinData>(this, true, kKindTreeView)),
      FBoundLabel(std::make_unique<TsBoundLabel>(this)) {
  FCommonData->ChooseSection();
}

TsTreeView::~TsTreeView() {
  FScrollWnd.reset();
  FBoundLabel.reset();
  // The window goes in the framework's destruction; until then its messages
  // must not reach the skin data freed here.
  MarkDestroying();
  FCommonData.reset();
}

void TsTreeView::Loaded() {
  fw::TTreeView::Loaded();
  FCommonData->ChooseSection();
  RefreshTreeScrolls();
  FBoundLabel->UpdatePosition();
}

void TsTreeView::CreateHandleDone() {
  fw::TTreeView::CreateHandleDone();
  if (Loading()) return;
  if (FCommonData->Skinned()) FCommonData->UpdateColors(false);
  RefreshTreeScrolls();
}

void TsTreeView::RefreshTreeScrolls() {
  if (!FCommonData || !HandleAllocated()) return;
  RefreshScrollObject(FScrollWnd, FCommonData->Skinned() && !Destroying(), Handle(), FCommonData.get());
}

bool TsTreeView::HandleSkinCommand(fw::TMessage& m) {
  const TacSkinMessage s = ReadSkinMessage(m);
  const bool mine = s.LParam == reinterpret_cast<LPARAM>(FCommonData->SkinManager());
  switch (s.Command) {
    case SKINCMD_NEW_SKIN:
      if (!mine) return false;
      FCommonData->CommonMessage(m);
      return true;
    case SKINCMD_REMOVE_SKIN:
      if (!mine && s.LParam != 0) return false;
      FScrollWnd.reset();
      FCommonData->CommonMessage(m);
      if (!FCommonData->CustomColor()) SetColor(fw::clWindow);
      if (!FCommonData->CustomFont()) Font().SetColor(fw::clWindowText);
      return true;
    case SKINCMD_REFRESH:
      if (!mine) return false;
      // The common handling ends an update left by a removal and repaints.
      FCommonData->CommonMessage(m);
      if (FCommonData->Skinned()) {
        TsSkinManager* manager = FCommonData->SkinManager();
        const TsGeneralData* section = FCommonData->Section();
        if (!FCommonData->CustomColor())
          SetColor(static_cast<fw::TColor>(manager->ColorToRGB(section->States[0].Color)));
        if (!FCommonData->CustomFont())
          Font().SetColor(static_cast<fw::TColor>(manager->ColorToRGB(section->States[0].FontColor)));
      }
      RefreshTreeScrolls();
      return true;
    case SKINCMD_END_UPDATE_FRAME:
      if (FCommonData->Updating) {
        FCommonData->Updating = false;
        if (HandleAllocated()) ::SendMessageA(Handle(), WM_NCPAINT, 1, 0);
      }
      return true;
    case SKINCMD_IS_SKINNED:
    case SKINCMD_GET_APPLICATION:
      // Answered whether or not a skin is on.
      return FCommonData->CommonMessage(m);
    default:
      return false;
  }
}

void TsTreeView::WndProc(fw::TMessage& m) {
  if (!FCommonData || Destroying()) {
    fw::TTreeView::WndProc(m);
    return;
  }
  if (m.Msg == SM_ALPHACMD && HandleSkinCommand(m)) return;
  if (HandleAllocated() && FCommonData->Skinned()) {
    switch (m.Msg) {
      case WM_MOVE:
      case fw::CM_VISIBLECHANGED:
      case fw::CM_ENABLEDCHANGED:
        FCommonData->BGChanged = true;
        break;
      case WM_SETREDRAW:
        FCommonData->Updating = m.WParam != 1;
        break;
      default:
        break;
    }
    if (FCommonData->CommonMessage(m)) return;
    fw::TTreeView::WndProc(m);
    if (m.Msg == fw::CM_SHOWINGCHANGED) RefreshTreeScrolls();
  } else {
    fw::TTreeView::WndProc(m);
  }
  switch (m.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      FBoundLabel->UpdatePosition();
      break;
    case fw::CM_VISIBLECHANGED:
      FBoundLabel->UpdateVisibility();
      break;
    case fw::CM_BIDIMODECHANGED:
      FBoundLabel->UpdateDirection();
      break;
    default:
      break;
  }
}

bool TsTreeView::IsItemCustomDrawn() const {
  return !(ComponentState() & fw::csDesigning) || fw::TTreeView::IsItemCustomDrawn();
}

void TsTreeView::CustomDrawItem(fw::TTreeNode* node, fw::TCustomDrawState state, fw::TCustomDrawStage stage,
                                bool& paintImages, bool& defaultDraw) {
  if (ComponentState() & fw::csDesigning) {
    fw::TTreeView::CustomDrawItem(node, state, stage, paintImages, defaultDraw);
    return;
  }
  defaultDraw = true;
  fw::TTreeView::CustomDrawItem(node, state, stage, paintImages, defaultDraw);
  if (!defaultDraw || !FCommonData->Skinned()) return;
  // The selected node, also where the platform hides the selection of an
  // unfocused tree: the skin's normal look shows which folder is chosen.
  if (stage != fw::cdPostPaint || !node || !node->Selected()) return;
  DrawSkinnedSelection(node, state);
  defaultDraw = false;
}

void TsTreeView::DrawSkinnedSelection(fw::TTreeNode* node, fw::TCustomDrawState state) {
  TsSkinManager* manager = FCommonData->SkinManager();
  HDC target = Canvas().Handle();
  const RECT r = node->DisplayRect(true);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (!manager || !target || w <= 0 || h <= 0) return;
  auto picture = NewBitmap32(w, h);
  ParentCache parent = EmptyParentCache();
  parent.FillColor = static_cast<fw::TColor>(fw::ColorToRGB(Color()));
  const RECT all{0, 0, w, h};
  const bool focused = Focused();
  const int selection = manager->SectionIndex("SELECTION");
  if (manager->IsValidSection(selection))
    PaintSkinItem(selection, "SELECTION", parent, -1, -1, manager, picture.get(), POINT{0, 0}, all, focused ? 1 : 0);
  else
    FillBitmapRect(
        picture.get(), all,
        static_cast<fw::TColor>(manager->ColorToRGB(manager->SelectionColor((state & fw::cdsFocused) != 0))));

  fw::TCanvas& canvas = picture->Canvas();
  canvas.Font().Assign(Canvas().Font());
  RECT text{1, 1, w - 1, h - 1};
  text.left += 1;
  constexpr UINT kFlags = DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP | DT_NOPREFIX;
  if (manager->IsValidSection(selection)) {
    WriteSkinText(canvas, node->Text(), true, manager, focused, selection, kFlags, text);
  } else {
    canvas.Brush().SetStyle(fw::bsClear);
    ::SetBkMode(canvas.Handle(), TRANSPARENT);  // the text goes over the selection's fill
    DrawCanvasText(
        canvas, node->Text(), text, kFlags,
        static_cast<fw::TColor>(manager->ColorToRGB(manager->SelectionFontColor((state & fw::cdsFocused) != 0))));
    if (focused) {
      RECT frame = text;
      ::InflateRect(&frame, 1, 1);
      frame.left = 0;
      ::DrawFocusRect(canvas.Handle(), &frame);
    }
  }
  if (!Enabled()) ApplyDisabledLook(picture.get(), dkBlended, Parent(), POINT{r.left + 3, r.top + 3}, parent);
  ::BitBlt(target, r.left, r.top, w, h, canvas.Handle(), 0, 0, SRCCOPY);
}

void RegisterTreeViewClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterCommonDataClasses();
  RegisterBoundLabelClasses();
  fw::RegisterClass<TsTreeView>("TsTreeView", "TTreeView")
      .Object("SkinData", &TsTreeView::SkinData)
      .Object("BoundLabel", &TsTreeView::BoundLabel);
}

}  // namespace translit
