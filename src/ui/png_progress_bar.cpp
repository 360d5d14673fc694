#include "ui/png_progress_bar.h"

#include "ui/memory_dc.h"
#include "ui/skin.h"

namespace z4 {
namespace {

constexpr wchar_t kClassName[] = L"Z4PngHProgressBar";
// The plain look of a bar whose images are missing.
constexpr COLORREF kPlainBack = RGB(0xD9, 0xDD, 0xE3);
constexpr COLORREF kPlainFill = RGB(0x3A, 0x7B, 0xD5);

bool RegisterBarClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return ::RegisterClassExW(&wc) != 0;
  }();
  return registered;
}

std::unique_ptr<Gdiplus::Bitmap> CopyArea(Gdiplus::Bitmap* source, int x, int y, int width,
                                          int height) {
  if (!source || source->GetLastStatus() != Gdiplus::Ok) return nullptr;
  std::unique_ptr<Gdiplus::Bitmap> copy(
      source->Clone(x, y, width, height, source->GetPixelFormat()));
  if (copy && copy->GetLastStatus() != Gdiplus::Ok) copy.reset();
  return copy;
}

void FillSolid(Gdiplus::Graphics& graphics, int width, int height, COLORREF color) {
  if (width <= 0) return;
  Gdiplus::SolidBrush brush(
      Gdiplus::Color(255, GetRValue(color), GetGValue(color), GetBValue(color)));
  graphics.FillRectangle(&brush, 0, 0, width, height);
}

}  // namespace

bool CPngHProgressBar::Create(const RECT& rect, HWND parent) {
  m_rcBar = rect;
  m_nMin = 0;
  m_nMax = 10;
  m_nPos = 0;
  if (!RegisterBarClass()) return false;
  HWND h = ::CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect.left,
                             rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kControlId)),
                             ::GetModuleHandleW(nullptr), nullptr);
  if (!h) return false;
  Subclass(h);
  return true;
}

void CPngHProgressBar::SetImages(Gdiplus::Bitmap* fillSource, int x, int y, int width, int height,
                                 Gdiplus::Bitmap* backSource) {
  m_pBackImage = CopyArea(backSource, x, y, width, height);
  m_pFillImage = CopyArea(fillSource, x, y, width, height);
}

void CPngHProgressBar::SetRange(int min, int max) {
  m_nMin = min;
  m_nMax = max;
}

void CPngHProgressBar::SetPos(int pos) {
  if (pos < m_nMin || pos > m_nMax) pos = m_nMin;
  m_nPos = pos;
  if (!hwnd()) return;
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  ::UpdateWindow(hwnd());
}

int CPngHProgressBar::FillWidth() const {
  if (m_nMax <= m_nMin) return 0;
  const long long width = m_rcBar.right - m_rcBar.left;
  return static_cast<int>((static_cast<long long>(m_nPos) - m_nMin) * width /
                          (static_cast<long long>(m_nMax) - m_nMin));
}

bool CPngHProgressBar::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (msg) {
    case WM_PAINT:
      OnPaint();
      return true;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      // Consumed: the bar takes no input.
      return true;
    case WM_KILLFOCUS:
      result = DefaultProc(msg, wParam, lParam);
      ::InvalidateRect(hwnd(), nullptr, TRUE);
      return true;
    default:
      return false;
  }
}

void CPngHProgressBar::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(hwnd(), &ps);
  const int w = m_rcBar.right - m_rcBar.left;
  const int h = m_rcBar.bottom - m_rcBar.top;
  const int fill = FillWidth();
  SkinBitmap canvas(::CreateCompatibleBitmap(dc, w, h));
  {
    MemoryDC off(dc, canvas.get());
    {
      Gdiplus::Graphics graphics(off.get());
      // Never drawn from absent images: a missing image is replaced by a plain colour.
      if (m_pBackImage)
        graphics.DrawImage(m_pBackImage.get(), 0, 0, w, h);
      else
        FillSolid(graphics, w, h, kPlainBack);
      if (m_pFillImage && fill > 0)
        graphics.DrawImage(m_pFillImage.get(), Gdiplus::Rect(0, 0, fill, h), 0, 0, fill, h,
                           Gdiplus::UnitPixel);
      else if (!m_pFillImage)
        FillSolid(graphics, fill, h, kPlainFill);
    }
    ::BitBlt(dc, 0, 0, w, h, off.get(), 0, 0, SRCCOPY);
  }
  ::EndPaint(hwnd(), &ps);
}

}  // namespace z4
