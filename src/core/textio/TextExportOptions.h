#pragma once

#include "core/textio/TextEncoding.h"

#include <array>
#include <cstddef>
#include <string>

namespace notarium {

class Settings;

// Which nodes a text export covers: the whole file (everything but the document node), the
// selected node's subtree, or the selected node alone.
enum class ExportScope { WholeFile, SelectedTree, SelectedMemo };

// What stands before each title in the export and its table of contents.
enum class TitleMarking {
    None,
    OutlineNumbers, // "1. ", "1.2 ", "1.2.3 " with the separator between the numbers
    LevelMarks, // the mark of the node's level; levels beyond the last mark use the last one
    KindMarks, // the mark of the node's kind (category, memo, result)
};

inline constexpr std::size_t kLevelMarkCount = 9;

// The choices of one export run. Marks and the separator are CP932 bytes, as titles are; the
// writer converts them with the titles when the file is UTF-8.
struct TextExportOptions {
    bool makeContents = false; // a table of contents before the body
    bool emptyLine = false; // an empty line between a title and a non-empty body
    bool ignorePaperFolder = false; // stop at the paper folder node
    bool newPage = false; // form feeds between top-level groups

    TitleMarking marking = TitleMarking::None;
    std::string separator = ".";
    std::array<std::string, kLevelMarkCount> levelMarks;
    std::string categoryMark;
    std::string memoMark;
    std::string resultMark;

    TextEncoding encoding = TextEncoding::Utf8;

    // Everything the export reads from the settings file, with the export's own defaults for
    // missing keys (no marks at all): the switches as the options window first shows them, the
    // marking style with its marks, and the exchange encoding. The settings file is UTF-8, so the
    // marks are converted to CP932 here (a character CP932 lacks becomes 〓).
    static TextExportOptions fromSettings(const Settings& settings);

    // The switches the options window offers for a scope: a subtree has no paper folder to skip
    // and no groups to separate, and a single node has no contents either. A switch the window
    // disables counts as off, whatever it shows.
    TextExportOptions effectiveFor(ExportScope scope) const;
};

} // namespace notarium
