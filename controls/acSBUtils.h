// The subclassing family as one unit: the root object, the skinned scroll
// bars, the edit and tree view chain, and the helpers with which a control's
// own code keeps its subclassing object in step with whether it is skinned.
#pragma once

#include <windows.h>

#include <string>

#include "controls/acEditWnd.h"
#include "controls/acMainWnd.h"
#include "controls/acScrollBars.h"
#include "controls/acScrollWnd.h"
#include "controls/acTreeViewWnd.h"
#include "controls/skindata/sCommonData.h"

namespace translit {

// When skinned: an object that let go of its window (it was destroyed, or
// the skin went) is freed, and a new one is attached when there is none,
// with the frame recalculated at once. When not skinned: the object is
// freed, which gives the window its own procedure back.
template <class T>
void RefreshScrollObject(TacWndPtr<T>& object, bool skinned, HWND handle, TsCommonData* skinData,
                         const std::string& section = {}) {
  if (skinned && handle) {
    if (object && object->Detached) object.reset();
    if (!object)
      object = TacMainWnd::Create<T>(handle, true, section.empty() && skinData ? skinData->SkinSection() : section,
                                     nullptr, skinData);
  } else {
    object.reset();
  }
}

// The same for the scroll bars of forms and frames: the platform's flat
// scroll bars are switched off before the skinned ones come and back on
// after they went.
void RefreshFormScrolls(TacWndPtr<TacScrollWnd>& object, bool skinned, HWND handle, TsCommonData* skinData);

}  // namespace translit
