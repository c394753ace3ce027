#pragma once

#include <span>
#include <string_view>

namespace notarium {

// The date and time formats the options offer for each style, in the patterns of FormatDateTime.
// The first entry of a list is the one a change of style picks; the Japanese lists start with
// the formats the program uses when none is set.
std::span<const std::string_view> dateFormatChoices(bool english);
std::span<const std::string_view> timeFormatChoices(bool english);

} // namespace notarium
