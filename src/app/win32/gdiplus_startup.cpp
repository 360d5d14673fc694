#include "app/win32/gdiplus_startup.h"

#include <objidl.h>
// GDI+ headers use min and max unqualified, which NOMINMAX hides.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

namespace z4 {

ULONG_PTR StartGdiplus() {
  Gdiplus::GdiplusStartupInput input;  // version 1, no callback, nothing suppressed
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  return token;
}

}  // namespace z4
