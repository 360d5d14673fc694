// The tray icon's owner-drawn menu: every entry shows an icon in a coloured column and its text;
// the highlighted entry is framed, filled, with its second icon and dark blue text.
#pragma once

#include <string>

#include "fw/menu.h"

namespace z4 {

// Item data of one owner-drawn entry; the tray code owns it while the menu is shown.
struct TrayMenuItem {
  int nIconNormal;
  int nIconSelected;
  std::wstring strText;
};

class CKorvuMenu : public fw::Menu {
 public:
  static constexpr int kItemWidth = 75;
  static constexpr int kItemHeight = 22;

  COLORREF m_crIconColumn = RGB(0xDB, 0xD8, 0xD1);
  COLORREF m_crSelection = RGB(0xB1, 0xB9, 0xCF);

 protected:
  void DrawItem(const DRAWITEMSTRUCT& item) override;
  void MeasureItem(MEASUREITEMSTRUCT& item) override;
};

}  // namespace z4
