#include "ui/gdi_bitmap_btn.h"

#include "ui/memory_dc.h"

namespace z4 {
namespace {

constexpr COLORREF kPlainFace = RGB(0xE4, 0xE6, 0xEA);
constexpr COLORREF kPlainFrame = RGB(0x58, 0x63, 0x69);

void RemoveStyle(HWND hwnd, LONG_PTR bits) {
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
  ::SetWindowLongPtrW(hwnd, GWL_STYLE, style & ~bits);
}

}  // namespace

HFONT CreateSkinFont(int weight) {
  return ::CreateFontW(14, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       FF_SWISS | DEFAULT_PITCH, L"Arial");
}

void CGDIBitmapBtn::PreSubclassWindow() { RemoveStyle(hwnd(), WS_TABSTOP); }

void CGDIBitmapBtn::SetImages(const SkinBitmap& normal, const SkinBitmap& hover,
                              const SkinBitmap& pressed, const SkinBitmap& disabled,
                              const RECT& rect) {
  HDC dc = ::GetDC(hwnd());
  CutBitmap(m_bmpNormal, dc, normal, rect);
  CutBitmap(m_bmpHover, dc, hover, rect);
  CutBitmap(m_bmpPressed, dc, pressed, rect);
  CutBitmap(m_bmpDisabled, dc, disabled, rect);
  ::ReleaseDC(hwnd(), dc);
  RemoveStyle(hwnd(), WS_BORDER | WS_TABSTOP);
}

void CGDIBitmapBtn::SetText(const std::wstring& text) {
  m_strText = text;
  Invalidate();
}

HWND CGDIBitmapBtn::OwnerOrParent() const {
  HWND owner = ::GetWindow(hwnd(), GW_OWNER);
  return owner ? owner : ::GetParent(hwnd());
}

void CGDIBitmapBtn::DrawPlain(HDC dc, const RECT& rc, bool captioned) const {
  HBRUSH face = ::CreateSolidBrush(kPlainFace);
  ::FillRect(dc, &rc, face);
  ::DeleteObject(face);
  HBRUSH frame = ::CreateSolidBrush(kPlainFrame);
  ::FrameRect(dc, &rc, frame);
  ::DeleteObject(frame);
  if (captioned) return;
  HPEN pen = ::CreatePen(PS_SOLID, 1, kPlainFrame);
  HGDIOBJ old = ::SelectObject(dc, pen);
  const int inset = 4;
  ::MoveToEx(dc, rc.left + inset, rc.top + inset, nullptr);
  ::LineTo(dc, rc.right - inset, rc.bottom - inset);
  ::MoveToEx(dc, rc.right - inset - 1, rc.top + inset, nullptr);
  ::LineTo(dc, rc.left + inset - 1, rc.bottom - inset);
  ::SelectObject(dc, old);
  ::DeleteObject(pen);
}

void CGDIBitmapBtn::DrawItem(const DRAWITEMSTRUCT& item) {
  const SkinBitmap* image = &m_bmpNormal;
  COLORREF color = m_crTextNormal;
  if (item.itemState & ODS_SELECTED) {
    image = &m_bmpPressed;
    color = m_crTextPressed;
  } else if (m_bHover) {
    image = &m_bmpHover;
    color = m_crTextHover;
  } else if (item.itemState & ODS_DISABLED) {
    image = &m_bmpDisabled;
  }
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  const int w = client.right;
  const int h = client.bottom;

  if (m_strText.empty() && *image) {
    MemoryDC source(item.hDC, image->get());
    ::BitBlt(item.hDC, 0, 0, w, h, source.get(), 0, 0, SRCCOPY);
    return;
  }

  // Off screen, so that the caption never flickers over the image.
  SkinBitmap canvas(::CreateCompatibleBitmap(item.hDC, w, h));
  MemoryDC off(item.hDC, canvas.get());
  if (*image) {
    MemoryDC source(item.hDC, image->get());
    ::BitBlt(off.get(), 0, 0, w, h, source.get(), 0, 0, SRCCOPY);
  } else {
    DrawPlain(off.get(), client, !m_strText.empty());
  }
  if (!m_strText.empty()) {
    ::SetBkMode(off.get(), TRANSPARENT);
    ::SetTextColor(off.get(), color);
    fw::GdiObject font(CreateSkinFont(FW_LIGHT));
    HGDIOBJ oldFont = ::SelectObject(off.get(), font.get());
    SIZE extent{};
    ::GetTextExtentPoint32W(off.get(), m_strText.c_str(), static_cast<int>(m_strText.size()),
                            &extent);
    RECT text{8, h / 2 - extent.cy / 2, w - 5, h};
    ::DrawTextW(off.get(), m_strText.c_str(), static_cast<int>(m_strText.size()), &text,
                DT_CENTER | DT_SINGLELINE | DT_WORDBREAK | DT_NOCLIP | DT_END_ELLIPSIS);
    ::SelectObject(off.get(), oldFont);
  }
  ::BitBlt(item.hDC, 0, 0, w, h, off.get(), 0, 0, SRCCOPY);
}

bool CGDIBitmapBtn::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (msg) {
    case WM_MOUSEMOVE:
      DefaultProc(msg, wParam, lParam);
      OnMouseMove(wParam, lParam);
      return true;
    case WM_LBUTTONDOWN: {
      HWND owner = OwnerOrParent();
      if (owner && ::GetActiveWindow() != owner) ::SetActiveWindow(owner);
      result = DefaultProc(msg, wParam, lParam);
      return true;
    }
    case WM_LBUTTONUP:
      // Not given to the standard button: the click is ours, wherever the pointer is.
      OnLButtonUp();
      return true;
    case WM_CAPTURECHANGED:
      if (m_bHover) {
        ::ReleaseCapture();
        Invalidate();
      }
      result = DefaultProc(msg, wParam, lParam);
      return true;
    case WM_KILLFOCUS:
      result = DefaultProc(msg, wParam, lParam);
      m_bHover = 0;
      Invalidate();
      return true;
    case WM_ERASEBKGND:
      // DrawItem covers the whole button.
      return true;
    default:
      return false;
  }
}

void CGDIBitmapBtn::OnMouseMove(WPARAM keys, LPARAM pos) {
  const bool leftHeld = (keys & MK_LBUTTON) != 0;
  if (leftHeld && !m_bHover) return;
  if (::GetCapture() != hwnd() && ::GetActiveWindow() && OwnerOrParent()) {
    m_bHover = 1;
    ::SetCapture(hwnd());
    Invalidate();
    return;
  }
  POINT pt{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
  ::ClientToScreen(hwnd(), &pt);
  HWND under = ::WindowFromPoint(pt);
  if (under && under != hwnd()) {
    if (m_bHover) {
      m_bHover = 0;
      Invalidate();
    }
    if (!leftHeld) ::ReleaseCapture();
  }
  Invalidate();
}

void CGDIBitmapBtn::OnLButtonUp() {
  Invalidate();
  const UINT id = static_cast<UINT>(::GetDlgCtrlID(hwnd()));
  ::SendMessageW(::GetParent(hwnd()), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(hwnd()));
}

}  // namespace z4
