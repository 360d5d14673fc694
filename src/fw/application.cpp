#include "fw/application.h"

namespace fw {

Application* Application::current_ = nullptr;

Application::Application() { current_ = this; }
Application::~Application() { current_ = nullptr; }

void Application::OnMainWindowDestroyed() {
  mainWindow_ = nullptr;
  ::PostQuitMessage(0);
}

int Application::Run() {
  if (InitInstance()) {
    MSG msg;
    BOOL got;
    while ((got = ::GetMessageW(&msg, nullptr, 0, 0)) != 0) {
      if (got == -1) break;
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (got == 0) quitCode_ = static_cast<int>(msg.wParam);
  }
  return ExitInstance();
}

}  // namespace fw
