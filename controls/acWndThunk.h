// The two ways a subclassing object puts itself in front of a window's
// message handling, and how it takes itself out again without ever leaving a
// dangling procedure behind.
//
// A window without framework control gets a procedure thunk: a few bytes of
// machine code in executable memory that call the object with the window's
// message. A framework control gets a link in its WindowProc chain. Both
// keep the procedure they replaced.
//
// Letting go: when the thunk (or link) is still at the head of the chain it
// puts the previous procedure back and is freed. When another subclasser
// has replaced the procedure after ours, its saved procedure is our thunk;
// the thunk cannot be taken out without breaking that chain. It then stays
// as a plain forwarder to the previous procedure for as long as the chain
// can call it: until the window's last message (WM_NCDESTROY) has passed
// through it, or until it finds itself at the head of the chain again (the
// other subclasser left), when it puts the previous procedure back then. A
// link is shared by the std::function that holds it and lives exactly as
// long as any copy of that function does.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "framework/Messages.h"

namespace translit {

// The object behind a thunk or link: it gets every message while attached.
class TacMessageTarget {
 public:
  virtual ~TacMessageTarget() = default;
  virtual void TargetMessage(fw::TMessage& m) = 0;
};

class TacProcThunk;

// Creates a thunk for window that calls target and, once released, forwards
// to previous. The thunk is not installed; Proc() is the procedure to install.
TacProcThunk* NewProcThunk(HWND window, TacMessageTarget* target, WNDPROC previous);
WNDPROC ThunkProc(const TacProcThunk* thunk);
WNDPROC ThunkPrevious(const TacProcThunk* thunk);
// The target lets go: the thunk takes itself out of the chain when it is at
// its head (and is freed once no call runs through it), else it forwards
// from now on. The pointer must not be used afterwards.
void ReleaseProcThunk(TacProcThunk* thunk);
// Thunks alive in the process: attached ones and forwarders still in a chain.
int LiveProcThunks();

// The link of a framework control's WindowProc chain.
struct TacMethodLink {
  TacMessageTarget* Target = nullptr;          // none once released
  std::function<void(fw::TMessage&)> Previous;  // the handler it replaced
};

// The callable put into a control's WindowProc; it is recognised by type.
struct TacMethodHook {
  std::shared_ptr<TacMethodLink> Link;
  void operator()(fw::TMessage& m) const;
};

// Puts a link in front of windowProc.
std::shared_ptr<TacMethodLink> InstallMethodLink(std::function<void(fw::TMessage&)>& windowProc,
                                                 TacMessageTarget* target);
// The target lets go: windowProc gets the previous handler back when the
// link is still at its head; otherwise the link forwards from now on.
void ReleaseMethodLink(std::function<void(fw::TMessage&)>& windowProc, const std::shared_ptr<TacMethodLink>& link);

}  // namespace translit
