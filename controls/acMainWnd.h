// The root of the subclassing family: an object attached to one window
// handle that puts itself in front of the window's message handling,
// answers the skin message, prepares the window's frame picture from the
// skin and passes every message it does not consume on to the handler that
// was there before. Every attached window carries its object in the window
// property "ACSBSC".
//
// Objects are created with Create<T>() and held in a TacWndPtr<T>; letting
// go of the pointer detaches the object and frees it, later when one of its
// own messages is still running (a control may drop its object from inside
// a message the object passed on).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "controls/acWndThunk.h"
#include "framework/Colors.h"
#include "framework/Controls.h"
#include "framework/Messages.h"

namespace translit {

class TsSkinManager;
class TsCommonData;
class TacMainWnd;

// The window property that holds a window's subclassing object.
inline constexpr const char* kSubclassProp = "ACSBSC";

// Unit-level switches: the plain look of skinned standard dialogs (set by
// the dialog skinning), and every control keeping its own font colour.
extern bool acDialogLook;
extern bool acKeepFonts;

struct TacWndRelease {
  void operator()(TacMainWnd* wnd) const;
};
template <class T>
using TacWndPtr = std::unique_ptr<T, TacWndRelease>;

class TacMainWnd : public TacMessageTarget {
 public:
  TacMainWnd();
  ~TacMainWnd() override;
  TacMainWnd(const TacMainWnd&) = delete;
  TacMainWnd& operator=(const TacMainWnd&) = delete;
  virtual const char* ClassName() const { return "TacMainWnd"; }

  // Attaches a new object to handle. skinData may be none (the object then
  // makes and owns its own); manager none means the one of skinData.
  // applyNow has the frame recalculated at once.
  template <class T>
  static TacWndPtr<T> Create(HWND handle, bool applyNow, const std::string& section, TsSkinManager* manager = nullptr,
                             TsCommonData* skinData = nullptr) {
    TacWndPtr<T> object(new T());
    object->Attach(handle, applyNow, section, manager, skinData);
    return object;
  }
  // The object attached to a window, through its "ACSBSC" property.
  static TacMainWnd* FromHandle(HWND handle);

  // Releases the window, once: the previous handler back (where another
  // subclasser came after us, the thunk stays as a forwarder), the property
  // removed, the colours restored. With repaint the frame is recalculated.
  // Every step is taken even when one throws; the first exception is passed
  // on at the end.
  void Detach(bool repaint = true);
  // Detach for destructors and the owning pointer: nothing is thrown.
  void DetachQuietly(bool repaint) noexcept;
  // Hands m to the previous handler; 0 when there is none.
  LRESULT CallPrev(fw::TMessage& m);

  bool DialogLook = false;
  std::string WindowText;
  RECT WndRect{};  // screen coordinates
  SIZE WndSize{};
  POINT ParentOffset{};  // top-left corner in the parent's client area
  RECT ParentRect{};     // the parent's client rectangle
  HWND ParentHandle = nullptr;
  HWND CtrlHandle = nullptr;
  TsSkinManager* SkinManager = nullptr;
  TsCommonData* SkinData = nullptr;
  bool Busy = false;
  bool ColorsApplied = false;
  fw::TColor SavedColor = fw::clWindow;
  fw::TColor SavedFontColor = fw::clWindowText;
  bool Detached = false;
  bool OwnsSkinData = false;

  // The framework control whose message handler is chained, or none (the
  // window procedure is then replaced through a thunk).
  fw::TWinControl* Control() const { return FControl; }
  WNDPROC OldWndProc() const;
  WNDPROC NewWndProc() const;
  bool HasOldWndMethod() const { return static_cast<bool>(FLink); }
  bool VisualStylesOff() const { return FThemeOff; }

  virtual void SaveColors() {}
  virtual void RestoreColors() {}
  virtual void ApplyColors() { ColorsApplied = true; }
  virtual void WndProc(fw::TMessage& m);

  // The manager used: the object's own, else the skin data's.
  TsSkinManager* Manager() const;
  // Skin data and a manager with a skin in it.
  bool SkinActive() const;
  // The skin data's section resolves in the skin.
  bool Skinned() const;
  // LParam of a skin message names this object's manager.
  bool ForMyManager(LPARAM lParam) const;
  bool Visible() const { return CtrlHandle && ::IsWindowVisible(CtrlHandle); }
  // Refreshes WndRect, WndSize, ParentHandle, ParentOffset, ParentRect.
  void UpdateGeometry();
  // The skin data's cache sized to the window and painted with its section
  // over the parent's background (SKINCMD_PREPARE_CACHE).
  virtual void PrepareCache();

 protected:
  friend struct TacWndRelease;
  void TargetMessage(fw::TMessage& m) override;
  virtual void Attach(HWND handle, bool applyNow, const std::string& section, TsSkinManager* manager,
                      TsCommonData* skinData);
  // Whether visual styles are switched off for the window.
  virtual bool WantsThemeOff(const std::string& section) const;
  virtual const char* DefaultSection() const { return ""; }
  // Attaching step for the scroll family, and its part of detaching.
  virtual void AttachScrolls() {}
  virtual void DetachScrolls(bool /*repaint*/) {}
  // The skin commands of the root; true when answered and not passed on.
  bool HandleSkinCommand(fw::TMessage& m);
  void ReadWindowText();
  // The hot control of the default manager follows the mouse.
  void TrackHotControl();
  // WM_DESTROY and WM_NCDESTROY: hide the glow, pass on, detach.
  void HandleDestroy(fw::TMessage& m);
  // Paints the frame cache in dialog look (window colour, one-colour frame)
  // or from the section; clears BGChanged.
  void PaintFrameCache(bool dialogLook);

 private:
  std::unique_ptr<fw::TComponent> FSkinDataOwner;  // owner of own skin data
  std::unique_ptr<TsCommonData> FOwnSkinData;
  TacProcThunk* FThunk = nullptr;
  std::shared_ptr<TacMethodLink> FLink;
  fw::TWinControl* FControl = nullptr;
  bool FThemeOff = false;
  bool FDetaching = false;
  int FDepth = 0;
  bool FFreePending = false;
};

}  // namespace translit
