#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace notarium {

// The editor holds UTF-16 text, the document CP932 bytes. These helpers convert at that edge and
// count a text's length in CP932 bytes without encoding it (the status bar and the stored view
// state count bytes; encoding a whole memo for each caret move would be too slow).
class Cp932Chars {
public:
    // CP932 bytes of one UTF-16 unit: 1 or 2; 0 for a unit CP932 cannot hold. A lone surrogate
    // U+DC80-U+DCFF stands for one raw byte and counts 1; the paragraph separator that the editor
    // keeps between lines counts 2 (CR LF).
    static int byteLength(char16_t unit);
    // Bytes of text (a line, or raw editor text with paragraph separators); a unit CP932 cannot
    // hold counts 2 (it would be stored as 〓).
    static qsizetype byteLength(QStringView text);

    static QString decode(std::string_view bytes);
    static std::string encode(QStringView text);

    // Text typed, pasted or dropped: every character CP932 cannot hold (a surrogate pair counts as
    // one character) becomes 〓; line breaks stay. *replaced is set when that happened.
    static QString filterInput(const QString& text, bool* replaced);
};

} // namespace notarium
