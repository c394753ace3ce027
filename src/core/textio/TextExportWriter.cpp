#include "core/textio/TextExportWriter.h"

#include "core/document/Document.h"
#include "core/io/FileIo.h"
#include "core/text/Cp932Codec.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace notarium {

namespace {

// The fixed texts of the export, in CP932.
constexpr std::string_view kContentsHeading = "\x96\xDA\x8E\x9F"; // 目次
constexpr std::string_view kContentsRule = "====";
constexpr std::string_view kPaperFolderRule = "========";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kFormFeed = "\x0C";

// The nodes from the top-level node down to the node being written. The range is walked in
// pre-order, so each node's parent is somewhere on the chain of the node before it: keeping the
// chain gives the level and the outline number without walking up the tree for every node.
class AncestorChain {
public:
    explicit AncestorChain(const Node* first)
    {
        for (const Node* p = first != nullptr ? first->parent() : nullptr; p != nullptr && !p->isRoot();
             p = p->parent())
            m_nodes.push_back(p);
        std::reverse(m_nodes.begin(), m_nodes.end());
    }

    // Makes node the end of the chain and returns its level.
    int enter(const Node* node)
    {
        while (!m_nodes.empty() && m_nodes.back() != node->parent())
            m_nodes.pop_back();
        m_nodes.push_back(node);
        return static_cast<int>(m_nodes.size()) - 1;
    }

    std::span<const Node* const> nodes() const { return m_nodes; }

private:
    std::vector<const Node*> m_nodes;
};

// Nodes lie scattered over the heap and each is touched once per pass; asking for a node a few
// steps ahead hides most of the wait for memory on large documents.
void prefetchAhead(const std::vector<Node*>& order, int index, int last)
{
    constexpr int kAhead = 8;
    if (index + kAhead <= last)
        __builtin_prefetch(order[static_cast<std::size_t>(index + kAhead)]);
}

void appendNumber(std::string& out, int value)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

} // namespace

// Collects the text, converting document text when the file is UTF-8, and hands it on in chunks
// when a sink is given (else it all stays in the buffer).
class TextExportWriter::Output {
public:
    Output(TextEncoding encoding, std::string& buffer, const ExportSink* sink, std::size_t chunkBytes)
        : m_utf8(encoding == TextEncoding::Utf8)
        , m_buffer(buffer)
        , m_sink(sink)
        , m_chunkBytes(std::max<std::size_t>(chunkBytes, 1))
    {
    }

    // Text of this program that is plain ASCII and reads the same in both encodings.
    void ascii(std::string_view bytes) { m_buffer.append(bytes); }
    // Text of the document (titles, bodies, marks). Each piece is converted on its own, so a
    // stray byte at the end of a body cannot pair up with the line end that follows it, and the
    // UTF-8 file stays valid whatever bytes the document holds.
    void text(std::string_view cp932)
    {
        if (m_utf8)
            cp932::appendDisplayUtf8(m_buffer, cp932);
        else
            m_buffer.append(cp932);
    }
    void lineEnd() { m_buffer.append(kLineEnd); }
    void line(std::string_view cp932)
    {
        text(cp932);
        lineEnd();
    }
    void formFeedLine()
    {
        ascii(kFormFeed);
        lineEnd();
    }

    // Between nodes: passes a full buffer on. False once the sink has refused a piece.
    bool pause()
    {
        if (m_sink != nullptr && m_buffer.size() >= m_chunkBytes)
            flush();
        return !m_failed;
    }
    bool finish()
    {
        if (m_sink != nullptr)
            flush();
        return !m_failed;
    }

private:
    void flush()
    {
        if (!m_failed && !m_buffer.empty() && !(*m_sink)(m_buffer))
            m_failed = true;
        m_buffer.clear();
    }

    bool m_utf8;
    std::string& m_buffer;
    const ExportSink* m_sink;
    std::size_t m_chunkBytes;
    bool m_failed = false;
};

ExportIndexRange exportIndexRange(const Document& document, ExportScope scope, const Node* selected)
{
    if (scope == ExportScope::WholeFile)
        return { 1, static_cast<int>(document.nodeCount()) - 1 };
    const int index = document.absoluteIndex(selected);
    if (index < 0 || document.nodeAt(index) != selected)
        return {};
    if (scope == ExportScope::SelectedMemo)
        return { index, index };
    ExportIndexRange range { index, document.absoluteIndex(selected->lastDescendant()) };
    if (selected->isTopLevel() && selected->hasChildren())
        ++range.first;
    return range;
}

bool exportScopeAvailable(ExportScope scope, const Node* selected)
{
    switch (scope) {
    case ExportScope::WholeFile:
        return true;
    case ExportScope::SelectedTree:
        return selected != nullptr && selected->hasChildren();
    case ExportScope::SelectedMemo:
        return selected != nullptr && selected->isUserNode();
    }
    return false;
}

TextExportWriter::TextExportWriter(
    const Document& document, const TextExportOptions& options, ExportScope scope, const Node* selected)
    : m_document(document)
    , m_options(options.effectiveFor(scope))
    , m_range(exportIndexRange(document, scope, selected))
{
}

int TextExportWriter::progressMaximum() const
{
    int maximum = m_range.last;
    const Node* paperFolder = m_document.paperFolderNode();
    if (m_options.ignorePaperFolder && paperFolder != nullptr) {
        const int fromPaperFolder
            = static_cast<int>(m_document.nodeCount()) - m_document.absoluteIndex(paperFolder);
        maximum -= fromPaperFolder;
    }
    return std::max(maximum, 1);
}

bool TextExportWriter::isPaperFolder(const Node* node) const
{
    // Known by its place, not by its image index: a user node that a file gave image index 0 is
    // still written with its title and body, and the export does not stop there.
    return node == m_document.paperFolderNode();
}

void TextExportWriter::appendDecoration(std::string& line, std::span<const Node* const> chain) const
{
    const Node& node = *chain.back();
    const std::size_t level = chain.size() - 1;
    switch (m_options.marking) {
    case TitleMarking::None:
        return;
    case TitleMarking::OutlineNumbers:
        if (level == 0)
            return;
        if (level == 1) {
            appendNumber(line, node.row() + 1);
            line += ". ";
            return;
        }
        for (std::size_t i = 1; i <= level; ++i) {
            if (i > 1)
                line += m_options.separator;
            appendNumber(line, chain[i]->row() + 1);
        }
        line += ' ';
        return;
    case TitleMarking::LevelMarks:
        // The list stops at level 9; deeper levels keep the deepest mark there is.
        if (level > 0)
            line += m_options.levelMarks[std::min(level, kLevelMarkCount) - 1];
        return;
    case TitleMarking::KindMarks:
        switch (node.imageIndex()) {
        case KindCategory:
            line += m_options.categoryMark;
            break;
        case KindMemo:
            line += m_options.memoMark;
            break;
        case KindResult:
            line += m_options.resultMark;
            break;
        default:
            break;
        }
        return;
    }
}

bool TextExportWriter::writeContents(Output& out) const
{
    out.line(kContentsHeading);
    out.line(kContentsRule);
    out.lineEnd();
    const auto& order = m_document.nodesInOrder();
    AncestorChain chain(m_range.empty() ? nullptr : order[static_cast<std::size_t>(m_range.first)]);
    std::string line;
    for (int i = m_range.first; i <= m_range.last; ++i) {
        prefetchAhead(order, i, m_range.last);
        const Node* node = order[static_cast<std::size_t>(i)];
        const int level = chain.enter(node);
        if (isPaperFolder(node)) {
            if (m_options.ignorePaperFolder)
                break;
            out.ascii("\t");
            out.line(kContentsRule);
        } else {
            line.assign(static_cast<std::size_t>(level), '\t');
            appendDecoration(line, chain.nodes());
            line += node->title();
            out.line(line);
        }
        if (!out.pause())
            return false;
    }
    out.lineEnd();
    if (m_options.newPage)
        out.formFeedLine();
    else
        out.lineEnd();
    return true;
}

void TextExportWriter::writeBody(Output& out) const
{
    const auto& order = m_document.nodesInOrder();
    const int maximum = progressMaximum();
    AncestorChain chain(m_range.empty() ? nullptr : order[static_cast<std::size_t>(m_range.first)]);
    std::string line;
    int previousLevel = 0;
    for (int i = m_range.first; i <= m_range.last; ++i) {
        prefetchAhead(order, i, m_range.last);
        const Node* node = order[static_cast<std::size_t>(i)];
        const int level = chain.enter(node);
        // A new page before each top-level group but the first.
        if (m_options.newPage && level == 1 && previousLevel > 0)
            out.formFeedLine();
        const TNodeData* data = node->data();
        if (isPaperFolder(node)) {
            if (m_options.ignorePaperFolder)
                break;
            if (m_options.newPage)
                out.formFeedLine();
            else
                out.line(kPaperFolderRule);
        } else {
            line.clear();
            appendDecoration(line, chain.nodes());
            line += node->title();
            out.line(line);
            if (m_options.emptyLine && data != nullptr && !data->MemoStr.empty())
                out.lineEnd();
        }
        // The line end closes the body's last line; a body that ends with its own line break
        // therefore ends with an empty line, and an empty body is one empty line.
        if (level > 0 && data != nullptr)
            out.text(data->MemoStr);
        out.lineEnd();
        previousLevel = level;
        if (m_progress)
            m_progress(i, maximum);
        if (!out.pause())
            return;
    }
    if (m_progress)
        m_progress(maximum, maximum);
}

void TextExportWriter::writeAll(Output& out) const
{
    if (!m_options.makeContents || writeContents(out))
        writeBody(out);
}

std::size_t TextExportWriter::estimatedSize() const
{
    if (m_range.empty())
        return 0;
    // The longest mark a title can get; outline numbers grow with the level instead.
    std::size_t longestMark = 0;
    if (m_options.marking == TitleMarking::KindMarks)
        longestMark = std::max(
            { m_options.categoryMark.size(), m_options.memoMark.size(), m_options.resultMark.size() });
    if (m_options.marking == TitleMarking::LevelMarks)
        for (const std::string& mark : m_options.levelMarks)
            longestMark = std::max(longestMark, mark.size());
    const std::size_t perLevel
        = m_options.marking == TitleMarking::OutlineNumbers ? m_options.separator.size() + 6 : 0;
    const auto& order = m_document.nodesInOrder();
    AncestorChain chain(order[static_cast<std::size_t>(m_range.first)]);
    std::size_t size = 0;
    for (int i = m_range.first; i <= m_range.last; ++i) {
        prefetchAhead(order, i, m_range.last);
        const Node* node = order[static_cast<std::size_t>(i)];
        const auto level = static_cast<std::size_t>(chain.enter(node));
        // Title with any decoration (an outline number has up to 6 digits and a separator per
        // level), line ends and an empty line; the contents repeat it behind one tab per level.
        const std::size_t title = node->title().size() + longestMark + level * perLevel + 8;
        size += m_options.makeContents ? 2 * title + level : title;
        if (const TNodeData* data = node->data())
            size += data->MemoStr.size();
    }
    // Two CP932 bytes take three in UTF-8, a single byte up to three.
    return m_options.encoding == TextEncoding::Utf8 ? size + size / 2 : size;
}

std::string TextExportWriter::toString() const
{
    std::string text;
    // Growing a string of tens of megabytes step by step costs more than the writing itself;
    // reserving touches no memory, so a generous estimate is cheap.
    text.reserve(estimatedSize());
    Output out(m_options.encoding, text, nullptr, 0);
    writeAll(out);
    return text;
}

bool TextExportWriter::write(const ExportSink& sink, std::size_t chunkBytes) const
{
    std::string buffer;
    // A body may carry a chunk past its size; leave room for a little of that without regrowing.
    buffer.reserve(std::min<std::size_t>(chunkBytes, 64 << 20) / 4 * 5);
    Output out(m_options.encoding, buffer, &sink, chunkBytes);
    writeAll(out);
    return out.finish();
}

bool TextExportWriter::writeFile(const std::string& path, std::string* error) const
{
    AtomicFileWriter file(path);
    const bool written = file.ok() && write([&file](std::string_view bytes) { return file.write(bytes); });
    if (written && file.commit())
        return true;
    if (error != nullptr)
        *error = file.error();
    return false;
}

} // namespace notarium
