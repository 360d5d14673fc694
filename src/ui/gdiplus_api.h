// GDI+ for the skinned windows, included through this one header.
#pragma once

// The project's Windows header first, so that GDI+ sees its settings.
#include "fw/win32.h"
// clang-format off
#include <objidl.h>
// GDI+ headers use min and max unqualified, which NOMINMAX hides.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>
// clang-format on
