// The tree view and its nodes.
#include "framework/TreeView.h"

#include <cstring>
#include <vector>

namespace fw {

// ---- TTreeNode

namespace {
// Reads or writes the fields of item that mask names.
void ItemMessage(TTreeView* view, UINT msg, TVITEMA& item) {
  ::SendMessageA(view->Handle(), msg, 0, reinterpret_cast<LPARAM>(&item));
}
TVITEMA ItemOf(HTREEITEM handle, UINT mask) {
  TVITEMA item{};
  item.mask = mask;
  item.hItem = handle;
  return item;
}
}  // namespace

TTreeView* TTreeNode::TreeView() const { return FOwner->Owner(); }

std::string TTreeNode::Text() const {
  char buf[1024] = {};
  TVITEMA item = ItemOf(FItem, TVIF_TEXT);
  item.pszText = buf;
  item.cchTextMax = sizeof(buf);
  ItemMessage(TreeView(), TVM_GETITEMA, item);
  return buf;
}

void TTreeNode::SetText(const std::string& text) {
  TVITEMA item = ItemOf(FItem, TVIF_TEXT);
  item.pszText = const_cast<char*>(text.c_str());
  ItemMessage(TreeView(), TVM_SETITEMA, item);
}

bool TTreeNode::HasChildren() const {
  TVITEMA item = ItemOf(FItem, TVIF_CHILDREN);
  ItemMessage(TreeView(), TVM_GETITEMA, item);
  return item.cChildren != 0;
}

void TTreeNode::SetHasChildren(bool v) {
  TVITEMA item = ItemOf(FItem, TVIF_CHILDREN);
  item.cChildren = v ? 1 : 0;
  ItemMessage(TreeView(), TVM_SETITEMA, item);
}

int TTreeNode::ImageIndex() const {
  TreeView()->ImagesNeeded(const_cast<TTreeNode*>(this));
  return FImageIndex;
}

int TTreeNode::SelectedIndex() const {
  TreeView()->ImagesNeeded(const_cast<TTreeNode*>(this));
  return FSelectedIndex;
}

void TTreeNode::SetImageIndex(int i) {
  FImageIndex = i;
  TVITEMA item = ItemOf(FItem, TVIF_IMAGE);
  item.iImage = i;
  ItemMessage(TreeView(), TVM_SETITEMA, item);
}

void TTreeNode::SetSelectedIndex(int i) {
  FSelectedIndex = i;
  TVITEMA item = ItemOf(FItem, TVIF_SELECTEDIMAGE);
  item.iSelectedImage = i;
  ItemMessage(TreeView(), TVM_SETITEMA, item);
}

bool TTreeNode::Expanded() const {
  return (::SendMessageA(TreeView()->Handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(FItem), TVIS_EXPANDED) &
          TVIS_EXPANDED) != 0;
}

void TTreeNode::Expand(bool recurse) {
  ::SendMessageA(TreeView()->Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(FItem));
  if (recurse)
    for (TTreeNode* c = GetFirstChild(); c; c = c->GetNextSibling()) c->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
  ::SendMessageA(TreeView()->Handle(), TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(FItem));
  if (recurse)
    for (TTreeNode* c = GetFirstChild(); c; c = c->GetNextSibling()) c->Collapse(true);
}

RECT TTreeNode::DisplayRect(bool textOnly) const {
  // The message takes the item's handle in the rectangle's first bytes.
  RECT r{};
  std::memcpy(&r, &FItem, sizeof(HTREEITEM));
  if (!::SendMessageA(TreeView()->Handle(), TVM_GETITEMRECT, textOnly ? TRUE : FALSE, reinterpret_cast<LPARAM>(&r)))
    return RECT{};
  return r;
}

bool TTreeNode::Selected() const { return TreeView()->Selected() == this; }

int TTreeNode::OverlayIndex() const {
  const auto state = static_cast<UINT>(
      ::SendMessageA(TreeView()->Handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(FItem), TVIS_OVERLAYMASK));
  return static_cast<int>((state & TVIS_OVERLAYMASK) >> 8) - 1;
}

void TTreeNode::SetOverlayIndex(int i) {
  TVITEMA item = ItemOf(FItem, TVIF_STATE);
  item.stateMask = TVIS_OVERLAYMASK;
  item.state = i >= 0 ? INDEXTOOVERLAYMASK(i + 1) : 0;
  ItemMessage(TreeView(), TVM_SETITEMA, item);
}

HWND TTreeNode::EditText() {
  return reinterpret_cast<HWND>(
      ::SendMessageA(TreeView()->Handle(), TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(FItem)));
}

void TTreeNode::MakeVisible() {
  ::SendMessageA(TreeView()->Handle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(FItem));
}

namespace {
HTREEITEM Related(TTreeView* view, HTREEITEM item, UINT code) {
  return reinterpret_cast<HTREEITEM>(
      ::SendMessageA(view->Handle(), TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}
}  // namespace

TTreeNode* TTreeNode::Parent() const { return FOwner->FromItem(Related(TreeView(), FItem, TVGN_PARENT)); }
TTreeNode* TTreeNode::GetFirstChild() const { return FOwner->FromItem(Related(TreeView(), FItem, TVGN_CHILD)); }
TTreeNode* TTreeNode::GetNextSibling() const { return FOwner->FromItem(Related(TreeView(), FItem, TVGN_NEXT)); }
TTreeNode* TTreeNode::GetPrevSibling() const { return FOwner->FromItem(Related(TreeView(), FItem, TVGN_PREVIOUS)); }

TTreeNode* TTreeNode::GetNext() const {
  if (TTreeNode* child = GetFirstChild()) return child;
  for (const TTreeNode* n = this; n; n = n->Parent())
    if (TTreeNode* next = n->GetNextSibling()) return next;
  return nullptr;
}

int TTreeNode::Count() const {
  int n = 0;
  for (TTreeNode* c = GetFirstChild(); c; c = c->GetNextSibling()) ++n;
  return n;
}

TTreeNode* TTreeNode::Item(int index) const {
  TTreeNode* c = GetFirstChild();
  while (c && index-- > 0) c = c->GetNextSibling();
  return c;
}

int TTreeNode::Level() const {
  int level = 0;
  for (TTreeNode* p = Parent(); p; p = p->Parent()) ++level;
  return level;
}

void TTreeNode::Delete() {
  // TVN_DELETEITEM frees this object.
  ::SendMessageA(TreeView()->Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(FItem));
}

void TTreeNode::DeleteChildren() {
  std::vector<HTREEITEM> children;
  for (TTreeNode* c = GetFirstChild(); c; c = c->GetNextSibling()) children.push_back(c->FItem);
  for (HTREEITEM h : children) ::SendMessageA(TreeView()->Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(h));
}

// ---- TTreeNodes

TTreeNode* TTreeNodes::InsertItem(HTREEITEM parent, HTREEITEM after, const std::string& text, void* data,
                                  int hasChildren) {
  TVINSERTSTRUCTA ins{};
  ins.hParent = parent;
  ins.hInsertAfter = after;
  ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  if (hasChildren >= 0) {
    ins.item.mask |= TVIF_CHILDREN;
    ins.item.cChildren = hasChildren;
  }
  ins.item.pszText = const_cast<char*>(text.c_str());
  ins.item.iImage = -1;
  ins.item.iSelectedImage = -1;
  HTREEITEM item =
      reinterpret_cast<HTREEITEM>(::SendMessageA(FView->Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
  if (!item) throw EOutOfResources("Failed to insert a tree node");
  auto node = std::make_unique<TTreeNode>(this, item);
  node->SetData(data);
  TTreeNode* raw = node.get();
  FNodes[item] = std::move(node);
  return raw;
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text) {
  return AddChildObject(parent, text, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const std::string& text, void* data) {
  return InsertItem(parent ? parent->ItemId() : TVI_ROOT, TVI_LAST, text, data);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const std::string& text, void* data, bool hasChildren) {
  return InsertItem(parent ? parent->ItemId() : TVI_ROOT, TVI_LAST, text, data, hasChildren ? 1 : 0);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* sibling, const std::string& text) {
  return InsertObject(sibling, text, nullptr);
}

TTreeNode* TTreeNodes::InsertObject(TTreeNode* sibling, const std::string& text, void* data) {
  if (!sibling) return AddChildObject(nullptr, text, data);
  TTreeNode* parent = sibling->Parent();
  TTreeNode* before = sibling->GetPrevSibling();
  return InsertItem(parent ? parent->ItemId() : TVI_ROOT, before ? before->ItemId() : TVI_FIRST, text, data);
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& text) {
  return AddChild(sibling ? sibling->Parent() : nullptr, text);
}

TTreeNode* TTreeNodes::GetFirstNode() const {
  if (!FView->HandleAllocated()) return nullptr;
  return FromItem(reinterpret_cast<HTREEITEM>(::SendMessageA(FView->Handle(), TVM_GETNEXTITEM, TVGN_ROOT, 0)));
}

void TTreeNodes::Clear() {
  if (FView->HandleAllocated()) ::SendMessageA(FView->Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  FNodes.clear();
}

void TTreeNodes::BeginUpdate() {
  if (FUpdating++ == 0 && FView->HandleAllocated()) ::SendMessageA(FView->Handle(), WM_SETREDRAW, FALSE, 0);
}

void TTreeNodes::EndUpdate() {
  if (--FUpdating == 0 && FView->HandleAllocated()) {
    ::SendMessageA(FView->Handle(), WM_SETREDRAW, TRUE, 0);
    FView->Invalidate();
  }
}

TTreeNode* TTreeNodes::FromItem(HTREEITEM item) const {
  if (!item) return nullptr;
  auto it = FNodes.find(item);
  return it == FNodes.end() ? nullptr : it->second.get();
}

void TTreeNodes::Forget(HTREEITEM item) { FNodes.erase(item); }

// ---- TTreeView

TTreeView::TTreeView(TComponent* owner) : TWinControl(owner), FItems(this), FCanvas(std::make_unique<TCanvas>()) {
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetColor(clWindow);
}

TTreeView::~TTreeView() {
  // The window goes first: its TVN_DELETEITEM notifications must find the
  // nodes and the handlers still there.
  OnDeletion = nullptr;
  DestroyHandle();
}

DWORD TTreeView::TreeStyle() const {
  DWORD style = TVS_DISABLEDRAGDROP;
  if (FShowButtons) style |= TVS_HASBUTTONS;
  if (FShowLines) style |= TVS_HASLINES;
  if (FShowRoot) style |= TVS_LINESATROOT;
  if (!FHideSelection) style |= TVS_SHOWSELALWAYS;
  if (!FReadOnly) style |= TVS_EDITLABELS;
  return style;
}

void TTreeView::UpdateStyle() {
  if (!HandleAllocated()) return;
  constexpr DWORD kMask = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_EDITLABELS;
  DWORD style = static_cast<DWORD>(::GetWindowLongA(Handle(), GWL_STYLE));
  ::SetWindowLongA(Handle(), GWL_STYLE, static_cast<LONG>((style & ~kMask) | TreeStyle()));
  Invalidate();
}

void TTreeView::SetShowButtons(bool v) {
  FShowButtons = v;
  UpdateStyle();
}
void TTreeView::SetShowLines(bool v) {
  FShowLines = v;
  UpdateStyle();
}
void TTreeView::SetShowRoot(bool v) {
  FShowRoot = v;
  UpdateStyle();
}
void TTreeView::SetHideSelection(bool v) {
  FHideSelection = v;
  UpdateStyle();
}
void TTreeView::SetReadOnly(bool v) {
  FReadOnly = v;
  UpdateStyle();
}

void TTreeView::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.BaseClassName = WC_TREEVIEWA;
  p.Style |= TreeStyle();
  p.ExStyle |= WS_EX_CLIENTEDGE;
  p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TTreeView::CreateHandleDone() {
  ::SendMessageA(Handle(), TVM_SETINDENT, static_cast<WPARAM>(FIndent), 0);
  ::SendMessageA(Handle(), TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
  ::SendMessageA(Handle(), TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Font().Color())));
  if (FImages) ::SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(FImages));
}

void TTreeView::SetIndent(int v) {
  FIndent = v;
  if (HandleAllocated()) ::SendMessageA(Handle(), TVM_SETINDENT, static_cast<WPARAM>(v), 0);
}

void TTreeView::SetImages(HIMAGELIST images) {
  FImages = images;
  if (HandleAllocated()) ::SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
}

void TTreeView::ColorChanged() {
  if (HandleAllocated()) ::SendMessageA(Handle(), TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
  TWinControl::ColorChanged();
}

void TTreeView::FontChanged() {
  if (HandleAllocated()) ::SendMessageA(Handle(), TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Font().Color())));
  TWinControl::FontChanged();
}

TTreeNode* TTreeView::Selected() const {
  if (!HandleAllocated()) return nullptr;
  HWND wnd = const_cast<TTreeView*>(this)->Handle();
  return FItems.FromItem(reinterpret_cast<HTREEITEM>(::SendMessageA(wnd, TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TTreeView::SetSelected(TTreeNode* node) {
  ::SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? node->ItemId() : nullptr));
}

TTreeNode* TTreeView::TopItem() const {
  if (!HandleAllocated()) return nullptr;
  HWND wnd = const_cast<TTreeView*>(this)->Handle();
  return FItems.FromItem(reinterpret_cast<HTREEITEM>(::SendMessageA(wnd, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
}

void TTreeView::SetTopItem(TTreeNode* node) {
  if (node) ::SendMessageA(Handle(), TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(node->ItemId()));
}

bool TTreeView::IsEditing() const {
  if (!HandleAllocated()) return false;
  HWND wnd = const_cast<TTreeView*>(this)->Handle();
  return ::SendMessageA(wnd, TVM_GETEDITCONTROL, 0, 0) != 0;
}

bool TTreeView::CanChange(TTreeNode* node) {
  bool allow = true;
  if (OnChanging) OnChanging(this, node, allow);
  return allow;
}

bool TTreeView::CanEdit(TTreeNode* node) {
  if (FReadOnly) return false;
  bool allow = true;
  if (OnEditing) OnEditing(this, node, allow);
  return allow;
}

void TTreeView::Edit(TTreeNode* node, const char* text) {
  if (!text || !node) return;
  std::string s = text;
  if (OnEdited) OnEdited(this, node, s);
  node->SetText(s);
}

bool TTreeView::CanExpand(TTreeNode* node) {
  bool allow = true;
  if (OnExpanding) OnExpanding(this, node, allow);
  return allow;
}

void TTreeView::Change(TTreeNode* node) {
  if (OnChange) OnChange(this, node);
}

void TTreeView::Delete(TTreeNode* node) {
  if (OnDeletion) OnDeletion(this, node);
}

void TTreeView::CustomDraw(const RECT& rect, TCustomDrawStage stage, bool& defaultDraw) {
  if (OnAdvancedCustomDraw) OnAdvancedCustomDraw(this, rect, stage, defaultDraw);
}

void TTreeView::CustomDrawItem(TTreeNode* node, TCustomDrawState state, TCustomDrawStage stage, bool& paintImages,
                               bool& defaultDraw) {
  if (OnAdvancedCustomDrawItem) OnAdvancedCustomDrawItem(this, node, state, stage, paintImages, defaultDraw);
}

LRESULT TTreeView::HandleCustomDraw(NMTVCUSTOMDRAW& draw) {
  NMCUSTOMDRAW& nm = draw.nmcd;
  const bool items = IsItemCustomDrawn();
  bool defaultDraw = true;
  switch (nm.dwDrawStage) {
    case CDDS_PREPAINT: {
      if (IsCustomDrawn()) {
        CanvasScope scope(*FCanvas, nm.hdc);
        CustomDraw(nm.rc, cdPrePaint, defaultDraw);
        if (!defaultDraw) return CDRF_SKIPDEFAULT;
      }
      LRESULT result = CDRF_DODEFAULT;
      if (items) result |= CDRF_NOTIFYITEMDRAW;
      if (IsCustomDrawn()) result |= CDRF_NOTIFYPOSTPAINT;
      return result;
    }
    case CDDS_POSTPAINT:
      if (IsCustomDrawn()) {
        CanvasScope scope(*FCanvas, nm.hdc);
        CustomDraw(nm.rc, cdPostPaint, defaultDraw);
      }
      return CDRF_DODEFAULT;
    case CDDS_ITEMPREPAINT:
    case CDDS_ITEMPOSTPAINT: {
      if (!items) return CDRF_DODEFAULT;
      TTreeNode* node = FItems.FromItem(reinterpret_cast<HTREEITEM>(nm.dwItemSpec));
      if (!node) return CDRF_DODEFAULT;
      TCustomDrawState state = 0;
      if (nm.uItemState & CDIS_SELECTED) state |= cdsSelected;
      if (nm.uItemState & CDIS_GRAYED) state |= cdsGrayed;
      if (nm.uItemState & CDIS_DISABLED) state |= cdsDisabled;
      if (nm.uItemState & CDIS_CHECKED) state |= cdsChecked;
      if (nm.uItemState & CDIS_FOCUS) state |= cdsFocused;
      if (nm.uItemState & CDIS_DEFAULT) state |= cdsDefault;
      if (nm.uItemState & CDIS_HOT) state |= cdsHot;
      if (nm.uItemState & CDIS_MARKED) state |= cdsMarked;
      if (nm.uItemState & CDIS_INDETERMINATE) state |= cdsIndeterminate;
      bool paintImages = true;
      const bool pre = nm.dwDrawStage == CDDS_ITEMPREPAINT;
      {
        CanvasScope scope(*FCanvas, nm.hdc);
        // The canvas starts with the view's font, as the items are drawn in it.
        FCanvas->Font().Assign(Font());
        CustomDrawItem(node, state, pre ? cdPrePaint : cdPostPaint, paintImages, defaultDraw);
      }
      if (!pre) return CDRF_DODEFAULT;
      return defaultDraw ? CDRF_NOTIFYPOSTPAINT : CDRF_SKIPDEFAULT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

void TTreeView::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    switch (hdr->code) {
      case NM_CUSTOMDRAW:
        m.Result = HandleCustomDraw(*reinterpret_cast<NMTVCUSTOMDRAW*>(m.LParam));
        return;
      case TVN_ITEMEXPANDINGA:
      case TVN_ITEMEXPANDINGW: {
        auto* nm = reinterpret_cast<NMTREEVIEWA*>(m.LParam);
        TTreeNode* node = FItems.FromItem(nm->itemNew.hItem);
        if (node && nm->action == TVE_EXPAND) m.Result = CanExpand(node) ? FALSE : TRUE;
        return;
      }
      case TVN_ITEMEXPANDEDA:
      case TVN_ITEMEXPANDEDW: {
        auto* nm = reinterpret_cast<NMTREEVIEWA*>(m.LParam);
        if (TTreeNode* node = FItems.FromItem(nm->itemNew.hItem); node && OnExpanded) OnExpanded(this, node);
        return;
      }
      case TVN_SELCHANGEDA:
      case TVN_SELCHANGEDW: {
        auto* nm = reinterpret_cast<NMTREEVIEWA*>(m.LParam);
        Change(FItems.FromItem(nm->itemNew.hItem));
        return;
      }
      case TVN_GETDISPINFOA:
      case TVN_GETDISPINFOW: {
        // Images inserted as I_IMAGECALLBACK are asked for as they are drawn.
        auto* nm = reinterpret_cast<NMTVDISPINFOA*>(m.LParam);
        TTreeNode* node = FItems.FromItem(nm->item.hItem);
        if (node && (nm->item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE))) {
          ImagesNeeded(node);
          if (nm->item.mask & TVIF_IMAGE) nm->item.iImage = node->FImageIndex;
          if (nm->item.mask & TVIF_SELECTEDIMAGE) nm->item.iSelectedImage = node->FSelectedIndex;
        }
        return;
      }
      case TVN_SELCHANGINGA:
      case TVN_SELCHANGINGW: {
        auto* nm = reinterpret_cast<NMTREEVIEWA*>(m.LParam);
        m.Result = CanChange(FItems.FromItem(nm->itemNew.hItem)) ? FALSE : TRUE;
        return;
      }
      case TVN_BEGINLABELEDITA:
      case TVN_BEGINLABELEDITW: {
        auto* nm = reinterpret_cast<NMTVDISPINFOA*>(m.LParam);
        TTreeNode* node = FItems.FromItem(nm->item.hItem);
        m.Result = node && CanEdit(node) ? FALSE : TRUE;
        return;
      }
      case TVN_ENDLABELEDITA:
      case TVN_ENDLABELEDITW: {
        // The node takes its text from Edit, so the platform is told to
        // keep what it has: Edit may have replaced or removed the node.
        auto* nm = reinterpret_cast<NMTVDISPINFOA*>(m.LParam);
        TTreeNode* node = FItems.FromItem(nm->item.hItem);
        std::string text;
        const bool given = nm->item.pszText != nullptr;
        if (given && hdr->code == TVN_ENDLABELEDITW) {
          const auto* wide = reinterpret_cast<const wchar_t*>(nm->item.pszText);
          int n = ::WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
          text.resize(n > 0 ? static_cast<size_t>(n) : 1);
          ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), n, nullptr, nullptr);
          text.resize(std::strlen(text.c_str()));
        } else if (given) {
          text = nm->item.pszText;
        }
        m.Result = FALSE;
        if (node) Edit(node, given ? text.c_str() : nullptr);
        return;
      }
      case TVN_DELETEITEMA:
      case TVN_DELETEITEMW: {
        auto* nm = reinterpret_cast<NMTREEVIEWA*>(m.LParam);
        if (TTreeNode* node = FItems.FromItem(nm->itemOld.hItem)) {
          Delete(node);
          FItems.Forget(nm->itemOld.hItem);
        }
        return;
      }
      case NM_RCLICK: {
        // Where the button went up, not where the mouse is by now.
        const DWORD pos = ::GetMessagePos();
        POINT cursor{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
        if (FRightClickSelect) {
          TVHITTESTINFO hit{};
          hit.pt = cursor;
          ::ScreenToClient(Handle(), &hit.pt);
          ::SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
          if (hit.hItem && (hit.flags & TVHT_ONITEM))
            ::SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hit.hItem));
        }
        // The view asks for its context menu itself, once the selection has
        // moved: Wine's tree view sends no WM_CONTEXTMENU after a right
        // click, and Windows' sends one only when this notification answers
        // 0, so answering 1 keeps the menu from coming twice.
        Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Handle()), MAKELPARAM(cursor.x, cursor.y));
        m.Result = 1;
        return;
      }
      default:
        break;
    }
  }
  TWinControl::WndProc(m);
}

}  // namespace fw
