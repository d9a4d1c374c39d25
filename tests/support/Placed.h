// Controls for GUI tests: a new control placed on its parent in one call,
// and a control that takes the focus without being a button.
#pragma once

#include <utility>

#include "framework/Controls.h"

namespace testing_gui {

// A new T owned by parent and placed on it at (left, top), width x height;
// more arguments go to T's constructor after the owner.
template <typename T, typename... Args>
T* Placed(fw::TWinControl* parent, int left, int top, int width, int height, Args&&... args) {
  auto* control = new T(parent, std::forward<Args>(args)...);
  control->SetParent(parent);
  control->SetBounds(left, top, width, height);
  return control;
}

// A control that takes the focus and is no button.
class TFocusable : public fw::TCustomControl {
 public:
  using fw::TCustomControl::TCustomControl;
  const char* ClassName() const override { return "TFocusable"; }
};

}  // namespace testing_gui
