// A tree of the computer's drives and their folders, filled as nodes are
// opened, that yields the selected folder's path. The root stands for the
// computer itself and has no file-system path: its path is its caption.
#pragma once

#include <string>

#include "framework/TreeView.h"

namespace translit::app {

class TFolderTree : public fw::TTreeView {
 public:
  explicit TFolderTree(fw::TComponent* owner);
  const char* ClassName() const override { return "TFolderTree"; }

  // The selected folder's path ("C:\" for a drive, "C:\Music" below it), the
  // root's caption for the root, or "" when nothing is selected.
  std::string CurrentPath() const;
  // The path of a node as CurrentPath gives it.
  std::string PathOf(const fw::TTreeNode* node) const;
  // Selects the node of an existing folder, opening the nodes on the way.
  bool SelectPath(const std::string& path);

  void Loaded() override;

 protected:
  bool CanExpand(fw::TTreeNode* node) override;

 private:
  void BuildRoot();
  void FillChildren(fw::TTreeNode* node);
};

}  // namespace translit::app
