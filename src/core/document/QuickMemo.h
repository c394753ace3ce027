#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace notarium {

// The rules of instant memo and collection mode on CP932 text with CR LF line breaks: what a
// clip puts into a memo, where the caret goes, and the title a memo takes from its text.

// Titles taken from a text are at most this many bytes.
inline constexpr std::size_t kQuickMemoTitleBytes = 80;

// The first line of text, without leading and trailing blanks and control characters, cut to at
// most 80 bytes and never in the middle of a double-byte character.
std::string titleFromText(std::string_view text);

// The clipboard's text as it goes into a memo: a final end-of-file mark (1Ah) dropped, and every
// line break (CR LF, a lone CR, a lone LF) made CR LF.
std::string clipText(std::string_view clipboardText);

// A memo's text after a clip went in, and the caret (a byte position, no selection) after it.
struct ClipInsertion {
    std::string text;
    std::size_t caret = 0;
};

// Instant memo: the clip replaces the selection [selStart, selStart + selLength) and is followed
// by a line break unless it left the caret at the start of a line; the caret then goes to the
// start of the text.
ClipInsertion insertInstantMemo(
    std::string_view text, std::size_t selStart, std::size_t selLength, std::string_view clip);

enum class CollectMode { Single, Multi };

// Collection mode: the clip, ended by a line break if it has none, replaces the selection. In a
// single memo the clips are kept apart by an empty line, and the caret stays after the clip for
// the next one; a new memo of multi memo mode shows its start.
ClipInsertion insertCollectedClip(std::string_view text, std::size_t selStart, std::size_t selLength,
    std::string_view clip, CollectMode mode);

// The clip the clipboard monitor last accounted for (collected, or the program's own copy), and
// when, in milliseconds of a steady clock.
struct LastClip {
    std::string text;
    std::int64_t atMs = 0;
    bool known = false;
};

// Notifications that bring the last clip again within this time are one clip.
inline constexpr std::int64_t kRepeatedClipMs = 1000;

// A notification of text at nowMs is the last clip announced again (a clipboard manager taking
// over the text it has just seen, or the platform repeating itself), not a new clip.
bool isRepeatedClip(const LastClip& last, std::string_view text, std::int64_t nowMs);

} // namespace notarium
