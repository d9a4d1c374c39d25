// Program entry: the application object, the main dialog, the message loop.
#include <windows.h>

#include "app/Unit1.h"
#include "framework/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  fw::TApplication& app = fw::EnsureApplication();
  try {
    translit::app::RegisterAppClasses();
    app.Initialize();
    app.CreateForm<translit::app::TForm1>();
    app.Run();
  } catch (...) {
    fw::HandleCurrentException();
  }
  delete fw::Application;
  return 0;
}
