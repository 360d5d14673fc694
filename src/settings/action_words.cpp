// The word tables of key assignment parameters.
#include "settings/action_words.h"

#include <algorithm>
#include <iterator>

#include "settings/key_names.h"

namespace z4 {
namespace {

constexpr ActionWord kSystemShortcuts[] = {
    {9, "switch-window", "Switch window (Alt+Tab)"},
    {10, "close-window", "Close window (Alt+F4)"},
    {11, "lock", "Lock computer (Win+L)"},
    {12, "run", "Run (Win+R)"},
    {13, "desktop", "Show desktop (Win+D)"},
};

constexpr ActionWord kEditShortcuts[] = {
    {0, "cut", "Cut (Ctrl+X)"},          {1, "copy", "Copy (Ctrl+C)"},
    {2, "paste", "Paste (Ctrl+V)"},      {3, "select-all", "Select all (Ctrl+A)"},
    {4, "find", "Find (Ctrl+F)"},        {5, "new", "New (Ctrl+N)"},
    {6, "print", "Print (Ctrl+P)"},      {7, "save", "Save (Ctrl+S)"},
    {8, "undo", "Undo (Ctrl+Z)"},
};

constexpr ActionWord kConsumerKeys[] = {
    {0, "media-player", "Media player"},   {1, "play-pause", "Play/Pause"},
    {2, "stop", "Stop"},                   {3, "previous", "Previous track"},
    {4, "next", "Next track"},             {5, "volume-down", "Volume down"},
    {6, "volume-up", "Volume up"},         {7, "mute", "Mute"},
    {8, "back", "Back"},                   {9, "forward", "Forward"},
    {10, "stop-loading", "Stop loading"},  {11, "refresh", "Refresh"},
    {12, "favorites", "Favorites"},        {13, "search", "Search"},
    {14, "mail", "E-mail"},                {15, "home", "Home page"},
    {16, "computer", "Computer"},          {17, "calculator", "Calculator"},
};

// The configuration program's mouse list; the other functions of 1..16 are written as numbers.
constexpr ActionWord kMouseFunctions[] = {
    {1, "left", "Left button"},     {2, "right", "Right button"},
    {4, "middle", "Middle button"}, {8, "back", "Back button"},
    {10, "double-click", "Double click"}, {16, "forward", "Forward button"},
};

template <std::size_t N>
ActionWords Words(const ActionWord (&table)[N]) {
  return {std::begin(table), std::end(table)};
}

}  // namespace

const ActionWord* ActionWords::Find(std::int32_t param) const {
  const ActionWord* w = std::find_if(begin, end, [param](const ActionWord& a) { return a.param == param; });
  return w == end ? nullptr : w;
}

const ActionWord* ActionWords::Find(std::string_view text) const {
  const ActionWord* w = std::find_if(begin, end, [text](const ActionWord& a) { return SameName(a.word, text); });
  return w == end ? nullptr : w;
}

ActionWords SystemShortcutWords() { return Words(kSystemShortcuts); }
ActionWords EditShortcutWords() { return Words(kEditShortcuts); }
ActionWords ConsumerKeyWords() { return Words(kConsumerKeys); }
ActionWords MouseWords() { return Words(kMouseFunctions); }

}  // namespace z4
