#pragma once

#include <string>
#include <string_view>

namespace notarium::cp932 {

// The character CP932 cannot hold is replaced by: 〓 (U+3013), CP932 0x81 0xAC.
inline constexpr char16_t kReplacementChar = u'\u3013';
inline constexpr std::string_view kReplacementBytes = "\x81\xAC";

// Decoding never loses a byte: a byte that CP932 does not define (0x80, 0xA0, 0xFD-0xFF, a lead
// byte followed by a byte that is no valid trail, a lone lead byte at the end, a pair that has no
// character) decodes to the lone surrogate U+DC00 + byte, and that surrogate encodes back to the
// byte. So encode(decode(bytes)) == bytes, except that the NEC/IBM duplicate codes come back as
// their canonical code. (Right after a raw lead byte another code of the same character is kept
// when the canonical one would pair up with that byte: decode(encode(decode(bytes))) always gives
// the same text again.)
std::u16string toUtf16(std::string_view bytes);
// toUtf16(bytes).size(), without building the text.
std::size_t utf16Length(std::string_view bytes);
// UTF-8 output; a lone surrogate U+DCxx is written as its three-byte form (ED B3 xx / ED B2 xx),
// which fromUtf8 reads back, so the round trip holds through UTF-8 too.
std::string toUtf8(std::string_view bytes);
// As toUtf8, but each lone surrogate becomes U+FFFD: for showing text on a terminal.
std::string toDisplayUtf8(std::string_view bytes);
// toDisplayUtf8, appended to target (which keeps what it held): for writers that build their
// output piece by piece.
void appendDisplayUtf8(std::string& target, std::string_view bytes);

// Encoding: a character CP932 cannot hold becomes 〓; *replaced (when given) is set to true when
// that happened and left alone otherwise. Invalid UTF-16 (a lone high surrogate, a lone low
// surrogate outside U+DC80-U+DCFF) and invalid UTF-8 bytes count as characters CP932 cannot hold.
std::string fromUtf16(std::u16string_view text, bool* replaced = nullptr);
std::string fromUtf8(std::string_view text, bool* replaced = nullptr);

// The byte-order mark some programs put at the start of a UTF-8 file.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// True when bytes is well-formed UTF-8 (no surrogates, no overlong forms).
bool isValidUtf8(std::string_view bytes);

} // namespace notarium::cp932
