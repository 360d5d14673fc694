// Application object of our framework: start-up and exit overrides around a message loop that
// ends when the main window is destroyed.
#pragma once

#include "fw/win32.h"

namespace fw {

class Window;

class Application {
 public:
  Application();
  virtual ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // InitInstance, then the message loop if it returned true, then ExitInstance, whose result
  // is the process exit code.
  int Run();

  static Application* Current() { return current_; }
  bool IsMainWindow(const Window* w) const { return w && w == mainWindow_; }
  // Called when the main window is destroyed: posts the quit message.
  void OnMainWindowDestroyed();

 protected:
  virtual bool InitInstance() = 0;
  // Returns the exit code; the default is the quit message's code.
  virtual int ExitInstance() { return quitCode_; }

  void SetMainWindow(Window* w) { mainWindow_ = w; }
  Window* MainWindow() const { return mainWindow_; }

 private:
  static Application* current_;
  Window* mainWindow_ = nullptr;
  int quitCode_ = 0;
};

}  // namespace fw
