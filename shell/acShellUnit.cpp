// The process-wide objects of the shell browser, made in order and freed in
// the reverse order: COM stays initialised until every interface is gone.
#include "shell/acShellUnit.h"

#include <shellapi.h>

#include <memory>

#include "framework/Application.h"
#include "shell/acAlphaImageList.h"
#include "shell/acShellFolder.h"

namespace translit {

namespace {

class OleSession {
 public:
  OleSession() : FStarted(SUCCEEDED(OleInitialize(nullptr))) {}
  ~OleSession() {
    if (FStarted) OleUninitialize();
  }
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;

 private:
  bool FStarted;
};

class CriticalSection {
 public:
  CriticalSection() { InitializeCriticalSection(&FSection); }
  ~CriticalSection() { DeleteCriticalSection(&FSection); }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;
  CRITICAL_SECTION& Get() { return FSection; }

 private:
  CRITICAL_SECTION FSection;
};

std::unique_ptr<TsAlphaImageList> CreateSharedSystemImages() {
  SHFILEINFOA info{};
  auto handle =
      reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (!handle) return nullptr;
  auto images = std::make_unique<TsAlphaImageList>();
  images->SetShareImages(true);
  images->SetHandle(handle);
  images->SetBkColor(CLR_NONE);
  return images;
}

struct ShellUnit {
  OleSession ole;
  CriticalSection changeLock;
  std::unique_ptr<TacShellFolder> desktop = TacShellFolder::CreateDesktop();
  std::unique_ptr<TsAlphaImageList> systemImages = CreateSharedSystemImages();
  ComPtr<IContextMenu2> contextMenu;
};

ShellUnit& Unit() {
  static ShellUnit unit;
  return unit;
}

}  // namespace

void StartShellUnit() { Unit(); }

TacShellFolder* DesktopFolder() { return Unit().desktop.get(); }

TsAlphaImageList* SharedSystemImages() { return Unit().systemImages.get(); }

CRITICAL_SECTION& ShellChangeLock() { return Unit().changeLock.Get(); }

IContextMenu2* CurrentContextMenu() { return Unit().contextMenu.Get(); }

void SetCurrentContextMenu(ComPtr<IContextMenu2> menu) { Unit().contextMenu = std::move(menu); }

HWND ShellOwnerWindow() { return fw::EnsureApplication().Handle(); }

}  // namespace translit
