#include "fw/window.h"

#include "fw/application.h"

namespace fw {
namespace {
constexpr wchar_t kPropName[] = L"fw.Window";
}

Window::~Window() { Destroy(); }

const wchar_t* Window::ClassName() {
  // One class for every framework window; its name is generated from the module so that two
  // programs built from this framework never share it by accident.
  static wchar_t name[40];
  static ATOM atom = [] {
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    wsprintfW(name, L"fw:%p", static_cast<void*>(module));
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = 0;
    wc.lpfnWndProc = &Window::StaticProc;
    wc.hInstance = module;
    wc.lpszClassName = name;
    return ::RegisterClassExW(&wc);
  }();
  return atom ? name : nullptr;
}

bool Window::Create(DWORD exStyle, const wchar_t* title, DWORD style, int x, int y, int width,
                    int height, HWND parent) {
  const wchar_t* cls = ClassName();
  if (!cls) return false;
  HWND h = ::CreateWindowExW(exStyle, cls, title, style, x, y, width, height, parent, nullptr,
                             ::GetModuleHandleW(nullptr), this);
  return h != nullptr;
}

void Window::Destroy() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

void Window::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  ::SetPropW(hwnd, kPropName, this);
}

void Window::Subclass(HWND hwnd) {
  Attach(hwnd);
  superProc_ = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::StaticProc)));
}

Window* Window::FromHandle(HWND hwnd) {
  return static_cast<Window*>(::GetPropW(hwnd, kPropName));
}

LRESULT CALLBACK Window::StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* self = FromHandle(hwnd);
  if (!self && msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->Attach(hwnd);
  }
  if (!self) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  LRESULT result = self->WindowProc(msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    ::RemovePropW(hwnd, kPropName);
    self->hwnd_ = nullptr;
    self->superProc_ = nullptr;
    self->OnFinalDestroy();
    // The framework ends the message loop when the main window goes.
    Application* app = Application::Current();
    if (app && app->IsMainWindow(self)) app->OnMainWindowDestroyed();
  }
  return result;
}

LRESULT Window::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (OnMessage(msg, wParam, lParam, result)) return result;
  return DefaultProc(msg, wParam, lParam);
}

bool Window::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT Window::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (superProc_) return ::CallWindowProcW(superProc_, hwnd_, msg, wParam, lParam);
  return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

}  // namespace fw
