#include "core/document/QuickMemo.h"

#include "core/text/ShiftJis.h"

#include <algorithm>

namespace notarium {

namespace {

constexpr char kEndOfFileMark = '\x1A';
constexpr std::string_view kCrLf = "\r\n";

bool isBlankOrControl(char byte)
{
    // Trail bytes of double-byte characters start at 0x40, so this never cuts a character.
    return static_cast<unsigned char>(byte) <= 0x20;
}

bool isLineBreak(char byte)
{
    return byte == '\r' || byte == '\n';
}

// The memo pane ends a line at CR LF, a lone CR and a lone LF alike.
bool atLineStart(std::string_view text, std::size_t pos)
{
    return pos == 0 || isLineBreak(text[pos - 1]);
}

ClipInsertion replaceSelection(
    std::string_view text, std::size_t selStart, std::size_t selLength, std::string_view clip)
{
    selStart = std::min(selStart, text.size());
    selLength = std::min(selLength, text.size() - selStart);
    ClipInsertion result;
    result.text.reserve(text.size() - selLength + clip.size() + 2 * kCrLf.size());
    result.text.append(text.substr(0, selStart));
    result.text.append(clip);
    result.text.append(text.substr(selStart + selLength));
    result.caret = selStart + clip.size();
    return result;
}

void insertLineBreak(ClipInsertion& insertion)
{
    insertion.text.insert(insertion.caret, kCrLf);
    insertion.caret += kCrLf.size();
}

} // namespace

std::string titleFromText(std::string_view text)
{
    std::string_view line = text.substr(0, std::min(text.size(), text.find_first_of("\r\n")));
    while (!line.empty() && isBlankOrControl(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && isBlankOrControl(line.back()))
        line.remove_suffix(1);
    return std::string(cutToBytes(line, kQuickMemoTitleBytes));
}

std::string clipText(std::string_view clipboardText)
{
    if (!clipboardText.empty() && clipboardText.back() == kEndOfFileMark)
        clipboardText.remove_suffix(1);
    std::string out;
    out.reserve(clipboardText.size() + clipboardText.size() / 32);
    for (std::size_t i = 0; i < clipboardText.size(); ++i) {
        const char c = clipboardText[i];
        if (!isLineBreak(c)) {
            out += c;
            continue;
        }
        out += kCrLf;
        if (c == '\r' && i + 1 < clipboardText.size() && clipboardText[i + 1] == '\n')
            ++i;
    }
    return out;
}

ClipInsertion insertInstantMemo(
    std::string_view text, std::size_t selStart, std::size_t selLength, std::string_view clip)
{
    ClipInsertion result = replaceSelection(text, selStart, selLength, clip);
    if (!atLineStart(result.text, result.caret))
        insertLineBreak(result);
    result.caret = 0;
    return result;
}

ClipInsertion insertCollectedClip(std::string_view text, std::size_t selStart, std::size_t selLength,
    std::string_view clip, CollectMode mode)
{
    std::string ended(clip);
    if (ended.empty() || ended.back() != '\n')
        ended += kCrLf;
    ClipInsertion result = replaceSelection(text, selStart, selLength, ended);
    if (mode == CollectMode::Multi) {
        result.caret = 0;
        return result;
    }
    // The caret stands at the start of the line after the clip; the clip's last line is the one
    // before it. Unless that line is empty, an empty line follows the clip.
    std::size_t lineEnd = result.caret - 1; // the clip's final LF
    if (lineEnd > 0 && result.text[lineEnd - 1] == '\r')
        --lineEnd;
    if (!atLineStart(result.text, lineEnd))
        insertLineBreak(result);
    return result;
}

bool isRepeatedClip(const LastClip& last, std::string_view text, std::int64_t nowMs)
{
    return last.known && last.text == text && nowMs >= last.atMs && nowMs - last.atMs < kRepeatedClipMs;
}

} // namespace notarium
