#include "fw/menu.h"

#include <algorithm>
#include <vector>

namespace fw {
namespace {

// Menu objects alive on the user-interface thread; there is one or none at a time in practice.
std::vector<Menu*>& LiveMenus() {
  static std::vector<Menu*> menus;
  return menus;
}

}  // namespace

Menu::Menu() { LiveMenus().push_back(this); }

Menu::~Menu() {
  auto& menus = LiveMenus();
  menus.erase(std::remove(menus.begin(), menus.end(), this), menus.end());
}

bool Menu::CreatePopupMenu() {
  menu_.reset(::CreatePopupMenu());
  return static_cast<bool>(menu_);
}

bool Menu::AppendMenu(UINT flags, UINT_PTR id, const void* data) {
  return ::AppendMenuW(menu_.get(), flags, id, static_cast<const wchar_t*>(data)) != FALSE;
}

BOOL Menu::TrackPopupMenu(UINT flags, int x, int y, HWND owner) {
  return ::TrackPopupMenu(menu_.get(), flags, x, y, 0, owner, nullptr);
}

bool Menu::HoldsEntry(UINT id, ULONG_PTR data) const {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA | MIIM_FTYPE;
  if (!menu_ || !::GetMenuItemInfoW(menu_.get(), id, FALSE, &info)) return false;
  return (info.fType & MFT_OWNERDRAW) && info.dwItemData == data;
}

bool Menu::RouteOwnerDraw(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
  if (!lParam) return false;
  if (msg == WM_DRAWITEM) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item.CtlType != ODT_MENU) return false;
    // For menu entries the request names the menu in place of a window.
    const HMENU menu = reinterpret_cast<HMENU>(item.hwndItem);
    for (Menu* m : LiveMenus()) {
      if (m->handle() != menu) continue;
      m->DrawItem(item);
      result = TRUE;
      return true;
    }
  } else if (msg == WM_MEASUREITEM) {
    auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (item.CtlType != ODT_MENU) return false;
    // The measure request names no menu: the entry is found by its command and item data.
    for (Menu* m : LiveMenus()) {
      if (!m->HoldsEntry(item.itemID, item.itemData)) continue;
      m->MeasureItem(item);
      result = TRUE;
      return true;
    }
  }
  return false;
}

}  // namespace fw
