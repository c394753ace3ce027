#pragma once

#include "core/textio/TextEncoding.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace notarium {

// The rules of the external editor cycle that need no window: the work file's name and bytes, the
// editor's line option and what the edited file gives back to the memo pane.

// The work file's name: the document's file name without its extension, "_", the selected node's
// absolute index and ".nmp" ("plan.nmd", node 12: "plan_12.nmp"). documentPath is a path or a bare
// file name (UTF-8); an untitled document (empty path) gives "Untitled_12.nmp". A leading dot
// marks a hidden file, not an extension.
std::string editorWorkFileName(std::string_view documentPath, int absoluteIndex);

// The caret's hard line: 1 plus the CR LF pairs that begin before caretByte (wrapped display
// lines do not count).
int hardLineAt(std::string_view text, std::size_t caretByte);

// The editor's option text with every "%LN%" replaced by line.
std::string expandLineOption(std::string_view option, int line);

// The memo pane's text (CP932) as the work file holds it: the same bytes, or UTF-8 where each byte
// CP932 does not define becomes U+FFFD, so that editors take the file as valid UTF-8. No line end
// is added.
std::string editorWorkFileBytes(std::string_view memoText, TextEncoding encoding);

// The edited work file's content as the memo pane would hold it: CP932 with CR LF between lines
// (an editor that saved LF or CR line ends changed nothing by that). A UTF-8 byte order mark is
// dropped. A UTF-8 file that is not valid UTF-8 was saved in CP932 by the editor and is read so;
// a CP932 file with a byte order mark was saved in UTF-8. *replaced (when given) is set when a
// character CP932 cannot hold became 〓.
std::string memoTextFromWorkFile(std::string_view fileBytes, TextEncoding encoding, bool* replaced = nullptr);

// The main window's caption while the editor has the text: " - Notarium" at its end becomes
// " - [Ext] Notarium", and back. Captions without that ending are returned as they are.
std::string externalEditingCaption(std::string_view caption);
std::string normalCaption(std::string_view caption);

} // namespace notarium
