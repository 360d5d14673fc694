#include "fw/owner_button.h"

namespace fw {

bool OwnerButton::Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
  HWND h = ::CreateWindowExW(0, L"BUTTON", L"", style | BS_OWNERDRAW, rect.left, rect.top,
                             rect.right - rect.left, rect.bottom - rect.top, parent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                             ::GetModuleHandleW(nullptr), nullptr);
  if (!h) return false;
  Attach(h);
  PreSubclassWindow();
  Subclass(h);
  return true;
}

bool OwnerButton::ReflectDrawItem(LPARAM drawItem) {
  const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(drawItem);
  if (!item || item->CtlType != ODT_BUTTON) return false;
  auto* button = dynamic_cast<OwnerButton*>(Window::FromHandle(item->hwndItem));
  if (!button) return false;
  button->DrawItem(*item);
  return true;
}

}  // namespace fw
