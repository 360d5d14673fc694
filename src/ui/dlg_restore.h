// The combination warning dialog "CCombWarnDlg": a modal skinned dialog with a title, a message
// and three buttons (OK, Cancel, close) that all just close it.
#pragma once

#include <string>

#include "fw/dialog.h"
#include "ui/gdi_bitmap_btn.h"
#include "ui/skin.h"

namespace z4 {

// The language strings the dialog shows.
struct DlgRestoreTexts {
  std::wstring tip;     // str_tip: the title text
  std::wstring msg;     // str_msg1: the message
  std::wstring ok;      // str_OK
  std::wstring cancel;  // str_Cancel
};

class CDlgRestore : public fw::Dialog {
 public:
  // parent may be null (see fw::Dialog::DoModal for the owner then). Run it with DoModal();
  // the result is IDOK (OK) or IDCANCEL (Cancel, close, or WM_CLOSE).
  CDlgRestore(HWND parent, DlgRestoreTexts texts);

  INT_PTR DoModal() { return fw::Dialog::DoModal(parent_); }

  // The size the skin set is drawn for; used when "Restore_Normal.bmp" cannot be loaded.
  static constexpr SIZE kLayoutSize{364, 212};

 protected:
  bool OnCommand(WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(MSG& msg) override;
  BOOL OnInitDialog() override;
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void OnPaint();
  void CreateButton(CGDIBitmapBtn& button, const RECT& rect);

  HWND parent_;
  DlgRestoreTexts texts_;
  SkinBitmap m_bmpSkinNormal;
  SkinBitmap m_bmpSkinOver;
  SkinBitmap m_bmpSkinDown;
  CGDIBitmapBtn m_btnOK;
  CGDIBitmapBtn m_btnCancel;
  CGDIBitmapBtn m_btnClose;
};

// Puts window into the foreground even when another thread owns the foreground window.
void BringToForeground(HWND window);

}  // namespace z4
