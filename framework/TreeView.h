// The tree view: a superclassed platform tree view whose items are
// TTreeNode objects, owned by the view's TTreeNodes.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "framework/Controls.h"

namespace fw {

class TTreeView;
class TTreeNodes;

class TTreeNode {
  friend class TTreeView;

 public:
  TTreeNode(TTreeNodes* owner, HTREEITEM item) : FOwner(owner), FItem(item) {}

  HTREEITEM ItemId() const { return FItem; }
  TTreeView* TreeView() const;
  std::string Text() const;
  void SetText(const std::string& text);
  void* Data() const { return FData; }
  void SetData(void* data) { FData = data; }
  bool HasChildren() const;
  void SetHasChildren(bool v);
  // The node's image and selected image. A view may work them out only
  // when they are first needed (TTreeView::ImagesNeeded); asking for them
  // here is such a need.
  int ImageIndex() const;
  void SetImageIndex(int i);
  int SelectedIndex() const;
  void SetSelectedIndex(int i);
  // Records both indexes without telling the platform: for a view that
  // answers the platform's requests for them, from ImagesNeeded.
  void StoreImageIndexes(int image, int selected) {
    FImageIndex = image;
    FSelectedIndex = selected;
  }
  bool Expanded() const;
  void Expand(bool recurse);
  void Collapse(bool recurse);
  bool Selected() const;
  void MakeVisible();
  // The overlay image of the node: an index into the image list's overlays
  // (0 for the first), -1 for none.
  int OverlayIndex() const;
  void SetOverlayIndex(int i);
  // Starts editing the node's label in place; the edit window, or null when
  // the view refused (read-only view, OnEditing said no).
  HWND EditText();
  // The node's rectangle in the view's client area: the whole row, or with
  // textOnly the text alone. Empty while the node is scrolled out of sight
  // under a collapsed parent.
  RECT DisplayRect(bool textOnly) const;

  TTreeNode* Parent() const;
  TTreeNode* GetFirstChild() const;
  TTreeNode* GetNextSibling() const;
  TTreeNode* GetPrevSibling() const;
  // The next node in tree order: the first child, else the next sibling of
  // the node or of its nearest ancestor that has one.
  TTreeNode* GetNext() const;
  int Count() const;
  TTreeNode* Item(int index) const;
  int Level() const;
  // Removes the node and its children from the view; frees them.
  void Delete();
  void DeleteChildren();

 private:
  TTreeNodes* FOwner;
  HTREEITEM FItem;
  void* FData = nullptr;
  int FImageIndex = -1;
  int FSelectedIndex = -1;
};

class TTreeNodes {
 public:
  explicit TTreeNodes(TTreeView* view) : FView(view) {}
  TTreeView* Owner() const { return FView; }

  // A new last child of parent (or a new root node when parent is null).
  TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
  TTreeNode* AddChildObject(TTreeNode* parent, const std::string& text, void* data);
  // The same with the node's expand button given at once (one message for
  // the whole node).
  TTreeNode* AddChildObject(TTreeNode* parent, const std::string& text, void* data, bool hasChildren);
  TTreeNode* Add(TTreeNode* sibling, const std::string& text);
  // A new node just before sibling, under the same parent (a new last root
  // node when sibling is null).
  TTreeNode* Insert(TTreeNode* sibling, const std::string& text);
  TTreeNode* InsertObject(TTreeNode* sibling, const std::string& text, void* data);
  TTreeNode* GetFirstNode() const;
  int Count() const { return static_cast<int>(FNodes.size()); }
  void Clear();
  void BeginUpdate();
  void EndUpdate();
  TTreeNode* FromItem(HTREEITEM item) const;

 private:
  friend class TTreeView;
  // hasChildren: 1 or 0 sets the node's expand button, -1 leaves it.
  TTreeNode* InsertItem(HTREEITEM parent, HTREEITEM after, const std::string& text, void* data, int hasChildren = -1);
  void Forget(HTREEITEM item);

  TTreeView* FView;
  std::map<HTREEITEM, std::unique_ptr<TTreeNode>> FNodes;
  int FUpdating = 0;
};

// Custom drawing: the stage of a paint, and what the platform says of an item.
enum TCustomDrawStage { cdPrePaint, cdPostPaint, cdPreErase, cdPostErase };
enum TCustomDrawStateFlag : unsigned {
  cdsSelected = 1,
  cdsGrayed = 2,
  cdsDisabled = 4,
  cdsChecked = 8,
  cdsFocused = 16,
  cdsDefault = 32,
  cdsHot = 64,
  cdsMarked = 128,
  cdsIndeterminate = 256,
};
using TCustomDrawState = unsigned;

using TTVAdvancedCustomDrawEvent =
    std::function<void(TComponent* sender, const RECT& rect, TCustomDrawStage stage, bool& defaultDraw)>;
using TTVAdvancedCustomDrawItemEvent =
    std::function<void(TComponent* sender, TTreeNode* node, TCustomDrawState state, TCustomDrawStage stage,
                       bool& paintImages, bool& defaultDraw)>;

using TTVExpandingEvent = std::function<void(TComponent* sender, TTreeNode* node, bool& allowExpansion)>;
using TTVChangedEvent = std::function<void(TComponent* sender, TTreeNode* node)>;
using TTVChangingEvent = std::function<void(TComponent* sender, TTreeNode* node, bool& allowChange)>;
using TTVEditingEvent = std::function<void(TComponent* sender, TTreeNode* node, bool& allowEdit)>;
using TTVEditedEvent = std::function<void(TComponent* sender, TTreeNode* node, std::string& text)>;

class TTreeView : public TWinControl {
 public:
  explicit TTreeView(TComponent* owner);
  ~TTreeView() override;
  const char* ClassName() const override { return "TTreeView"; }

  TTreeNodes& Items() { return FItems; }
  TTreeNode* Selected() const;
  void SetSelected(TTreeNode* node);
  // The first node shown at the top of the view.
  TTreeNode* TopItem() const;
  void SetTopItem(TTreeNode* node);
  // Whether a label is being edited in place now.
  bool IsEditing() const;

  int Indent() const { return FIndent; }
  void SetIndent(int v);
  bool ShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool v);
  bool ShowLines() const { return FShowLines; }
  void SetShowLines(bool v);
  bool ShowRoot() const { return FShowRoot; }
  void SetShowRoot(bool v);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool v);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v);
  bool RightClickSelect() const { return FRightClickSelect; }
  void SetRightClickSelect(bool v) { FRightClickSelect = v; }
  HIMAGELIST Images() const { return FImages; }
  void SetImages(HIMAGELIST images);
  // The TVS_ style bits of the current settings.
  DWORD TreeStyle() const;

  TTVExpandingEvent OnExpanding;
  TTVChangedEvent OnExpanded;
  TTVChangedEvent OnChange;
  // Asked before the selection moves to node; clearing allowChange keeps it.
  TTVChangingEvent OnChanging;
  TTVChangedEvent OnDeletion;
  // Asked before a label is edited in place; clearing allowEdit refuses.
  TTVEditingEvent OnEditing;
  // Told the text a finished edit gives a node; it may change the text.
  TTVEditedEvent OnEdited;
  // Called around the platform's painting of the whole view and of each
  // item; clearing defaultDraw skips the platform's drawing of that item.
  TTVAdvancedCustomDrawEvent OnAdvancedCustomDraw;
  TTVAdvancedCustomDrawItemEvent OnAdvancedCustomDrawItem;

  // The canvas of the paint under way (custom drawing only).
  TCanvas& Canvas() { return *FCanvas; }

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& m) override;
  void ColorChanged() override;
  void FontChanged() override;
  // What happens when a node is about to open; the default asks OnExpanding.
  virtual bool CanExpand(TTreeNode* node);
  virtual void Change(TTreeNode* node);
  // Whether the selection may move to node (null: to no node); the default
  // asks OnChanging.
  virtual bool CanChange(TTreeNode* node);
  virtual void Delete(TTreeNode* node);
  // Whether node's label may be edited; the default refuses in a read-only
  // view and asks OnEditing.
  virtual bool CanEdit(TTreeNode* node);
  // An edit of node's label ended; text is null when it was cancelled. The
  // default hands the text to OnEdited and gives it to the node.
  virtual void Edit(TTreeNode* node, const char* text);
  // A node's images are about to be shown or read: a view that works them
  // out late stores them now (TTreeNode::StoreImageIndexes). Nodes are
  // inserted with images the platform asks for when it draws them.
  virtual void ImagesNeeded(TTreeNode*) {}
  // Style changes are applied to the live window: recreating it would lose
  // the nodes.
  void UpdateStyle();
  // Custom drawing: whether the items are to be reported, and the calls
  // made for the view and for each item. The defaults ask the events.
  virtual bool IsCustomDrawn() const { return static_cast<bool>(OnAdvancedCustomDraw); }
  virtual bool IsItemCustomDrawn() const { return static_cast<bool>(OnAdvancedCustomDrawItem); }
  virtual void CustomDraw(const RECT& rect, TCustomDrawStage stage, bool& defaultDraw);
  virtual void CustomDrawItem(TTreeNode* node, TCustomDrawState state, TCustomDrawStage stage, bool& paintImages,
                              bool& defaultDraw);

 private:
  LRESULT HandleCustomDraw(NMTVCUSTOMDRAW& draw);

  friend class TTreeNodes;
  friend class TTreeNode;
  TTreeNodes FItems;
  int FIndent = 19;
  bool FShowButtons = true;
  bool FShowLines = true;
  bool FShowRoot = true;
  bool FHideSelection = true;
  bool FReadOnly = false;
  bool FRightClickSelect = false;
  HIMAGELIST FImages = nullptr;
  std::unique_ptr<TCanvas> FCanvas;
};

}  // namespace fw
