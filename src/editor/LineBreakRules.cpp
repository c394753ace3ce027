#include "editor/LineBreakRules.h"

namespace notarium {

bool LineBreakRules::isWordChar(QChar c) const
{
    const char16_t u = c.unicode();
    return u > u' ' && u < 0x7F && !delimiters.contains(c);
}

bool LineBreakRules::badBreak(QStringView text, int at) const
{
    return notBegin.contains(text[at]) || notEnd.contains(text[at - 1]);
}

int LineBreakRules::lineEnd(QStringView text, int start, int fitEnd, int hangEnd) const
{
    const int size = static_cast<int>(text.size());
    if (fitEnd >= size)
        return size;
    int end = fitEnd;
    if (hanging)
        while (end < hangEnd && end < size && hang.contains(text[end]))
            ++end;
    // Spaces at the wrap column hang past it invisibly rather than begin the next line.
    while (end < size && text[end] == u' ')
        ++end;
    if (end >= size)
        return size;

    if (wordBreak && isWordChar(text[end]) && isWordChar(text[end - 1])) {
        int wordStart = end - 1;
        while (wordStart > start && isWordChar(text[wordStart - 1]))
            --wordStart;
        if (wordStart > start)
            end = wordStart;
    }
    if (kinsoku && badBreak(text, end)) {
        int k = end;
        while (k > start + 1 && badBreak(text, k))
            --k;
        if (!badBreak(text, k))
            end = k; // else no better place inside the line: cut where it fits
    }
    return end;
}

} // namespace notarium
