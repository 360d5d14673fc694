#include "device/usb_ids.h"

namespace z4 {
namespace {

constexpr char kKeyboardId[] = "VID_04D9&PID_A059";
constexpr std::size_t kKeyboardIdLen = sizeof kKeyboardId - 1;

char16_t FoldCase(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }

}  // namespace

bool ContainsKeyboardId(const char16_t* name, std::size_t len) {
  if (!name || len < kKeyboardIdLen) return false;
  for (std::size_t start = 0; start + kKeyboardIdLen <= len; ++start) {
    std::size_t k = 0;
    while (k < kKeyboardIdLen && FoldCase(name[start + k]) == char16_t(kKeyboardId[k])) ++k;
    if (k == kKeyboardIdLen) return true;
  }
  return false;
}

}  // namespace z4
