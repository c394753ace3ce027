#include "core/templates/ApplyTemplate.h"
#include "core/document/Document.h"

#include <gtest/gtest.h>

namespace notarium {
namespace {

std::string templatePage(int level, std::string_view title, std::string_view levelText = {})
{
    return "\r\n::Page::\r\n" + (levelText.empty() ? std::to_string(level) : std::string(levelText)) + "\r\n"
        + std::string(title) + "\r\n2\r\n2\r\nbegin{{\r\nbody\r\n}}end\r\n";
}

TEST(ApplyTreeTemplate, AWholeFileAddsItsPagesAndABadOneNothing)
{
    Document doc;
    doc.newDocument();
    Node* memo = doc.createUserNode(doc.documentNode(), 0, KindMemo, "memo");
    doc.setModified(false);
    const std::string header = "Notarium Template File\r\nVersion 1.10\r\n";

    // The third page is broken: the two before it must not stay in the outline either.
    const std::string broken = header + templatePage(1, "a") + templatePage(2, "b") + templatePage(0, "c", "x");
    const TemplateReadResult refused = applyTreeTemplate(broken, doc, memo);
    EXPECT_EQ(refused.status, TemplateReadStatus::Corrupt);
    EXPECT_FALSE(refused.message.text.empty());
    EXPECT_EQ(refused.pagesAdded, 0u);
    EXPECT_EQ(memo->childCount(), 0);
    EXPECT_EQ(doc.nodeCount(), 3u);

    const TemplateReadResult added = applyTreeTemplate(header + templatePage(1, "a") + templatePage(2, "b"), doc, memo);
    ASSERT_TRUE(added.ok());
    EXPECT_EQ(added.pagesAdded, 2u);
    EXPECT_EQ(added.firstPage, memo->firstChild());
    EXPECT_EQ(memo->firstChild()->firstChild()->title(), "b");
    EXPECT_EQ(doc.absoluteIndex(memo->firstChild()->firstChild()), 3); // the pages are in the index
    EXPECT_TRUE(memo->firstChild()->isExpanded());
    EXPECT_TRUE(memo->isExpanded());

    EXPECT_EQ(applyTreeTemplateFile("/nonexistent/folder/t.nmt", doc, memo).status, TemplateReadStatus::CannotOpen);
    EXPECT_EQ(applyTreeTemplate("Notarium Template File\r\nVersion 2\r\n", doc, memo).status,
        TemplateReadStatus::BadVersion);
    EXPECT_EQ(memo->childCount(), 1);
    EXPECT_FALSE(doc.isModified()); // the modified flag is the caller's
}

} // namespace
} // namespace notarium
