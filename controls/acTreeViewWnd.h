// The subclassing object of tree views: the edit chain with the tree's
// background filled in the section's colour (the tree's own background
// colour set to it) and the bars brought up to date after the tree changed
// its scroll range or position by itself.
#pragma once

#include "controls/acEditWnd.h"

namespace translit {

class TacTreeViewWnd : public TacEditWnd {
 public:
  ~TacTreeViewWnd() override;
  const char* ClassName() const override { return "TacTreeViewWnd"; }
  void WndProc(fw::TMessage& m) override;
  void ApplyColors() override;
  void RestoreColors() override;
};

}  // namespace translit
