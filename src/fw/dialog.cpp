#include "fw/dialog.h"

#include "fw/application.h"
#include "fw/owner_button.h"

namespace fw {

namespace {

struct MainWindowSearch {
  Application* app;
  HWND found;
};

BOOL CALLBACK FindMainWindow(HWND h, LPARAM p) {
  auto* search = reinterpret_cast<MainWindowSearch*>(p);
  if (!search->app->IsMainWindow(Window::FromHandle(h))) return TRUE;
  search->found = h;
  return FALSE;
}

}  // namespace

HWND MainWindowHandle() {
  Application* app = Application::Current();
  if (!app) return nullptr;
  // The main window is a top-level window of this (the user-interface) thread.
  MainWindowSearch search{app, nullptr};
  ::EnumThreadWindows(::GetCurrentThreadId(), &FindMainWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

Dialog::~Dialog() { Destroy(); }

bool Dialog::CreateWithOwner(HWND owner) {
  ended_ = false;
  result_ = IDCANCEL;
  HWND h = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), owner,
                                &Dialog::StaticDlgProc, reinterpret_cast<LPARAM>(this));
  return h != nullptr;
}

bool Dialog::Create(HWND parent) {
  modal_ = false;
  return CreateWithOwner(parent ? parent : MainWindowHandle());
}

INT_PTR Dialog::DoModal(HWND parent) {
  HWND owner = parent;
  if (!owner) {
    if (HWND main = MainWindowHandle()) owner = ::GetLastActivePopup(main);
  }
  modal_ = true;
  if (!CreateWithOwner(owner)) return -1;
  const bool disabledOwner = owner && ::IsWindowEnabled(owner);
  if (disabledOwner) ::EnableWindow(owner, FALSE);
  ::ShowWindow(hwnd(), SW_SHOW);

  MSG msg;
  while (!ended_ && hwnd()) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got == -1) break;
    if (PreTranslateMessage(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  // The owner is enabled before the dialog goes, so that activation returns to it.
  if (disabledOwner) ::EnableWindow(owner, TRUE);
  if (hwnd()) ::ShowWindow(hwnd(), SW_HIDE);
  Destroy();
  modal_ = false;
  return result_;
}

void Dialog::EndDialog(INT_PTR result) {
  result_ = result;
  if (!hwnd()) return;
  if (modal_) {
    ended_ = true;
    // Wakes the modal loop so that it sees the end at once.
    ::PostMessageW(hwnd(), WM_NULL, 0, 0);
  } else {
    ::ShowWindow(hwnd(), SW_HIDE);
  }
}

bool Dialog::OnCommand(WPARAM wParam, LPARAM) {
  switch (LOWORD(wParam)) {
    case IDOK:
      OnOK();
      return true;
    case IDCANCEL:
      OnCancel();
      return true;
    default:
      return false;
  }
}

bool Dialog::PreTranslateMessage(MSG& msg) { return hwnd() && ::IsDialogMessageW(hwnd(), &msg); }

bool Dialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_INITDIALOG:
      result = OnInitDialog();
      return true;
    case WM_COMMAND:
      result = 0;
      return OnCommand(wParam, lParam);
    case WM_DRAWITEM:
      result = TRUE;
      return OwnerButton::ReflectDrawItem(lParam);
    default:
      return false;
  }
}

INT_PTR CALLBACK Dialog::StaticDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Everything but the first WM_INITDIALOG reaches the object through the subclassed window
  // procedure; returning FALSE here leaves it to the dialog manager's default processing.
  if (msg != WM_INITDIALOG || Window::FromHandle(hwnd)) return FALSE;
  auto* self = reinterpret_cast<Dialog*>(lParam);
  self->Subclass(hwnd);
  return self->WindowProc(WM_INITDIALOG, wParam, lParam);
}

}  // namespace fw
