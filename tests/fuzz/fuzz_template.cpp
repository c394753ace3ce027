// The tree template reader on any bytes: it never crashes, hangs or reads out of bounds, and the
// pages it reads, written and read again, come back as the same pages.
#include "core/document/Document.h"
#include "core/templates/TreeTemplate.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Page {
    int level;
    std::string title;
    int image;
    int selected;
    std::string body;
    bool operator==(const Page&) const = default;
};

std::vector<Page> pagesOf(const notarium::Document& doc)
{
    std::vector<Page> pages;
    doc.forEachInOrder([&](const notarium::Node* node, int level) {
        if (level > 0)
            pages.push_back({ level, node->title(), node->imageIndex(), node->selectedIndex(),
                node->data() ? node->data()->MemoStr : std::string() });
    });
    return pages;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace notarium;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Document doc;
    newTemplateDocument(doc);
    const TemplateReadResult result = parseTreeTemplate(bytes, doc, doc.documentNode());
    if (result.status != TemplateReadStatus::Ok && result.status != TemplateReadStatus::Corrupt)
        return 0;
    if ((result.pagesAdded == 0) != (result.firstPage == nullptr))
        std::abort();

    std::vector<std::string> changed;
    const std::string first = serializeTreeTemplate(*doc.documentNode(), &changed);
    Document again;
    newTemplateDocument(again);
    const TemplateReadResult second = parseTreeTemplate(first, again, again.documentNode());
    if (!second.ok() || second.pagesAdded != result.pagesAdded)
        std::abort();
    // A body read from a file is whole CR LF lines; the writer changes only a line beginning with
    // "}}end" (one blank before it) and reports each page it changed. Titles are single lines.
    std::vector<Page> expected = pagesOf(doc);
    std::size_t mended = 0;
    for (Page& page : expected) {
        std::string body;
        std::size_t start = 0;
        while (start < page.body.size()) {
            const std::size_t end = page.body.find("\r\n", start);
            if (end == std::string::npos)
                std::abort();
            if (page.body.compare(start, 5, "}}end") == 0)
                body += ' ';
            body.append(page.body, start, end + 2 - start);
            start = end + 2;
        }
        if (body != page.body)
            ++mended;
        page.body = std::move(body);
    }
    if (pagesOf(again) != expected || changed.size() != mended)
        std::abort();
    std::vector<std::string> changedAgain;
    if (serializeTreeTemplate(*again.documentNode(), &changedAgain) != first || !changedAgain.empty())
        std::abort();
    return 0;
}
