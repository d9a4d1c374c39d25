// Program entry: the application object, the main dialog, the message loop.
#include <windows.h>

#include "app/Unit1.h"
#include "framework/Application.h"
#include "render/bitmaps/acPNG.h"
#include "render/effects/acEffects.h"
#include "skin/sShadowTemplates.h"

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
  // The skin engine's shutdown: the default shadows outlive every manager.
  translit::FreeDefaultShadows();
  // After the forms: the skin manager closes its glows as it goes.
  translit::ShutdownEffects();
  return 0;
}
