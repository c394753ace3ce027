#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace notarium {

// Character structure of a CP932 byte string. A lead byte (0x81-0x9F, 0xE0-0xFC) starts a
// two-byte character together with whatever byte follows it: positions, cuts and selections only
// need to know where characters start, not whether the pair is a defined character.

bool isLeadByte(unsigned char byte);

enum class ByteClass : unsigned char { Single, Lead, Trail };

// The class of every byte, walking from the start; a lead byte that is the very last byte is Lead.
std::vector<ByteClass> byteClasses(std::string_view text);

// At most maxBytes bytes of text, one less when the last byte taken would be a lead byte (so an
// excerpt never ends in half a character; a lone lead byte at the very end is dropped as well).
std::string_view cutToBytes(std::string_view text, std::size_t maxBytes);

// Start of the character that holds byte pos; pos itself when it is text.size() or more.
std::size_t charStart(std::string_view text, std::size_t pos);

} // namespace notarium
