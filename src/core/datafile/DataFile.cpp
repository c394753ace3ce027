#include "core/datafile/DataFile.h"

#include "core/datafile/LineReader.h"
#include "core/datafile/PageRecordReader.h"
#include "core/datafile/PageText.h"
#include "core/document/Document.h"
#include "core/io/FileIo.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace notarium {

namespace {

using page_text::kBodyBegin;
using page_text::kBodyEnd;
using page_text::kCrLf;
using page_text::appendLine;
using page_text::appendNumber;
using page_text::kPageHeader;
using page_text::parseInt32;
using page_text::parseNumber;

constexpr std::string_view kCurrentNodeHeader = "::CurrentNode::";
constexpr std::string_view kBookmarksHeader = "::Bookmarks::";
constexpr std::string_view kNil = "nil";
constexpr std::string_view kNone = "None";

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
    // Lines after the last page that hold no page header (a blank line added by an editor, say)
    // are not part of the document.
    PageRecordReader pages(m_lines,
        PageRecordFormat { .expandedLine = !m_oldFormat, .afterLastPage = LinesAfterLastPage::Ignored });
    PageHeader page;
    for (;;) {
        const PageStatus status = pages.readHeader(page);
        if (status == PageStatus::End)
            break;
        if (status == PageStatus::Malformed || page.level < 0)
            return malformed();
        reportProgress();

        if (page.level == 0) {
            if (topLevelCount == 2)
                return malformed();
            ++topLevelCount;
        } else if (!seenPage) {
            return malformed();
        }
        seenPage = true;

        Node* node = nullptr;
        if (page.level == 0) {
            node = m_doc.addTopLevelNode(std::move(page.title), page.imageIndex);
            m_doc.setImageIndexes(node, page.imageIndex, page.selectedIndex);
            // Opening a file expands both top-level nodes anyway; the flag is kept so that a
            // plain copy of the file keeps its bytes.
            m_doc.setExpanded(node, page.expanded);
            if (!pages.readBody(nullptr))
                return malformed();
        } else {
            Node* parent = parentForLevel(page.level);
            node = m_doc.appendNode(parent, std::move(page.title), page.imageIndex);
            m_doc.setImageIndexes(node, page.imageIndex, page.selectedIndex);
            node->data()->TrOpen = page.expanded;
            if (!pages.readBody(&node->data()->MemoStr))
                return malformed();
        }
        m_lastAtLevel[page.level] = node;
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
// that saving a large document does not build the whole file in memory first. It counts what it
// was given, so that a file the reader could not address is never finished.
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
        m_written += bytes.size();
        if (m_file && m_out.size() >= kFlushAt)
            flush();
    }
    void append(const char* p, std::size_t n) { append(std::string_view(p, n)); }
    void push_back(char c)
    {
        m_out.push_back(c);
        ++m_written;
    }
    void flush()
    {
        if (m_file) {
            m_file->write(m_out);
            m_out.clear();
        }
    }
    std::uint64_t written() const { return m_written; }

private:
    static constexpr std::size_t kFlushAt = 1 << 20;
    std::string& m_out;
    AtomicFileWriter* m_file = nullptr;
    std::uint64_t m_written = 0;
};

} // namespace

ReadResult parseDataFile(std::string_view bytes, Document& doc, const ReadOptions& options)
{
    // A 1Ah byte ends the file for the reader. A file of nothing but that byte is not empty
    // (it holds data), just not a data file.
    const bool empty = bytes.empty();
    bytes = beforeEndOfFile(bytes);
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
    // Refused before a byte is read: such a file could not be written back either.
    if (st.st_size > kLargestDataFile) {
        ::close(fd);
        ReadResult tooLarge;
        tooLarge.status = ReadStatus::TooLarge;
        tooLarge.message = messages::TooLargeFile;
        return tooLarge;
    }
    LineReader lines(fd, options.bufferSize);
    // The size is only a guide (a file may grow while it is read); emptiness is what reading finds.
    const bool empty = lines.atEnd() && lines.readError() == 0 && lines.sourceBytes() == 0;
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

// indexOf gives a node's absolute index.
template <typename IndexOf> void writeHeader(const Document& doc, int currentIndex, Sink& out, IndexOf&& indexOf)
{
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
                appendNumber(out, indexOf(node));
            else
                out.append(kNone);
            out.append(kCrLf);
        }
    } else {
        appendLine(out, kNil);
    }
}

// One page; changed tells whether its text had to be written changed (see WriteResult).
void writePage(const Node* node, int level, Sink& out, bool& changed)
{
    // A title is one line of the file: a line break or an end-of-file byte in it would break the
    // pages that follow.
    const TNodeData* data = node->data();
    page_text::appendPage(out, level, node->title(), node->imageIndex(), node->selectedIndex(), node->isExpanded(),
        data && node->isUserNode() ? std::string_view(data->MemoStr) : std::string_view(), changed);
}

// Writes the whole file; stops early, with false, once more than largest bytes were written.
bool writePages(const Document& doc, int currentIndex, Sink& out, std::vector<std::string>* changedTitles,
    const ProgressCallback& progress, std::uint64_t largest)
{
    writeHeader(doc, currentIndex, out, [&doc](const Node* node) { return doc.absoluteIndex(node); });
    const std::uint64_t total = doc.nodesInOrder().size();
    std::uint64_t done = 0;
    bool fits = true;
    doc.forEachInOrder([&](const Node* node, int level) {
        if (!fits)
            return;
        bool changed = false;
        writePage(node, level, out, changed);
        if (changed && changedTitles)
            changedTitles->push_back(node->title());
        fits = out.written() <= largest;
        if (progress)
            progress(++done, total);
    });
    out.flush();
    return fits;
}

} // namespace

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
    writePages(doc, currentIndex, sink, changedTitles, progress, std::numeric_limits<std::uint64_t>::max());
    return bytes;
}

WriteResult writeDataFile(const std::string& path, Document& doc, int currentIndex, const ProgressCallback& progress,
    std::uint64_t largest)
{
    WriteResult result;
    AtomicFileWriter file(path);
    bool fits = true;
    if (file.ok()) {
        std::string buffer;
        Sink sink(buffer, file);
        fits = writePages(doc, currentIndex, sink, &result.changedTitles, progress, largest);
    }
    // A file longer than the reader can address would be the document's end: it could never be
    // opened again. The old file stays, and the writer's unnamed file goes with it.
    if (!fits) {
        result.ok = false;
        result.message = messages::TooLargeToSave;
        result.changedTitles.clear();
        return result;
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

DataFileStepWriter::DataFileStepWriter(const Document& doc, const Node* current)
    : m_doc(doc)
    , m_current(current)
    , m_node(doc.root()->firstChild())
{
    m_bookmarkIndexes.fill(-1);
}

bool DataFileStepWriter::writeSome(std::string& bytes, std::size_t budget)
{
    Sink out(bytes);
    const auto& bookmarks = m_doc.bookmarkTable();
    // The walk of forEachInOrder, a page at a time: the tree stays as it is between the steps.
    while (m_node != nullptr && (out.written() == 0 || out.written() < budget)) {
        if (m_node == m_current)
            m_currentIndex = m_index;
        if (bookmarks) {
            for (std::size_t slot = 0; slot < bookmarks->size(); ++slot)
                if ((*bookmarks)[slot] == m_node)
                    m_bookmarkIndexes[slot] = m_index;
        }
        bool changed = false;
        writePage(m_node, m_level, out, changed);
        ++m_index;
        m_node = Document::nextInOrder(m_node, m_level);
    }
    m_written += out.written();
    return m_node == nullptr;
}

std::string DataFileStepWriter::header() const
{
    std::string bytes;
    Sink out(bytes);
    const auto& bookmarks = m_doc.bookmarkTable();
    writeHeader(m_doc, m_currentIndex, out, [&](const Node* node) {
        for (std::size_t slot = 0; bookmarks && slot < bookmarks->size(); ++slot)
            if ((*bookmarks)[slot] == node)
                return m_bookmarkIndexes[slot];
        return -1;
    });
    return bytes;
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
