#include "core/datafile/DataFile.h"

#include "core/datafile/PageText.h"
#include "core/document/Document.h"
#include "core/io/ByteScan.h"
#include "core/io/FileIo.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

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
// end) or at a lone LF; a 1Ah byte ends the file. The bytes come from memory or are streamed from
// a file through a buffer, so a large document is never held twice.
//
// A node's body is taken from the buffer in long runs rather than line by line: while a capture
// is open, the bytes from the capture start onwards belong to it and are handed over when the
// buffer moves on.
class LineReader {
public:
    explicit LineReader(std::string_view text)
        : m_viewStart(text.data())
        , m_pos(text.data())
        , m_end(text.data() + text.size())
        , m_sourceDone(true)
    {
    }

    LineReader(int fd, std::size_t bufferSize)
        : m_fd(fd)
        , m_buffer(std::max<std::size_t>(bufferSize, 2), '\0')
    {
        m_pos = m_end = m_buffer.data();
    }

    // The bytes delivered so far, for progress.
    std::uint64_t offset() const { return m_discarded + static_cast<std::uint64_t>(m_pos - bufferStart()); }
    // A read error of the underlying file (errno), 0 when none.
    int readError() const { return m_readError; }

    bool atEnd() { return m_pos >= m_end && !refill(); }

    // Body text is most of a data file, and nearly all of its lines need nothing but to be kept:
    // from a line start, moves past every complete line that ends with CR LF and does not begin
    // with '}', stopping at the start of the first line that needs a closer look (one beginning
    // with '}', one ending otherwise than with CR LF, one the buffer does not hold completely).
    void skipPlainLines()
    {
        const char* p = m_pos;
        const char* const end = m_end;
        if (p >= end || *p == '}')
            return;
        // The position just past the last CR LF known to end a plain line.
        const char* lineStart = p;
#if defined(__SSE2__)
        const __m128i cr = _mm_set1_epi8('\r');
        const __m128i lf = _mm_set1_epi8('\n');
        const __m128i brace = _mm_set1_epi8('}');
        while (end - p >= 18) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i next1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
            const __m128i next2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2));
            // Bit i: p[i] is CR; p[i + 1] is LF; p[i + 2] is '}'.
            const unsigned crAt = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(here, cr)));
            const unsigned lfAfter = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(next1, lf)));
            const unsigned braceAfter
                = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(next2, brace)));
            // Equal masks: every CR has its LF right after it and every LF (from p + 1 on) its
            // CR right before it. An LF at p itself was checked with the block before, except
            // in the first block, where it would end an empty line with a lone LF.
            if (crAt != lfAfter || (crAt & braceAfter) != 0 || (p == m_pos && *p == '\n'))
                break;
            if (crAt != 0)
                lineStart = p + (31 - __builtin_clz(crAt)) + 2;
            p += 16;
        }
#endif
        // The rest, and a block with something to look at, byte by byte.
        for (; p + 1 < end; ++p) {
            if (*p == '\n')
                break;
            if (*p == '\r') {
                if (p[1] != '\n')
                    break;
                lineStart = p + 2;
                if (lineStart >= end || *lineStart == '}')
                    break;
                ++p;
            }
        }
        m_pos = lineStart;
    }

    // Reading past the end gives an empty line, as a text file does.
    std::string_view next()
    {
        m_lastEndWasCrLf = false;
        for (;;) {
            m_lineStart = m_pos;
            const char* lineEnd = findLineBreak(m_pos, m_end);
            // A line cut by the end of the buffer, or a CR that may have its LF in the next chunk.
            const bool incomplete = lineEnd == m_end || (*lineEnd == '\r' && lineEnd + 1 == m_end);
            if (incomplete && !m_sourceDone) {
                refill();
                continue;
            }
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
    }

    // Whether the line last read ended with CR LF (not a lone CR, a lone LF or the end of text).
    bool lastEndWasCrLf() const
    {
        return m_lastEndWasCrLf;
    }
    const char* lineStart() const
    {
        return m_lineStart;
    }
    const char* position() const
    {
        return m_pos;
    }

    void beginCapture(std::string* target)
    {
        m_capture = target;
        m_captureStart = m_pos;
    }
    // Hands the captured bytes up to upTo (a position in the current buffer) to the target.
    void flushCapture(const char* upTo)
    {
        if (m_capture && upTo > m_captureStart)
            m_capture->append(m_captureStart, static_cast<std::size_t>(upTo - m_captureStart));
        m_captureStart = upTo;
    }
    // The bytes up to upTo were handed over otherwise.
    void skipCaptureTo(const char* upTo)
    {
        m_captureStart = upTo;
    }
    void endCapture(const char* upTo)
    {
        flushCapture(upTo);
        m_capture = nullptr;
    }

private:
    const char* bufferStart() const
    {
        return m_buffer.empty() ? m_viewStart : m_buffer.data();
    }

    // Moves the unread bytes to the front of the buffer and reads more behind them.
    bool refill()
    {
        if (m_sourceDone)
            return false;
        if (m_capture)
            flushCapture(m_pos);
        char* base = m_buffer.data();
        const std::size_t keep = static_cast<std::size_t>(m_end - m_pos);
        m_discarded += static_cast<std::uint64_t>(m_pos - base);
        std::memmove(base, m_pos, keep);
        // A line longer than half the buffer makes it grow, so any line fits.
        if (keep > m_buffer.size() / 2) {
            m_buffer.resize(m_buffer.size() * 2);
            base = m_buffer.data();
        }
        m_pos = base;
        m_end = base + keep;
        m_captureStart = m_pos;
        m_lineStart = m_pos;
        const std::size_t room = m_buffer.size() - keep;
        ssize_t n;
        do
            n = ::read(m_fd, base + keep, room);
        while (n < 0 && errno == EINTR);
        if (n <= 0) {
            if (n < 0)
                m_readError = errno;
            m_sourceDone = true;
            return false;
        }
        const char* fresh = base + keep;
        if (const void* eof = std::memchr(fresh, kEndOfFile, static_cast<std::size_t>(n))) {
            n = static_cast<const char*>(eof) - fresh;
            m_sourceDone = true;
        }
        m_end = fresh + n;
        return n > 0;
    }

    const char* m_viewStart = nullptr;
    const char* m_pos = nullptr;
    const char* m_end = nullptr;
    const char* m_lineStart = nullptr;
    int m_fd = -1;
    std::string m_buffer;
    bool m_sourceDone = false;
    int m_readError = 0;
    std::uint64_t m_discarded = 0;
    bool m_lastEndWasCrLf = false;
    std::string* m_capture = nullptr;
    const char* m_captureStart = nullptr;
};

using page_text::parseInt32;
using page_text::parseNumber;

class Parser {
public:
    Parser(LineReader& lines, std::uint64_t total, bool fileEmpty, Document& doc, const ReadOptions& options)
        : m_lines(lines)
        , m_total(total)
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
    void restoreBookmarks(const std::vector<std::string>& lines);

    LineReader& m_lines;
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
    if (body)
        m_lines.beginCapture(body);
    for (;;) {
        m_lines.skipPlainLines();
        if (m_lines.atEnd())
            break;
        const std::string_view line = m_lines.next();
        if (line == kBodyEnd) {
            if (body)
                m_lines.endCapture(m_lines.lineStart());
            return true;
        }
        if (body && !m_lines.lastEndWasCrLf()) {
            // Lines that ended otherwise than with CR LF get CR LF in the body.
            m_lines.flushCapture(m_lines.lineStart());
            body->append(line);
            body->append(kCrLf);
            m_lines.skipCaptureTo(m_lines.position());
        }
        if (line.starts_with(kBodyEnd))
            break;
    }
    // The body ran to the end of the file, or ended at a longer line beginning with "}}end".
    if (body)
        m_lines.endCapture(m_lines.position());
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

void Parser::restoreBookmarks(const std::vector<std::string>& lines)
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
    std::vector<std::string> bookmarkLines;
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
                // Lines after the tenth name no slot; they are read past, not kept.
                if (bookmarkLines.size() < kBookmarkSlotCount)
                    bookmarkLines.emplace_back(line);
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

// Where the writer puts its bytes: a string, or a file through a buffer of about a megabyte, so
// that saving a large document does not build the whole file in memory first.
class Sink {
public:
    explicit Sink(std::string& out)
        : m_out(out)
    {
    }
    Sink(std::string& buffer, AtomicFileWriter& file)
        : m_out(buffer)
        , m_file(&file)
    {
        m_out.reserve(kFlushAt + 4096);
    }

    void append(std::string_view bytes)
    {
        m_out.append(bytes);
        if (m_file && m_out.size() >= kFlushAt)
            flush();
    }
    void append(const char* p, std::size_t n) { append(std::string_view(p, n)); }
    void push_back(char c) { m_out.push_back(c); }
    void flush()
    {
        if (m_file) {
            m_file->write(m_out);
            m_out.clear();
        }
    }

private:
    static constexpr std::size_t kFlushAt = 1 << 20;
    std::string& m_out;
    AtomicFileWriter* m_file = nullptr;
};

void appendNumber(Sink& out, long long value)
{
    char buffer[24];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)error;
    out.append(buffer, static_cast<std::size_t>(end - buffer));
}

void appendLine(Sink& out, std::string_view line)
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
    LineReader lines(bytes);
    Parser parser(lines, bytes.size(), empty, doc, options);
    return parser.run();
}

ReadResult readDataFile(const std::string& path, Document& doc, const ReadOptions& options)
{
    ReadResult cannotOpen;
    cannotOpen.status = ReadStatus::CannotOpen;
    cannotOpen.message = messages::CannotOpenFile;

    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return cannotOpen;
    struct stat st { };
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return cannotOpen;
    }
    LineReader lines(fd, options.bufferSize);
    // The size is only a guide (a file may grow while it is read); emptiness is what reading finds.
    const bool empty = lines.atEnd() && lines.readError() == 0 && lines.offset() == 0;
    Parser parser(lines, static_cast<std::uint64_t>(std::max<off_t>(st.st_size, 0)), empty, doc, options);
    ReadResult result = parser.run();
    const int readError = lines.readError();
    ::close(fd);
    if (readError != 0)
        return cannotOpen;
    if (result.ok() && options.backup)
        result.backupFailed = !copyFileAtomically(path, backupPathFor(path, options.backupFolder));
    return result;
}

namespace {
void writePages(const Document& doc, int currentIndex, Sink& out, std::vector<std::string>* changedTitles,
    const ProgressCallback& progress);
}

std::string serializeDataFile(const Document& doc, int currentIndex, std::vector<std::string>* changedTitles,
    const ProgressCallback& progress)
{
    std::string bytes;
    std::size_t estimate = 128;
    for (const Node* node : doc.nodesInOrder()) {
        estimate += node->title().size() + 64;
        if (const TNodeData* data = node->data())
            estimate += data->MemoStr.size() + data->MemoStr.size() / 32;
    }
    bytes.reserve(estimate);
    Sink sink(bytes);
    writePages(doc, currentIndex, sink, changedTitles, progress);
    return bytes;
}

namespace {
void writePages(const Document& doc, int currentIndex, Sink& out, std::vector<std::string>* changedTitles,
    const ProgressCallback& progress)
{
    const std::vector<Node*>& nodes = doc.nodesInOrder();
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
        page_text::appendTitle(out, title, changed);
        out.append(kCrLf);
        appendNumber(out, node->imageIndex());
        out.append(kCrLf);
        appendNumber(out, node->selectedIndex());
        out.append(kCrLf);
        appendLine(out, node->isExpanded() ? "TRUE" : "FALSE");
        appendLine(out, kBodyBegin);
        if (const TNodeData* data = node->data(); data && node->isUserNode())
            page_text::appendBody(out, data->MemoStr, changed);
        appendLine(out, kBodyEnd);
        if (changed && changedTitles)
            changedTitles->push_back(title);
        if (progress)
            progress(++done, total);
    });
    out.flush();
}
} // namespace

WriteResult writeDataFile(
    const std::string& path, Document& doc, int currentIndex, const ProgressCallback& progress)
{
    WriteResult result;
    AtomicFileWriter file(path);
    if (file.ok()) {
        std::string buffer;
        Sink sink(buffer, file);
        writePages(doc, currentIndex, sink, &result.changedTitles, progress);
    }
    if (!file.commit()) {
        result.errorText = file.error();
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
