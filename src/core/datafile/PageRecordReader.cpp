#include "core/datafile/PageRecordReader.h"

#include "core/datafile/LineReader.h"
#include "core/datafile/PageText.h"

namespace notarium {

using page_text::kBodyBegin;
using page_text::kBodyEnd;
using page_text::kCrLf;
using page_text::kPageHeader;
using page_text::parseInt32;

PageRecordReader::PageRecordReader(LineReader& lines, PageRecordFormat format)
    : m_lines(lines)
    , m_format(format)
{
}

PageStatus PageRecordReader::readHeader(PageHeader& page)
{
    if (!m_headerRead) {
        if (m_lines.atEnd())
            return PageStatus::End;
        bool found = false;
        while (!found && !m_lines.atEnd())
            found = m_lines.next().starts_with(kPageHeader);
        if (!found)
            return m_format.afterLastPage == LinesAfterLastPage::Ignored ? PageStatus::End
                                                                         : PageStatus::Malformed;
    }
    m_headerRead = false;

    const auto level = parseInt32(m_lines.next());
    if (!level)
        return PageStatus::Malformed;
    page.level = *level;
    // The title goes on to a node: a string made for it is exactly as long as it, where assigning
    // into the one the last node took over would give every title of 16 to 29 bytes room for 30.
    page.title = std::string(m_lines.next());
    const auto imageIndex = parseInt32(m_lines.next());
    if (!imageIndex)
        return PageStatus::Malformed;
    page.imageIndex = *imageIndex;
    const auto selectedIndex = parseInt32(m_lines.next());
    if (!selectedIndex)
        return PageStatus::Malformed;
    page.selectedIndex = *selectedIndex;
    page.expanded = m_format.expandedLine && m_lines.next() == "TRUE";
    return PageStatus::Page;
}

bool PageRecordReader::readBody(std::string* body)
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
            readSeparator();
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
    readSeparator();
    return true;
}

// The empty line before the next page. A page header right here is the next page's, not
// swallowed with this one.
void PageRecordReader::readSeparator()
{
    if (!m_lines.atEnd())
        m_headerRead = m_lines.next().starts_with(kPageHeader);
}

} // namespace notarium
