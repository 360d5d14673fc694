// Window base of our small framework: one C++ object per window, virtual message handling and
// default processing, in the order the agent's windows rely on:
//   WindowProc (override point) -> OnMessage (the message map) -> DefaultProc (default processing).
#pragma once

#include "fw/win32.h"

namespace fw {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  // Destroys the window if it still exists.
  virtual ~Window();

  // Creates the window with a class registered at run time (class style 0, no cursor, no
  // background, no icon). The object receives WM_NCCREATE onwards. False when creation failed.
  bool Create(DWORD exStyle, const wchar_t* title, DWORD style, int x, int y, int width,
              int height, HWND parent);
  void Destroy();

  HWND hwnd() const { return hwnd_; }

  // Object behind a window created by this framework, or null.
  static Window* FromHandle(HWND hwnd);

 protected:
  // Override point ahead of dispatch; the default dispatches to OnMessage, then DefaultProc.
  virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // The message map: return true when handled, with the result in result.
  virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Default processing for messages the map does not handle.
  virtual LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // Last message the window receives; the object is detached afterwards.
  virtual void OnFinalDestroy() {}

  // Subclasses that create their window through other means (dialogs) attach here.
  void Attach(HWND hwnd);
  // Attaches a window created with another window class (dialogs, system controls) and routes
  // its messages through this object; DefaultProc then calls the class's own procedure.
  void Subclass(HWND hwnd);

 private:
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static const wchar_t* ClassName();

  HWND hwnd_ = nullptr;
  WNDPROC superProc_ = nullptr;  // the class's procedure of a subclassed window
};

}  // namespace fw
