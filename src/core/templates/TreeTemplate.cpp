#include "core/templates/TreeTemplate.h"

#include "core/datafile/LineReader.h"
#include "core/datafile/PageRecordReader.h"
#include "core/datafile/PageText.h"
#include "core/document/Document.h"
#include "core/io/FileErrors.h"
#include "core/io/FileIo.h"
#include "core/io/FileSize.h"
#include "core/templates/TemplateMessages.h"

#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace notarium {

namespace {

using page_text::kBodyBegin;
using page_text::kBodyEnd;
using page_text::kCrLf;
using page_text::appendLine;
using page_text::kPageHeader;

// The level table starts this big and grows when a page goes deeper.
constexpr std::size_t kInitialLevels = 8;
// The read buffer of a streamed template; it grows for a longer line.
constexpr std::size_t kStreamBuffer = 1 << 20;

// A tree template's page has no expanded-state line; lines after the last page that hold no page
// header are taken for a page cut off before its header.
constexpr PageRecordFormat kTemplatePages { .expandedLine = false,
    .afterLastPage = LinesAfterLastPage::Malformed };

TemplateReadResult failure(TemplateReadStatus status, const Message& message)
{
    TemplateReadResult result;
    result.status = status;
    result.message = message;
    return result;
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

namespace {

// The pages of a tree template, from memory or streamed from its file; empty: the file holds no
// byte at all (a file of a lone 1Ah byte is not empty, just no template).
TemplateReadResult readPages(LineReader& lines, bool empty, Document& doc, Node* base)
{
    if (empty)
        return {};
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

    PageRecordReader pages(lines, kTemplatePages);
    PageHeader page;
    for (;;) {
        const PageStatus status = pages.readHeader(page);
        if (status == PageStatus::End)
            break;
        // Level 0 would be the root itself; a page deeper than the pages before it allow has no
        // parent to go under. The bad page itself is not added.
        const bool levelOk = status == PageStatus::Page && page.level > 0
            && static_cast<std::size_t>(page.level - 1) < lastAtLevel.size()
            && lastAtLevel[static_cast<std::size_t>(page.level - 1)] != nullptr;
        std::string body;
        if (!levelOk || !pages.readBody(&body)) {
            result.status = TemplateReadStatus::Corrupt;
            result.message = messages::CorruptTemplateFile;
            break;
        }
        const auto at = static_cast<std::size_t>(page.level);
        if (at >= lastAtLevel.size())
            lastAtLevel.resize(lastAtLevel.size() * 2, nullptr);

        Node* node = doc.appendNode(lastAtLevel[at - 1], std::move(page.title), page.imageIndex);
        doc.setImageIndexes(node, page.imageIndex, page.selectedIndex);
        node->data()->MemoStr = std::move(body);
        lastAtLevel[at] = node;
        added.push_back(node);
        if (at == 1 && result.firstPage == nullptr)
            result.firstPage = node;
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

TemplateReadResult cannotOpen(int error)
{
    TemplateReadResult result = failure(TemplateReadStatus::CannotOpen, Message {});
    result.errorText = fileErrorText(error);
    return result;
}

} // namespace

TemplateReadResult parseTreeTemplate(std::string_view bytes, Document& doc, Node* base)
{
    if (base == nullptr || base->isRoot())
        return failure(TemplateReadStatus::NoBaseNode, Message {});
    LineReader lines(beforeEndOfFile(bytes));
    return readPages(lines, bytes.empty(), doc, base);
}

TemplateReadResult loadTemplateTree(const std::string& path, Document& doc, Node* base)
{
    if (base == nullptr || base->isRoot())
        return failure(TemplateReadStatus::NoBaseNode, Message {});
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return cannotOpen(errno);
    struct stat st { };
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        return cannotOpen(error);
    }
    // Refused before a byte is read: the pages could not be saved in a data file either.
    if (st.st_size > kLargestReadableFile) {
        ::close(fd);
        return failure(TemplateReadStatus::TooLarge, messages::TooLargeTemplateFile);
    }
    // Streamed through a buffer: a large template is never held as bytes and as pages at once.
    LineReader lines(fd, kStreamBuffer);
    const bool empty = st.st_size == 0 && lines.atEnd() && lines.readError() == 0;
    TemplateReadResult result = readPages(lines, empty, doc, base);
    const int readError = lines.readError();
    ::close(fd);
    if (readError != 0) {
        TemplateReadResult failed = cannotOpen(readError);
        failed.firstPage = result.firstPage;
        failed.pagesAdded = result.pagesAdded;
        return failed;
    }
    return result;
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
        const TNodeData* data = node->data();
        page_text::appendPage(out, level, node->title(), node->imageIndex(), node->selectedIndex(), std::nullopt,
            data ? std::string_view(data->MemoStr) : std::string_view(), changed);
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
