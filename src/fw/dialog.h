// Dialogs of our framework, created from dialog templates in the resource script: modeless
// (Create) or modal (DoModal, with our own modal loop so that PreTranslateMessage sees every
// message). Messages reach the object from WM_INITDIALOG onwards, in the Window order:
//   WindowProc -> OnMessage -> DefaultProc (the dialog manager's default processing).
#pragma once

#include "fw/window.h"

namespace fw {

class Dialog : public Window {
 public:
  explicit Dialog(UINT templateId) : templateId_(templateId) {}
  // Destroys the window while the dialog's default processing is still reachable.
  ~Dialog() override;

  // Modeless: creates the (hidden, unless the template says visible) dialog. With no parent the
  // application's main window becomes its owner. False when the dialog could not be created.
  bool Create(HWND parent = nullptr);

  // Modal: runs the dialog until EndDialog and returns its result, -1 if it could not be
  // created. With no parent the owner is the main window's most recently active pop-up. The
  // owner is disabled meanwhile. A WM_QUIT ends the loop (result IDCANCEL) and is posted again.
  INT_PTR DoModal(HWND parent = nullptr);

  // Ends a modal dialog with result; hides a modeless one.
  void EndDialog(INT_PTR result);

 protected:
  // The framework's dialog initialisation; its result decides whether the system sets the
  // default focus.
  virtual BOOL OnInitDialog() { return TRUE; }
  // WM_COMMAND; true when handled. The default ends the dialog for IDOK and IDCANCEL.
  virtual bool OnCommand(WPARAM wParam, LPARAM lParam);
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  // Called by the modal loop for each message before it is dispatched; true consumes it. The
  // default gives the dialog its keyboard interface (IsDialogMessage).
  virtual bool PreTranslateMessage(MSG& msg);

  // Handles WM_INITDIALOG, WM_COMMAND and reflects WM_DRAWITEM to owner-drawn buttons;
  // overrides fall back to it.
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  static INT_PTR CALLBACK StaticDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  bool CreateWithOwner(HWND owner);

  UINT templateId_;
  bool modal_ = false;
  bool ended_ = false;
  INT_PTR result_ = IDCANCEL;
};

// The application's main window, or null when there is none.
HWND MainWindowHandle();

}  // namespace fw
