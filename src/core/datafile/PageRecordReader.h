#pragma once

#include <string>

namespace notarium {

class LineReader;

// What happens to lines after the last page that hold no page header.
enum class LinesAfterLastPage {
    Ignored, // they are not part of the file (a blank line added by an editor, say)
    Malformed, // they are a page cut off before its header: the file is malformed
};

// How the files that hold page records differ in them. Everything else (lines, line ends, the
// 1Ah byte that ends a file, numbers, bodies) is the same in both.
struct PageRecordFormat {
    // The expanded-state line ("TRUE" or "FALSE") follows the selected index: in the data file,
    // not in its old format and not in a tree template.
    bool expandedLine = false;
    // The line right after a page's "}}end" (the empty line before the next page) may always
    // stand at the end; this says what further lines there mean.
    LinesAfterLastPage afterLastPage = LinesAfterLastPage::Ignored;
};

// The lines of a page record before its body.
struct PageHeader {
    int level = 0;
    std::string title;
    int imageIndex = 0;
    int selectedIndex = 0;
    // False when the format has no expanded-state line.
    bool expanded = false;
};

enum class PageStatus {
    Page, // a header was read
    End, // no page is left
    Malformed, // a number that does not convert, or lines without a page the format does not allow
};

// Reads the page records of a data file or a tree template, one after the other, once the file's
// own lines before them have been read:
//
//     (empty line), "::Page::", level, title, image index, selected index, [expanded state],
//     "begin{{", body lines, "}}end"
//
// Lines before a page header are skipped, whatever they hold. Which levels and page orders make a
// tree is for the caller, as is what a malformed page means for the pages read before it.
class PageRecordReader {
public:
    PageRecordReader(LineReader& lines, PageRecordFormat format);

    // Moves to the next page header and reads the lines after it up to the one before "begin{{".
    // The reading stops at the first number that does not convert; a file that ends inside the
    // header gives empty lines, so a page cut off there is malformed.
    PageStatus readHeader(PageHeader& page);

    // Reads "begin{{", the body lines after it (appended to body, every line with CR LF; null
    // drops them) and the empty line after the body. The body ends at a line that is exactly
    // "}}end", which is not part of it; after a longer line beginning with "}}end", which is its
    // last line (the lines after it up to the next page header are lost); or at the end of the
    // file. False when the line is not "begin{{".
    bool readBody(std::string* body);

private:
    void readSeparator();

    LineReader& m_lines;
    PageRecordFormat m_format;
    // The line after the last body was already the next page's header (a file edited by hand,
    // without the empty line between pages).
    bool m_headerRead = false;
};

} // namespace notarium
