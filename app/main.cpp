// Program entry: the application object, the main dialog, the message loop.
#include <windows.h>

#include "app/Unit1.h"
#include "framework/Application.h"
#include "render/bitmaps/acPNG.h"
#include "render/effects/acEffects.h"
#include "skin/sSkinManager.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  fw::TApplication& app = fw::EnsureApplication();
  // PNG pictures are known from the start to the end of the program.
  translit::RegisterPngGraphic();
  try {
    translit::app::RegisterAppClasses();
    app.Initialize();
    translit::InstallEffects();
    app.CreateForm<translit::app::TForm1>();
    app.Run();
  } catch (...) {
    fw::HandleCurrentException();
  }
  delete fw::Application;
  translit::UnregisterPngGraphic();
  // The skin engine's shutdown: its shadows and icons outlive every manager.
  translit::ShutdownSkinEngine();
  // After the forms: the skin manager closes its glows as it goes.
  translit::ShutdownEffects();
  return 0;
}
