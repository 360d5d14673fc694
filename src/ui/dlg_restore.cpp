#include "ui/dlg_restore.h"

#include <utility>

#include "ui/memory_dc.h"
#include "ui/ui_ids.h"

namespace z4 {
namespace {

constexpr RECT kCloseRect{337, 6, 353, 22};
constexpr RECT kOkRect{194, 174, 271, 201};
constexpr RECT kCancelRect{274, 174, 351, 201};
constexpr RECT kMsgRect{117, 100, 344, 130};
constexpr RECT kTipRect{126, 0, 234, 22};

constexpr COLORREF kTextColor = RGB(0x58, 0x63, 0x69);
constexpr COLORREF kCaptionNormal = RGB(0x58, 0x5F, 0x69);
constexpr COLORREF kCaptionHover = RGB(0x8F, 0x94, 0xA7);
constexpr COLORREF kCaptionPressed = RGB(0x26, 0x1D, 0x05);
// The plain look when the background skin is missing.
constexpr COLORREF kPlainBack = RGB(0xF4, 0xF5, 0xF7);
constexpr COLORREF kPlainFrame = RGB(0x58, 0x63, 0x69);

void DrawTextIn(HDC dc, const std::wstring& text, RECT rect, UINT format) {
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

}  // namespace

void BringToForeground(HWND window) {
  const DWORD self = ::GetCurrentThreadId();
  const DWORD other = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
  const bool attach = other && other != self && ::AttachThreadInput(other, self, TRUE);
  ::SetForegroundWindow(window);
  if (attach) ::AttachThreadInput(other, self, FALSE);
}

CDlgRestore::CDlgRestore(HWND parent, DlgRestoreTexts texts)
    : fw::Dialog(IDD_COMB_WARN), parent_(parent), texts_(std::move(texts)) {}

BOOL CDlgRestore::OnInitDialog() {
  fw::Dialog::OnInitDialog();
  ::SetWindowTextW(hwnd(), L"CCombWarnDlg");

  LoadSkinBitmap(SkinPath(L"Restore_Normal.bmp"), m_bmpSkinNormal);
  LoadSkinBitmap(SkinPath(L"Restore_Down.bmp"), m_bmpSkinDown);
  LoadSkinBitmap(SkinPath(L"Restore_Over.bmp"), m_bmpSkinOver);

  SIZE size = BitmapSize(m_bmpSkinNormal.get());
  if (size.cx <= 0 || size.cy <= 0) size = kLayoutSize;
  const int cx = ::GetSystemMetrics(SM_CXFULLSCREEN);
  const int cy = ::GetSystemMetrics(SM_CYFULLSCREEN);
  ::MoveWindow(hwnd(), (cx - size.cx) / 2, (cy - size.cy) / 2, size.cx, size.cy, TRUE);

  CreateButton(m_btnClose, kCloseRect);
  CreateButton(m_btnOK, kOkRect);
  m_btnOK.SetText(texts_.ok);
  CreateButton(m_btnCancel, kCancelRect);
  m_btnCancel.SetText(texts_.cancel);
  for (CGDIBitmapBtn* button : {&m_btnOK, &m_btnCancel}) {
    button->m_crTextNormal = kCaptionNormal;
    button->m_crTextHover = kCaptionHover;
    button->m_crTextPressed = kCaptionPressed;
  }

  BringToForeground(hwnd());
  return TRUE;
}

void CDlgRestore::CreateButton(CGDIBitmapBtn& button, const RECT& rect) {
  button.Create(WS_CHILD | WS_VISIBLE, rect, hwnd(), 0);
  button.SetImages(m_bmpSkinNormal, m_bmpSkinOver, m_bmpSkinDown, m_bmpSkinNormal, rect);
}

bool CDlgRestore::OnCommand(WPARAM wParam, LPARAM lParam) {
  const HWND from = reinterpret_cast<HWND>(lParam);
  if (from && from == m_btnOK.hwnd())
    OnOK();
  else if (from && (from == m_btnCancel.hwnd() || from == m_btnClose.hwnd()))
    OnCancel();
  return fw::Dialog::OnCommand(wParam, lParam);
}

bool CDlgRestore::PreTranslateMessage(MSG& msg) {
  if ((msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) &&
      (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE || msg.wParam == VK_SPACE))
    return true;
  return fw::Dialog::PreTranslateMessage(msg);
}

bool CDlgRestore::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_HELP:
      result = TRUE;
      return true;
    case WM_PAINT:
      OnPaint();
      result = 0;
      return true;
    case WM_LBUTTONDOWN:
      // Dragging from the background moves the dialog: the press becomes a caption press.
      ::PostMessageW(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, lParam);
      result = DefaultProc(msg, wParam, lParam);
      return true;
    default:
      return fw::Dialog::OnMessage(msg, wParam, lParam, result);
  }
}

void CDlgRestore::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(hwnd(), &ps);
  if (m_bmpSkinNormal) {
    const SIZE size = BitmapSize(m_bmpSkinNormal.get());
    MemoryDC skin(dc, m_bmpSkinNormal.get());
    ::BitBlt(dc, 0, 0, size.cx, size.cy, skin.get(), 0, 0, SRCCOPY);
  } else {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    fw::GdiObject back(::CreateSolidBrush(kPlainBack));
    ::FillRect(dc, &client, static_cast<HBRUSH>(back.get()));
    fw::GdiObject frame(::CreateSolidBrush(kPlainFrame));
    ::FrameRect(dc, &client, static_cast<HBRUSH>(frame.get()));
  }
  fw::GdiObject font(CreateSkinFont(FW_LIGHT));
  HGDIOBJ oldFont = ::SelectObject(dc, font.get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, kTextColor);
  DrawTextIn(dc, texts_.msg, kMsgRect, DT_WORDBREAK | DT_NOCLIP | DT_EDITCONTROL | DT_END_ELLIPSIS);
  DrawTextIn(dc, texts_.tip, kTipRect,
             DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_WORDBREAK | DT_NOCLIP | DT_END_ELLIPSIS);
  ::SelectObject(dc, oldFont);
  ::EndPaint(hwnd(), &ps);
}

}  // namespace z4
