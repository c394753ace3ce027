#pragma once

#include "core/textio/TextExportOptions.h"

#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace notarium {

class Document;
class Node;

// Absolute indexes [first, last] of the nodes an export writes; empty when last < first.
struct ExportIndexRange {
    int first = 0;
    int last = -1;

    bool empty() const { return last < first; }
    friend bool operator==(const ExportIndexRange&, const ExportIndexRange&) = default;
};

// The nodes a scope covers. The whole file leaves out the document node only. A subtree is the
// selected node and every node under it; when the selected node is a top-level node with children
// the top-level node itself is left out. A memo is the selected node alone. The selected scopes
// give an empty range for a null node or one of another document.
ExportIndexRange exportIndexRange(const Document& document, ExportScope scope, const Node* selected);

// Whether the options window lets the export run: a subtree needs a node with children, a memo a
// user node (the top-level nodes have no body); the whole file always can.
bool exportScopeAvailable(ExportScope scope, const Node* selected);

// Progress of an export: the absolute index of the node just written, out of maximum.
using ExportProgress = std::function<void(int position, int maximum)>;
// Receives the text of an export in pieces; false stops the export.
using ExportSink = std::function<bool(std::string_view bytes)>;

// Writes the titles and bodies of a range of the document as one plain text: an optional table
// of contents, then each node's decorated title and its body, lines ended by CR LF, in CP932 or
// UTF-8. The document must not change while the writer runs.
class TextExportWriter {
public:
    // The options are taken as effectiveFor(scope) makes them.
    TextExportWriter(const Document& document, const TextExportOptions& options, ExportScope scope,
        const Node* selected = nullptr);

    const ExportIndexRange& range() const { return m_range; }
    const TextExportOptions& options() const { return m_options; }
    // The end of the progress scale: the range's last index, less the paper folder's part of the
    // tree when it is skipped, and never below 1.
    int progressMaximum() const;
    // Called after each node of the body and once with the maximum at the end.
    void setProgress(ExportProgress progress) { m_progress = std::move(progress); }

    // The whole text in memory.
    std::string toString() const;
    // The text in pieces of about chunkBytes; false when the sink refused a piece.
    bool write(const ExportSink& sink, std::size_t chunkBytes = kDefaultChunkBytes) const;
    // Replaces the file at path through AtomicFileWriter, holding one chunk in memory at a time; on
    // failure the old file is untouched and error (when given) tells why.
    bool writeFile(const std::string& path, std::string* error = nullptr) const;

    static constexpr std::size_t kDefaultChunkBytes = 1 << 20;

private:
    class Output;

    bool writeContents(Output& out) const;
    void writeBody(Output& out) const;
    void writeAll(Output& out) const;
    // chain: the node's ancestors from its top-level node down, the node itself last.
    void appendDecoration(std::string& line, std::span<const Node* const> chain) const;
    bool isPaperFolder(const Node* node) const;
    // An upper estimate of the text's size in most documents, for reserving memory.
    std::size_t estimatedSize() const;

    const Document& m_document;
    TextExportOptions m_options;
    ExportIndexRange m_range;
    ExportProgress m_progress;
};

} // namespace notarium
