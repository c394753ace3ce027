#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace notarium {

// Comma text: a list of byte strings in one line, as the default title sets are stored.
//
// Written: the items joined by ","; an item holding a blank or control byte (<= 0x20), a comma
// or a double quote is enclosed in double quotes with each quote inside doubled. An empty list
// gives an empty text, a list of a single empty item gives "".
//
// Read: unquoted items end at a comma or at any byte up to 0x20, so blanks outside quotes also
// separate items ("New idea,Memo" holds three items); blanks around items are skipped; ",," and a
// final "," give empty items; an unterminated quote takes the rest of the text; a NUL byte ends
// the text. Bytes are compared one by one: a trail byte is never a comma, blank or quote, and
// reading a lead byte on its own keeps every list that toCommaText wrote readable.
//
// fromCommaText(toCommaText(items)) == items for every list whose items hold no NUL byte.
std::string toCommaText(const std::vector<std::string>& items);
std::vector<std::string> fromCommaText(std::string_view text);

} // namespace notarium
