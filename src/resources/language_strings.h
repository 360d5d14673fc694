// The process-wide language strings, read once from language.xml at start-up.
#pragma once

#include <cstddef>
#include <string>

#include "resources/language_keys.h"

namespace z4 {

class TextPlatform;

// One string per key, named after it; empty until loaded, and empty for a key the file lacks.
#define Z4_DECLARE_LANGUAGE_STRING(key) extern std::u16string key;
Z4_LANGUAGE_KEYS(Z4_DECLARE_LANGUAGE_STRING)
#undef Z4_DECLARE_LANGUAGE_STRING

constexpr std::size_t kLanguageStringCount = 91;

// Reads the language file at path and replaces every string with its text (or ""). A missing
// or unreadable file leaves all strings empty. Nothing is reported.
void LoadLanguage(TextPlatform& platform, const std::u16string& path);

}  // namespace z4
