// The progress window "Z4_Progressbar": a topmost modeless skinned window with a title, a
// message and the progress bar, stepped by the apply sequence.
#pragma once

#include <memory>
#include <string>

#include "fw/dialog.h"
#include "ui/gdiplus_api.h"
#include "ui/png_progress_bar.h"

namespace z4 {

// The language strings the window shows.
struct ProgressTexts {
  std::wstring tip;  // str_update_tip: the title text
  std::wstring msg;  // str_update_msg: the message
};

class CProgressDlg : public fw::Dialog {
 public:
  explicit CProgressDlg(ProgressTexts texts);

  // Creates the window (hidden) from its template; the main window becomes its owner. Needs
  // GDI+ started. False when the window could not be created.
  bool Create() { return fw::Dialog::Create(nullptr); }
  void Show() { ::ShowWindow(hwnd(), SW_SHOW); }
  // Moves the bar to nPercent (0..100; anything else shows the empty bar) and repaints it now.
  void SetProgress(int nPercent) { m_progressBar.SetPos(nPercent); }
  // Destroying the object closes the window; Close only destroys the window.
  void Close() { Destroy(); }

  const CPngHProgressBar& Bar() const { return m_progressBar; }

  // The size the skins are drawn for; used when "Progress_Normal.png" cannot be decoded.
  static constexpr SIZE kLayoutSize{372, 132};
  static constexpr RECT kBarRect{37, 85, 298, 96};

 protected:
  BOOL OnInitDialog() override;
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  // Background (skin or plain) and both texts; titleTop is the title box's top.
  void DrawLayers(HDC dc, float titleTop) const;

  ProgressTexts texts_;
  std::unique_ptr<Gdiplus::Bitmap> m_pNormalImage;
  std::unique_ptr<Gdiplus::Bitmap> m_pOverImage;
  CPngHProgressBar m_progressBar;
};

}  // namespace z4
