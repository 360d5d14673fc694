#include "ui/korvu_menu.h"

#include "ui/gdi_bitmap_btn.h"

namespace z4 {
namespace {

constexpr int kIconColumn = 25;
constexpr int kTextIndent = 33;
constexpr int kIconSize = 16;
constexpr COLORREF kBack = RGB(0xF9, 0xF8, 0xF7);
constexpr COLORREF kTextSelected = RGB(0x00, 0x3C, 0x91);
constexpr COLORREF kText = RGB(0x00, 0x00, 0x00);

void Fill(HDC dc, RECT rc, COLORREF color) {
  fw::GdiObject brush(::CreateSolidBrush(color));
  ::FillRect(dc, &rc, static_cast<HBRUSH>(brush.get()));
}

void DrawResourceIcon(HDC dc, int id, int x, int y) {
  // A resource icon from LoadIcon is shared and never destroyed.
  HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
  if (icon) ::DrawIconEx(dc, x, y, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
}

}  // namespace

void CKorvuMenu::MeasureItem(MEASUREITEMSTRUCT& item) {
  item.itemWidth = kItemWidth;
  item.itemHeight = kItemHeight;
}

void CKorvuMenu::DrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  ::SetBkMode(dc, TRANSPARENT);
  const auto* data = reinterpret_cast<const TrayMenuItem*>(item.itemData);
  if (!data) return;
  const RECT& r = item.rcItem;
  if (item.itemState & ODS_SELECTED) {
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
    ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
    Fill(dc, RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, m_crSelection);
    DrawResourceIcon(dc, data->nIconSelected, r.left + 2, r.top + 2);
    ::SetTextColor(dc, kTextSelected);
  } else {
    Fill(dc, RECT{r.left, r.top, r.left + kIconColumn, r.bottom}, m_crIconColumn);
    Fill(dc, RECT{r.left + kIconColumn, r.top, r.right, r.bottom}, kBack);
    DrawResourceIcon(dc, data->nIconNormal, r.left + 3, r.top + 3);
    ::SetTextColor(dc, kText);
  }
  fw::GdiObject font(CreateSkinFont(FW_MEDIUM));
  HGDIOBJ oldFont = ::SelectObject(dc, font.get());
  RECT text{r.left + kTextIndent, r.top, r.right, r.bottom};
  ::DrawTextW(dc, data->strText.c_str(), static_cast<int>(data->strText.size()), &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_WORDBREAK | DT_NOCLIP | DT_END_ELLIPSIS);
  ::SelectObject(dc, oldFont);
}

}  // namespace z4
