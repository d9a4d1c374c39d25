// The gallery's entry: the application object, the skin engine's effects and
// menu skinning, the gallery's form, the message loop.
#include <windows.h>

#include "forms/sSkinableMenus.h"
#include "framework/Application.h"
#include "gallery/GalleryForm.h"
#include "render/bitmaps/acPNG.h"
#include "render/effects/acEffects.h"
#include "skin/sSkinManager.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  fw::TApplication& app = fw::EnsureApplication();
  translit::RegisterPngGraphic();
  try {
    app.Initialize();
    translit::InstallEffects();
    // Before the form's skin manager is made: the manager takes its menu
    // skinning from here.
    translit::InstallMenuSkinning();
    app.CreateForm<translit::gallery::TGalleryForm>();
    app.Run();
  } catch (...) {
    fw::HandleCurrentException();
  }
  delete fw::Application;
  translit::UninstallMenuSkinning();
  translit::UnregisterPngGraphic();
  translit::ShutdownSkinEngine();
  translit::ShutdownEffects();
  return 0;
}
