// GDI+ start-up for the skinned windows, behind one call so that only one file sees GDI+.
#pragma once

#include "fw/win32.h"

namespace z4 {

// Starts GDI+ (version 1, background thread, external codecs); returns the token, 0 on failure.
ULONG_PTR StartGdiplus();

}  // namespace z4
