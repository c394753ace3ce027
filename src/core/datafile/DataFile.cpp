#include "datafile/DataFile.h"

#include "document/Document.h"
#include "io/ByteScan.h"
#include "io/FileIo.h"

#include <charconv>
#include <map>
#include <optional>

namespace notarium {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kCurrentNodeHeader = "::CurrentNode::";
constexpr std::string_view kBookmarksHeader = "::Bookmarks::";
constexpr std::string_view kPageHeader = "::Page::";
constexpr std::string_view kBodyBegin = "begin{{";
constexpr std::string_view kBodyEnd = "}}end";
constexpr std::string_view kNil = "nil";
constexpr std::string_view kNone = "None";
constexpr char kEndOfFile = '\x1A';

// Reads the file line by line: a line ends at CR (an LF right after it belongs to the same line
// end) or at a lone LF. The caller has already cut the text at the first 1Ah byte.
class LineReader {
public:
    explicit LineReader(std::string_view text)
        : m_begin(text.data())
        , m_pos(text.data())
        , m_end(text.data() + text.size())
    {
    }

    bool atEnd() const { return m_pos >= m_end; }
    std::size_t offset() const { return static_cast<std::size_t>(m_pos - m_begin); }

    // Reading past the end gives an empty line, as a text file does.
    std::string_view next()
    {
        m_lastEndWasCrLf = false;
        if (m_pos >= m_end)
            return {};
        const char* lineEnd = findLineBreak(m_pos, m_end);
        std::string_view line(m_pos, static_cast<std::size_t>(lineEnd - m_pos));
        m_pos = lineEnd;
        if (m_pos < m_end) {
            if (*m_pos == '\r' && m_pos + 1 < m_end && m_pos[1] == '\n') {
                m_pos += 2;
                m_lastEndWasCrLf = true;
            } else {
                ++m_pos;
            }
        }
        return line;
    }

    // Whether the line last read ended with CR LF (not a lone CR, a lone LF or the end of text).
    bool lastEndWasCrLf() const { return m_lastEndWasCrLf; }
    const char* position() const { return m_pos; }

private:
    const char* m_begin;
    const char* m_pos;
    const char* m_end;
    bool m_lastEndWasCrLf = false;
};

// A decimal number as the data file stores it; blanks before it are allowed, as are the "$" and
// "0x" hexadecimal forms older writers may have used. Anything else does not convert.
std::optional<long long> parseNumber(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.front() == '-' || text.front() == '+')
        return std::nullopt;
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<int> parseInt32(std::string_view text)
{
    const auto value = parseNumber(text);
    if (!value || *value < INT32_MIN || *value > INT32_MAX)
        return std::nullopt;
    return static_cast<int>(*value);
}

class Parser {
public:
    Parser(std::string_view bytes, bool fileEmpty, Document& doc, const ReadOptions& options)
        : m_lines(bytes)
        , m_total(bytes.size())
        , m_fileEmpty(fileEmpty)
        , m_doc(doc)
        , m_options(options)
    {
    }

    ReadResult run();

private:
    ReadResult fail(ReadStatus status, const Message& message)
    {
        ReadResult result;
        result.status = status;
        result.message = message;
        result.oldFormat = m_oldFormat;
        m_doc.setOldFormat(m_oldFormat);
        return result;
    }
    ReadResult malformed() { return fail(ReadStatus::Malformed, messages::MalformedFile); }

    void skipUntilPrefix(std::string_view prefix, bool& found)
    {
        found = false;
        while (!m_lines.atEnd())
            if (m_lines.next().starts_with(prefix)) {
                found = true;
                return;
            }
    }
    void reportProgress()
    {
        if (m_options.progress)
            m_options.progress(m_lines.offset(), m_total);
    }
    bool readBody(std::string* body);
    Node* parentForLevel(int level);
    void restoreBookmarks(const std::vector<std::string_view>& lines);

    LineReader m_lines;
    std::uint64_t m_total;
    bool m_fileEmpty;
    Document& m_doc;
    const ReadOptions& m_options;
    bool m_oldFormat = false;
    // The last node seen at each level. Sparse, so that a page claiming a huge level costs nothing.
    std::map<int, Node*> m_lastAtLevel;
};

// Reads the body after the page's header lines; false when "begin{{" is missing. With body null
// the lines are read and dropped (the two top-level nodes hold no text).
bool Parser::readBody(std::string* body)
{
    if (m_lines.next() != kBodyBegin)
        return false;
    const char* start = m_lines.position();
    bool allCrLf = true;
    std::string slow;
    while (!m_lines.atEnd()) {
        const char* lineStart = m_lines.position();
        const std::string_view line = m_lines.next();
        if (line == kBodyEnd) {
            if (body) {
                // When every line ended with CR LF, the body is the file's bytes as they stand.
                if (allCrLf)
                    body->assign(start, static_cast<std::size_t>(lineStart - start));
                else
                    *body = std::move(slow);
            }
            return true;
        }
        if (body) {
            if (allCrLf && !m_lines.lastEndWasCrLf()) {
                allCrLf = false;
                slow.assign(start, static_cast<std::size_t>(lineStart - start));
            }
            if (!allCrLf) {
                slow.append(line);
                slow.append(kCrLf);
            }
        }
        if (line.starts_with(kBodyEnd))
            break;
    }
    // The body ran to the end of the file, or ended at a longer line beginning with "}}end".
    if (body) {
        if (allCrLf)
            body->assign(start, static_cast<std::size_t>(m_lines.position() - start));
        else
            *body = std::move(slow);
    }
    return true;
}

// A page of level n goes under the last node of level n - 1; when no page of that level has been
// seen, under the last node of the nearest shallower level that has one.
Node* Parser::parentForLevel(int level)
{
    auto it = m_lastAtLevel.lower_bound(level); // first entry >= level
    if (it == m_lastAtLevel.begin())
        return nullptr;
    --it;
    return it->second;
}

void Parser::restoreBookmarks(const std::vector<std::string_view>& lines)
{
    BookmarkSlots slots {};
    bool anyValid = false;
    const std::size_t count = std::min<std::size_t>(lines.size(), kBookmarkSlotCount);
    for (std::size_t i = 0; i < count; ++i) {
        if (lines[i] == kNone) {
            anyValid = true;
            continue;
        }
        const auto index = parseNumber(lines[i]);
        if (!index)
            continue;
        if (Node* node = m_doc.nodeAt(*index)) {
            slots[i] = node;
            anyValid = true;
        }
    }
    // A record of nothing but unusable lines is no table at all.
    if (!anyValid)
        return;
    BookmarkSlots& table = m_doc.ensureBookmarkTable();
    table = slots;
}

ReadResult Parser::run()
{
    if (m_fileEmpty)
        return fail(ReadStatus::Empty, messages::EmptyFile);
    if (m_lines.next() != kDataFileMagic)
        return fail(ReadStatus::NotDataFile, messages::NotDataFile);

    const std::string_view version = m_lines.next();
    if (version.size() <= 8 || version[8] < '0' || version[8] > '9')
        return malformed();
    m_oldFormat = version[8] < '1';

    int savedCurrent = 0;
    std::vector<std::string_view> bookmarkLines;
    bool hasBookmarkLines = false;
    if (!m_oldFormat) {
        bool found = false;
        skipUntilPrefix(kCurrentNodeHeader, found);
        const std::string_view current = m_lines.next();
        if (!current.empty()) {
            const auto index = parseInt32(current);
            if (!index)
                return malformed();
            savedCurrent = *index;
        }
        skipUntilPrefix(kBookmarksHeader, found);
        std::string_view line = m_lines.next();
        if (!line.empty() && line != kNil) {
            hasBookmarkLines = true;
            while (!line.empty()) {
                bookmarkLines.push_back(line);
                if (m_lines.atEnd())
                    break;
                line = m_lines.next();
            }
        }
    }

    int topLevelCount = 0;
    bool seenPage = false;
    for (;;) {
        bool found = false;
        skipUntilPrefix(kPageHeader, found);
        // Lines after the last page that hold no page header (a blank line added by an editor,
        // say) are not part of the document.
        if (!found)
            break;
        const auto level = parseInt32(m_lines.next());
        if (!level || *level < 0)
            return malformed();
        std::string title(m_lines.next());
        reportProgress();

        Node* node = nullptr;
        if (*level == 0) {
            if (topLevelCount == 2)
                return malformed();
            ++topLevelCount;
        } else if (!seenPage) {
            return malformed();
        }
        seenPage = true;

        const auto imageIndex = parseInt32(m_lines.next());
        if (!imageIndex)
            return malformed();
        const auto selectedIndex = parseInt32(m_lines.next());
        if (!selectedIndex)
            return malformed();
        bool expanded = false;
        if (!m_oldFormat)
            expanded = m_lines.next() == "TRUE";

        if (*level == 0) {
            node = m_doc.addTopLevelNode(std::move(title), *imageIndex);
            m_doc.setImageIndexes(node, *imageIndex, *selectedIndex);
            // Opening a file expands both top-level nodes anyway; the flag is kept so that a
            // plain copy of the file keeps its bytes.
            m_doc.setExpanded(node, expanded);
            if (!readBody(nullptr))
                return malformed();
        } else {
            Node* parent = parentForLevel(*level);
            node = m_doc.appendNode(parent, std::move(title), *imageIndex);
            m_doc.setImageIndexes(node, *imageIndex, *selectedIndex);
            node->data()->TrOpen = expanded;
            if (!readBody(&node->data()->MemoStr))
                return malformed();
        }
        m_lastAtLevel[*level] = node;
        reportProgress();
    }
    if (topLevelCount != 2)
        return malformed();

    ReadResult result;
    result.oldFormat = m_oldFormat;
    m_doc.setOldFormat(m_oldFormat);
    // A current index that names no node of the tree falls back to the first node under the
    // document node, as for a file without the record.
    const bool currentValid = !m_oldFormat && m_doc.nodeAt(savedCurrent) != nullptr;
    result.savedCurrentIndex = currentValid ? savedCurrent : -1;
    m_doc.setSavedCurrentIndex(currentValid ? savedCurrent : 1);
    if (!m_oldFormat && m_options.restoreBookmarks && hasBookmarkLines)
        restoreBookmarks(bookmarkLines);
    if (m_options.progress)
        m_options.progress(m_total, m_total);
    return result;
}

// Appends a node's body in the form the reader gives back: every line break as CR LF, a final
// line break when the text does not end with one. Lines the format cannot hold are mended, and
// changed reports that.
void appendBody(std::string& out, std::string_view body, bool& changed)
{
    const char* p = body.data();
    const char* const end = p + body.size();
    bool lineStart = true;
    bool wroteText = false;
    bool endsWithBreak = false;
    while (p < end) {
        if (lineStart && std::string_view(p, static_cast<std::size_t>(end - p)).starts_with(kBodyEnd)) {
            out.push_back(' ');
            changed = true;
        }
        const char* stop = findFirstOf(p, end, '\r', '\n', kEndOfFile);
        if (stop != p) {
            out.append(p, static_cast<std::size_t>(stop - p));
            wroteText = true;
            endsWithBreak = false;
            lineStart = false;
        }
        if (stop == end)
            break;
        if (*stop == kEndOfFile) {
            changed = true;
            p = stop + 1;
            continue;
        }
        // CR LF, LF CR, lone CR and lone LF are each one line break.
        const char other = *stop == '\r' ? '\n' : '\r';
        p = stop + 1;
        if (p < end && *p == other)
            ++p;
        out.append(kCrLf);
        wroteText = true;
        endsWithBreak = true;
        lineStart = true;
    }
    if (wroteText && !endsWithBreak)
        out.append(kCrLf);
}

void appendNumber(std::string& out, long long value)
{
    char buffer[24];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)error;
    out.append(buffer, end);
}

void appendLine(std::string& out, std::string_view line)
{
    out.append(line);
    out.append(kCrLf);
}

} // namespace

ReadResult parseDataFile(std::string_view bytes, Document& doc, const ReadOptions& options)
{
    // A 1Ah byte ends the file for the reader. A file of nothing but that byte is not empty
    // (it holds data), just not a data file.
    const bool empty = bytes.empty();
    if (const auto eof = bytes.find(kEndOfFile); eof != std::string_view::npos)
        bytes = bytes.substr(0, eof);
    Parser parser(bytes, empty, doc, options);
    return parser.run();
}

ReadResult readDataFile(const std::string& path, Document& doc, const ReadOptions& options)
{
    std::string bytes;
    if (!readWholeFile(path, bytes)) {
        ReadResult result;
        result.status = ReadStatus::CannotOpen;
        result.message = messages::CannotOpenFile;
        return result;
    }
    if (bytes.empty()) {
        ReadResult result;
        result.status = ReadStatus::Empty;
        result.message = messages::EmptyFile;
        return result;
    }
    ReadResult result = parseDataFile(bytes, doc, options);
    if (result.ok() && options.backup)
        result.backupFailed = !writeFileAtomically(backupPathFor(path, options.backupFolder), bytes);
    return result;
}

std::string serializeDataFile(const Document& doc, int currentIndex, std::vector<std::string>* changedTitles,
                              const ProgressCallback& progress)
{
    const std::vector<Node*>& nodes = doc.nodesInOrder();
    std::size_t estimate = 128;
    for (const Node* node : nodes) {
        estimate += node->title().size() + 64;
        if (const TNodeData* data = node->data())
            estimate += data->MemoStr.size() + data->MemoStr.size() / 32;
    }
    std::string out;
    out.reserve(estimate);

    appendLine(out, kDataFileMagic);
    appendLine(out, kDataFileVersion);
    out.append(kCrLf);
    appendLine(out, kCurrentNodeHeader);
    appendNumber(out, currentIndex);
    out.append(kCrLf);
    out.append(kCrLf);
    appendLine(out, kBookmarksHeader);
    if (const auto& table = doc.bookmarkTable()) {
        for (const Node* node : *table) {
            if (node)
                appendNumber(out, doc.absoluteIndex(node));
            else
                out.append(kNone);
            out.append(kCrLf);
        }
    } else {
        appendLine(out, kNil);
    }

    const std::uint64_t total = nodes.size();
    std::uint64_t done = 0;
    doc.forEachInOrder([&](const Node* node, int level) {
        bool changed = false;
        out.append(kCrLf);
        appendLine(out, kPageHeader);
        appendNumber(out, level);
        out.append(kCrLf);
        // A title is one line of the file: a line break or an end-of-file byte in it would
        // break the pages that follow.
        const std::string& title = node->title();
        if (title.find_first_of("\r\n\x1A") == std::string::npos) {
            out.append(title);
        } else {
            changed = true;
            for (char c : title)
                if (c != kEndOfFile)
                    out.push_back(c == '\r' || c == '\n' ? ' ' : c);
        }
        out.append(kCrLf);
        appendNumber(out, node->imageIndex());
        out.append(kCrLf);
        appendNumber(out, node->selectedIndex());
        out.append(kCrLf);
        appendLine(out, node->isExpanded() ? "TRUE" : "FALSE");
        appendLine(out, kBodyBegin);
        if (const TNodeData* data = node->data(); data && node->isUserNode())
            appendBody(out, data->MemoStr, changed);
        appendLine(out, kBodyEnd);
        if (changed && changedTitles)
            changedTitles->push_back(title);
        if (progress)
            progress(++done, total);
    });
    return out;
}

WriteResult writeDataFile(const std::string& path, Document& doc, int currentIndex, const ProgressCallback& progress)
{
    WriteResult result;
    const std::string bytes = serializeDataFile(doc, currentIndex, &result.changedTitles, progress);
    if (!writeFileAtomically(path, bytes, &result.errorText)) {
        result.ok = false;
        result.message = messages::CannotSaveFile;
        return result;
    }
    for (Node* node : doc.nodesInOrder())
        if (TNodeData* data = node->data())
            data->Modify = false;
    return result;
}

Node* applyOpenRules(Document& doc, const ReadResult& result, bool restoreTreeState, bool restoreCurrentNode)
{
    if (Node* documentNode = doc.documentNode())
        doc.setKind(documentNode, KindDocument);
    if (!result.oldFormat && restoreTreeState)
        doc.applyTreeState();
    for (int i = 0; i < doc.root()->childCount(); ++i)
        doc.setExpanded(doc.root()->child(i), true);
    Node* current = nullptr;
    if (!result.oldFormat && restoreCurrentNode && result.savedCurrentIndex >= 0)
        current = doc.nodeAt(result.savedCurrentIndex);
    if (current == nullptr)
        current = doc.nodeAt(1);
    return current;
}

std::string backupPathFor(const std::string& path, const std::string& folder)
{
    const auto slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos && dot != 0)
        name.erase(dot);
    name += ".~nm";
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

} // namespace notarium
