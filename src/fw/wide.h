// UTF-16 text between the portable core (char16_t) and the Windows API (wchar_t): both are
// 16-bit units on Windows, so the conversion is a view, not a copy.
#pragma once

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 units");

namespace fw {

inline const wchar_t* Wide(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }
inline const wchar_t* Wide(const std::u16string& s) { return Wide(s.c_str()); }
inline std::wstring ToWide(std::u16string_view s) { return std::wstring(Wide(s.data()), s.size()); }

inline std::u16string FromWide(const wchar_t* s, std::size_t len) {
  return std::u16string(reinterpret_cast<const char16_t*>(s), len);
}
inline std::u16string FromWide(std::wstring_view s) { return FromWide(s.data(), s.size()); }

}  // namespace fw
