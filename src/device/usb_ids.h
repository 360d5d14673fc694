// The keyboard's USB ids as they appear in device paths and device-change broadcasts.
#pragma once

#include <cstddef>

namespace z4 {

// True when name (len UTF-16 units, not necessarily terminated) contains "VID_04D9&PID_A059",
// compared without regard to ASCII case.
bool ContainsKeyboardId(const char16_t* name, std::size_t len);

}  // namespace z4
