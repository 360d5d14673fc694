// The words of settings text for the parameters of key assignments: system and editing
// shortcuts, consumer (media) keys and mouse functions, each with the text that describes it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace z4 {

struct ActionWord {
  std::int32_t param;
  const char* word;         // as written in settings text
  const char* description;  // as shown to the user
};

// The parameter values of one action type that have words.
struct ActionWords {
  const ActionWord* begin;
  const ActionWord* end;

  // The entry for param, or null.
  const ActionWord* Find(std::int32_t param) const;
  // The entry whose word is text (ASCII letters regardless of case), or null.
  const ActionWord* Find(std::string_view text) const;
};

ActionWords SystemShortcutWords();  // action type 2, parameters 9..13
ActionWords EditShortcutWords();    // action type 6, parameters 0..8
ActionWords ConsumerKeyWords();     // action types 5 and 7, parameters 0..17
ActionWords MouseWords();           // action type 3: the named functions among 1..16

constexpr std::int32_t kFirstMouseFunction = 1;
constexpr std::int32_t kLastMouseFunction = 16;

}  // namespace z4
