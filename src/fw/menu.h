// Menu wrapper of our framework: owns a menu handle and measures and draws its owner-drawn
// entries. While a menu object holds a menu, its owner window's WM_MEASUREITEM and WM_DRAWITEM
// requests for that menu's entries are handed to it by RouteOwnerDraw.
#pragma once

#include "fw/handles.h"

namespace fw {

class Menu {
 public:
  Menu();
  Menu(const Menu&) = delete;
  Menu& operator=(const Menu&) = delete;
  // Destroys the menu it holds.
  virtual ~Menu();

  // Creates an empty popup menu and holds it (the previous one is destroyed).
  bool CreatePopupMenu();
  HMENU handle() const { return menu_.get(); }

  // Appends an entry; data is the entry's item data (owner-drawn entries get it in their
  // measure and draw requests).
  bool AppendMenu(UINT flags, UINT_PTR id, const void* data);
  // Tracks the popup at (x, y) for owner; the result as TrackPopupMenu gives it.
  BOOL TrackPopupMenu(UINT flags, int x, int y, HWND owner);

  // For the owner window's default processing: hands WM_MEASUREITEM and WM_DRAWITEM of
  // owner-drawn menu entries to the Menu object holding the entry's menu. True when one took
  // it (result TRUE); false for any other message or an entry of no Menu object.
  static bool RouteOwnerDraw(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

 protected:
  virtual void DrawItem(const DRAWITEMSTRUCT& item) = 0;
  virtual void MeasureItem(MEASUREITEMSTRUCT& item) = 0;

 private:
  bool HoldsEntry(UINT id, ULONG_PTR data) const;

  MenuHandle menu_;
};

}  // namespace fw
