// The framework's tree view with the skin engine added: its skin data
// (kind 96, section "EDIT" unless one is set), a caption label bound to it,
// a TacTreeViewWnd that paints the frame and the scroll bars from the skin
// while the tree is skinned, and the selected node drawn from the skin's
// "SELECTION" section. Everything else (nodes, expansion, label editing,
// events) is the framework tree view's.
//
// The application's OnAdvancedCustomDrawItem stays in place and runs first:
// when it clears DefaultDraw it keeps full control of the item's drawing.
#pragma once

#include <memory>

#include "controls/acTreeViewWnd.h"
#include "controls/sBoundLabel.h"
#include "controls/skindata/sCommonData.h"
#include "framework/TreeView.h"

namespace translit {

class TsTreeView : public fw::TTreeView {
 public:
  explicit TsTreeView(fw::TComponent* owner);
  ~TsTreeView() override;
  const char* ClassName() const override { return "TsTreeView"; }

  // Published.
  TsCtrlSkinData& SkinData() { return *FCommonData; }
  TsBoundLabel& BoundLabel() { return *FBoundLabel; }

  // The subclassing object while the tree is skinned, else none.
  TacTreeViewWnd* ScrollWnd() const { return FScrollWnd.get(); }
  // Attaches the skinned frame and bars when the tree is skinned (a detached
  // object is replaced), drops them when it is not.
  void RefreshTreeScrolls();

  void Loaded() override;

 protected:
  void WndProc(fw::TMessage& m) override;
  void CreateHandleDone() override;
  bool IsItemCustomDrawn() const override;
  void CustomDrawItem(fw::TTreeNode* node, fw::TCustomDrawState state, fw::TCustomDrawStage stage,
                      bool& paintImages, bool& defaultDraw) override;

 private:
  // The selected node's text rectangle painted from the skin.
  void DrawSkinnedSelection(fw::TTreeNode* node, fw::TCustomDrawState state);
  bool HandleSkinCommand(fw::TMessage& m);

  std::unique_ptr<TsCtrlSkinData> FCommonData;
  std::unique_ptr<TsBoundLabel> FBoundLabel;
  TacWndPtr<TacTreeViewWnd> FScrollWnd;
};

// Registers TsTreeView (and the classes it publishes) with the layout reader.
void RegisterTreeViewClasses();

}  // namespace translit
