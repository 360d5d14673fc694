// Entry point of the agent: runs the one application object.
#include "app/win32/setting_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  z4::CZ2_SettingApp app;
  return app.Run();
}
