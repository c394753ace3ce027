#pragma once

#include <optional>
#include <string_view>

namespace notarium {

// The encoding of a text file handed to another program (export, print and editor work files).
// The document itself is always CP932; UTF-8 is what Linux programs expect by default.
enum class TextEncoding { Cp932, Utf8 };

// "CP932" or "UTF-8" in any case (also "Shift_JIS", "SJIS" and "UTF8", as users type them);
// nothing for any other name.
std::optional<TextEncoding> parseTextEncoding(std::string_view name);
// The name the settings file stores: "CP932" or "UTF-8".
std::string_view textEncodingName(TextEncoding encoding);

} // namespace notarium
