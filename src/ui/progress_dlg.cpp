#include "ui/progress_dlg.h"

#include <utility>

#include "ui/dlg_restore.h"
#include "ui/skin.h"
#include "ui/ui_ids.h"

namespace z4 {
namespace {

const Gdiplus::Color kTextColor(255, 0x58, 0x5F, 0x69);
// The plain look when the background skin is missing.
const Gdiplus::Color kPlainBack(255, 0xF4, 0xF5, 0xF7);
const Gdiplus::Color kPlainFrame(255, 0x58, 0x63, 0x69);

std::unique_ptr<Gdiplus::Bitmap> DecodeSkin(const wchar_t* fileName) {
  std::unique_ptr<Gdiplus::Bitmap> image(new Gdiplus::Bitmap(SkinPath(fileName).c_str()));
  if (image->GetLastStatus() != Gdiplus::Ok || image->GetWidth() == 0) image.reset();
  return image;
}

void DrawString(Gdiplus::Graphics& graphics, const std::wstring& text, const Gdiplus::RectF& box) {
  Gdiplus::FontFamily arial(L"Arial");
  const Gdiplus::FontFamily* family =
      arial.GetLastStatus() == Gdiplus::Ok ? &arial : Gdiplus::FontFamily::GenericSansSerif();
  Gdiplus::Font font(family, 8, Gdiplus::FontStyleRegular);
  Gdiplus::StringFormat format;
  format.SetAlignment(Gdiplus::StringAlignmentNear);
  Gdiplus::SolidBrush brush(kTextColor);
  graphics.DrawString(text.c_str(), static_cast<INT>(text.size()), &font, box, &format, &brush);
}

}  // namespace

CProgressDlg::CProgressDlg(ProgressTexts texts)
    : fw::Dialog(IDD_PROGRESS), texts_(std::move(texts)) {}

BOOL CProgressDlg::OnInitDialog() {
  fw::Dialog::OnInitDialog();
  ::SetWindowTextW(hwnd(), L"Z4_Progressbar");

  m_pNormalImage = DecodeSkin(L"Progress_Normal.png");
  m_pOverImage = DecodeSkin(L"Progress_Over.png");

  SIZE size = kLayoutSize;
  if (m_pNormalImage)
    size = SIZE{static_cast<LONG>(m_pNormalImage->GetWidth()),
                static_cast<LONG>(m_pNormalImage->GetHeight())};
  const auto cx = static_cast<unsigned>(::GetSystemMetrics(SM_CXFULLSCREEN));
  const auto cy = static_cast<unsigned>(::GetSystemMetrics(SM_CYFULLSCREEN));
  const auto x = static_cast<int>((cx - static_cast<unsigned>(size.cx)) / 2);
  const auto y = static_cast<int>((cy - static_cast<unsigned>(size.cy)) / 2);
  ::MoveWindow(hwnd(), x, y, size.cx, size.cy, TRUE);

  m_progressBar.Create(kBarRect, hwnd());
  m_progressBar.SetImages(m_pOverImage.get(), kBarRect.left, kBarRect.top,
                          kBarRect.right - kBarRect.left, kBarRect.bottom - kBarRect.top,
                          m_pNormalImage.get());
  m_progressBar.SetRange(0, 100);
  m_progressBar.SetPos(0);

  BringToForeground(hwnd());
  return TRUE;
}

bool CProgressDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(hwnd(), &ps);
      DrawLayers(dc, 4);
      ::EndPaint(hwnd(), &ps);
      result = 0;
      return true;
    }
    case WM_ERASEBKGND:
      DrawLayers(reinterpret_cast<HDC>(wParam), 5);
      result = TRUE;
      return true;
    default:
      return fw::Dialog::OnMessage(msg, wParam, lParam, result);
  }
}

void CProgressDlg::DrawLayers(HDC dc, float titleTop) const {
  Gdiplus::Graphics graphics(dc);
  if (m_pNormalImage) {
    graphics.DrawImage(m_pNormalImage.get(), 0.0f, 0.0f,
                       static_cast<Gdiplus::REAL>(m_pNormalImage->GetWidth()),
                       static_cast<Gdiplus::REAL>(m_pNormalImage->GetHeight()));
  } else {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    Gdiplus::SolidBrush back(kPlainBack);
    graphics.FillRectangle(&back, 0, 0, client.right, client.bottom);
    Gdiplus::Pen frame(kPlainFrame);
    graphics.DrawRectangle(&frame, 0, 0, client.right - 1, client.bottom - 1);
  }
  DrawString(graphics, texts_.tip, Gdiplus::RectF(9, titleTop, 150, 21));
  DrawString(graphics, texts_.msg, Gdiplus::RectF(37, 45, 322, 82));
}

}  // namespace z4
