#include "core/templates/TreeTemplate.h"

#include "core/datafile/PageText.h"

#include "core/document/Document.h"
#include "core/io/ByteScan.h"
#include "core/io/FileIo.h"
#include "core/templates/TemplateMessages.h"

#include <charconv>
#include <cstdint>
#include <optional>

namespace notarium {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kPageHeader = "::Page::";
constexpr std::string_view kBodyBegin = "begin{{";
constexpr std::string_view kBodyEnd = "}}end";
constexpr char kEndOfFile = '\x1A';
// The level table starts this big and grows when a page goes deeper.
constexpr std::size_t kInitialLevels = 8;

// Lines as a text file gives them: a line ends at CR (an LF right after it belongs to the same
// line end) or at a lone LF. Reading past the end gives an empty line.
class LineReader {
public:
    explicit LineReader(std::string_view text)
        : m_text(text)
    {
    }

    bool atEnd() const { return m_pos >= m_text.size(); }

    std::string_view next()
    {
        if (atEnd())
            return {};
        const char* begin = m_text.data() + m_pos;
        const char* end = m_text.data() + m_text.size();
        const char* stop = findLineBreak(begin, end);
        std::string_view line(begin, static_cast<std::size_t>(stop - begin));
        if (stop < end) {
            ++stop;
            if (stop[-1] == '\r' && stop < end && *stop == '\n')
                ++stop;
        }
        m_pos = static_cast<std::size_t>(stop - m_text.data());
        return line;
    }

    std::string_view peek() const
    {
        LineReader copy = *this;
        return copy.next();
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

using page_text::parseInt32;

TemplateReadResult failure(TemplateReadStatus status, const Message& message)
{
    TemplateReadResult result;
    result.status = status;
    result.message = message;
    return result;
}

void appendNumber(std::string& out, long long value)
{
    char buffer[24];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)error;
    out.append(buffer, static_cast<std::size_t>(end - buffer));
}

void appendLine(std::string& out, std::string_view line)
{
    out.append(line);
    out.append(kCrLf);
}

} // namespace

void newTemplateDocument(Document& doc)
{
    Document::ResetScope reset(doc);
    doc.clearDocument();
    doc.addTopLevelNode(std::string(kTemplateRootTitle), 0);
}

Node* templateBaseNode(const Document& doc, TemplateTarget target, Node* selected)
{
    return target == TemplateTarget::TemplateEditor ? doc.documentNode() : selected;
}

TemplateReadResult parseTreeTemplate(std::string_view bytes, Document& doc, Node* base)
{
    if (base == nullptr || base->isRoot())
        return failure(TemplateReadStatus::NoBaseNode, Message {});
    if (bytes.empty())
        return {};
    if (const auto eof = bytes.find(kEndOfFile); eof != std::string_view::npos)
        bytes = bytes.substr(0, eof);

    LineReader lines(bytes);
    if (lines.next() != kTemplateFileMagic)
        return failure(TemplateReadStatus::NotTemplateFile, messages::NotTemplateFile);
    if (lines.next() != kTemplateFileVersion)
        return failure(TemplateReadStatus::BadVersion, messages::TemplateVersionError);

    TemplateReadResult result;
    // The last page added at each level; entry 0 is the base. An empty entry means no page of
    // that level has been added yet.
    std::vector<Node*> lastAtLevel(kInitialLevels, nullptr);
    lastAtLevel[0] = base;
    std::vector<Node*> added;

    while (!lines.atEnd()) {
        // Whatever comes before the page header is skipped; running out of lines leaves the level
        // line empty, which is no number.
        while (!lines.atEnd() && !lines.next().starts_with(kPageHeader)) { }
        const auto level = parseInt32(lines.next());
        const std::string_view title = lines.next();
        const auto imageIndex = parseInt32(lines.next());
        const auto selectedIndex = parseInt32(lines.next());
        // Level 0 would be the root itself; a page deeper than the pages before it allow has no
        // parent to go under.
        const bool levelOk = level && *level > 0 && static_cast<std::size_t>(*level - 1) < lastAtLevel.size()
            && lastAtLevel[static_cast<std::size_t>(*level - 1)] != nullptr;
        if (!levelOk || !imageIndex || !selectedIndex || lines.next() != kBodyBegin) {
            result.status = TemplateReadStatus::Corrupt;
            result.message = messages::CorruptTemplateFile;
            break;
        }
        const auto at = static_cast<std::size_t>(*level);
        if (at >= lastAtLevel.size())
            lastAtLevel.resize(lastAtLevel.size() * 2, nullptr);

        Node* node = doc.appendNode(lastAtLevel[at - 1], std::string(title), *imageIndex);
        doc.setImageIndexes(node, *imageIndex, *selectedIndex);
        lastAtLevel[at] = node;
        added.push_back(node);
        if (at == 1 && result.firstPage == nullptr)
            result.firstPage = node;

        std::string& body = node->data()->MemoStr;
        while (!lines.atEnd()) {
            const std::string_view line = lines.next();
            if (line == kBodyEnd)
                break;
            body.append(line);
            body.append(kCrLf);
            if (line.starts_with(kBodyEnd))
                break;
        }
        // The empty line before the next page. A page header right here (a file edited by hand
        // without the empty line) is left for the next page, not swallowed with its page.
        if (!lines.peek().starts_with(kPageHeader))
            lines.next();
    }

    result.pagesAdded = added.size();
    for (Node* node : added)
        if (node->hasChildren())
            doc.setExpanded(node, true);
    if (result.firstPage != nullptr)
        for (Node* node = base; node != nullptr && !node->isRoot(); node = node->parent())
            doc.setExpanded(node, true);
    return result;
}

TemplateReadResult loadTemplateTree(const std::string& path, Document& doc, Node* base)
{
    if (base == nullptr || base->isRoot())
        return failure(TemplateReadStatus::NoBaseNode, Message {});
    std::string bytes;
    std::string error;
    if (!readWholeFile(path, bytes, &error)) {
        TemplateReadResult result = failure(TemplateReadStatus::CannotOpen, Message {});
        result.errorText = std::move(error);
        return result;
    }
    return parseTreeTemplate(bytes, doc, base);
}

std::string serializeTreeTemplate(const Node& root, std::vector<std::string>* changedTitles)
{
    std::string out;
    appendLine(out, kTemplateFileMagic);
    appendLine(out, kTemplateFileVersion);

    // Pre-order over root's descendants, levels tracked on the way.
    const Node* node = root.firstChild();
    int level = 1;
    while (node != nullptr) {
        bool changed = false;
        out.append(kCrLf);
        appendLine(out, kPageHeader);
        appendNumber(out, level);
        out.append(kCrLf);
        page_text::appendTitle(out, node->title(), changed);
        out.append(kCrLf);
        appendNumber(out, node->imageIndex());
        out.append(kCrLf);
        appendNumber(out, node->selectedIndex());
        out.append(kCrLf);
        appendLine(out, kBodyBegin);
        if (const TNodeData* data = node->data())
            page_text::appendBody(out, data->MemoStr, changed);
        appendLine(out, kBodyEnd);
        if (changed && changedTitles)
            changedTitles->push_back(node->title());

        if (node->hasChildren()) {
            node = node->firstChild();
            ++level;
            continue;
        }
        while (node != &root && node->nextSibling() == nullptr) {
            node = node->parent();
            --level;
        }
        node = node == &root ? nullptr : node->nextSibling();
    }
    return out;
}

WriteResult writeTreeTemplate(const std::string& path, const Document& tree)
{
    WriteResult result;
    std::string bytes;
    if (const Node* root = tree.documentNode())
        bytes = serializeTreeTemplate(*root, &result.changedTitles);
    else
        bytes = serializeTreeTemplate(Node(std::string(kTemplateRootTitle), 0, false));
    if (!writeFileAtomically(path, bytes, &result.errorText)) {
        result.ok = false;
        result.message = messages::CannotSaveTemplate;
        result.changedTitles.clear();
    }
    return result;
}

} // namespace notarium
