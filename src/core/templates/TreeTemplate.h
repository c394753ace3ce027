#pragma once

#include "core/datafile/DataFile.h"
#include "core/datafile/Messages.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace notarium {

class Document;
class Node;

inline constexpr std::string_view kTemplateFileMagic = "Notarium Template File";
inline constexpr std::string_view kTemplateFileVersion = "Version 1.10";
// The template editor's tree holds one fixed root of this title with image 0; its pages are
// the root's descendants.
inline constexpr std::string_view kTemplateRootTitle = "Template";

enum class TemplateReadStatus {
    Ok, // also for an empty file, and a file that ends after its version line: nothing is added
    CannotOpen, // the file could not be read; errorText tells why
    NotTemplateFile, // the first line is not the magic
    BadVersion, // the second line is not the version
    Corrupt, // a number that does not convert, a missing "begin{{", a level with no parent
    NoBaseNode, // the caller gave no node (or the hidden root) to add the pages under
    TooLarge, // the file is longer than the format's 32-bit positions can address; it is not read
};

struct TemplateReadResult {
    TemplateReadStatus status = TemplateReadStatus::Ok;
    // What the window shows for a failed read; empty for Ok, CannotOpen (the platform's text is
    // reported as any other input failure) and NoBaseNode.
    Message message;
    std::string errorText;
    // The first page added directly under the base node, which the window selects; null when no
    // page was added.
    Node* firstPage = nullptr;
    // Pages added, also when the file turned out corrupt later on.
    std::size_t pagesAdded = 0;

    bool ok() const { return status == TemplateReadStatus::Ok; }
};

// Empties doc and gives it the template editor's root (kTemplateRootTitle, image 0).
void newTemplateDocument(Document& doc);

// Where the pages of a tree template go: in the template editor, under its root; in the tree
// pane, under the selected node (a top-level node included).
enum class TemplateTarget { TemplateEditor, TreePane };
Node* templateBaseNode(const Document& doc, TemplateTarget target, Node* selected);

// Adds the pages of a tree template file image as new nodes under base, a node of doc: level-1
// pages become base's last children, deeper pages go under the last page of the level above. Pages
// that have children are expanded, and base with its ancestors, so the first page can be seen.
// On a corrupt file the pages read before the bad one stay; the bad page itself is not added.
// The document's modified flag is the caller's.
TemplateReadResult parseTreeTemplate(std::string_view bytes, Document& doc, Node* base);
// Reads the file at path (see parseTreeTemplate), streamed through a buffer. A file longer than
// kLargestReadableFile is refused unread (TooLarge). A read that fails part way gives CannotOpen;
// the pages read before it stay, as for a corrupt file.
TemplateReadResult loadTemplateTree(const std::string& path, Document& doc, Node* base);

// The bytes of a tree template holding the descendants of root, levels counted from root.
// changedTitles receives the titles of pages the format could not hold as they are (see
// WriteResult::changedTitles).
std::string serializeTreeTemplate(const Node& root, std::vector<std::string>* changedTitles = nullptr);
// Writes the pages of the template editor's tree (the descendants of its root, the first
// top-level node of tree) through a temporary file that replaces the old one only when complete.
WriteResult writeTreeTemplate(const std::string& path, const Document& tree);

} // namespace notarium
