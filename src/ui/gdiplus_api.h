// GDI+ for the skinned windows, included through this one header.
#pragma once

#include <objidl.h>

#include "fw/win32.h"
// GDI+ headers use min and max unqualified, which NOMINMAX hides.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>
