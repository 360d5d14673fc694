// The decision of automatic profile switching: which profile, if any, the foreground program
// selects.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "settings/profiles.h"

namespace z4 {

// Compares program with the bound programs in table order, without regard to ASCII case. The
// first equal record decides: its profile when that is not the selected one, none otherwise.
// Records not filled have an empty name, which never equals a program name.
std::optional<std::int32_t> FindSwitchTarget(std::u16string_view program,
                                             const AutoSwitchTable& table, std::int32_t selected);

}  // namespace z4
