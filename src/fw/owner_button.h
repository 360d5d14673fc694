// Owner-drawn push button base: a system "BUTTON" window with BS_OWNERDRAW, subclassed so that
// its messages reach the object; its parent reflects WM_DRAWITEM back to DrawItem.
#pragma once

#include "fw/window.h"

namespace fw {

class OwnerButton : public Window {
 public:
  // Creates the button as a child of parent with the given styles (BS_OWNERDRAW is added) and
  // control identifier, then subclasses it. False when creation failed.
  bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);

  // The parent's WM_DRAWITEM: hands a button's draw request to its object. True when handled.
  static bool ReflectDrawItem(LPARAM drawItem);

 protected:
  // Runs once the window exists, before it is subclassed.
  virtual void PreSubclassWindow() {}
  virtual void DrawItem(const DRAWITEMSTRUCT& item) = 0;
};

}  // namespace fw
