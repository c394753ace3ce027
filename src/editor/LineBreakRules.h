#pragma once

#include <QString>
#include <QStringView>

namespace notarium {

// Where a display line may end, given the characters that may not begin a line, may not end a
// line, may hang into the overflow zone, and delimit Latin words. Pure: the layout measures, this
// decides.
class LineBreakRules {
public:
    QString notBegin;
    QString notEnd;
    QString hang;
    QString delimiters;
    bool kinsoku = true; // the not-begin and not-end sets are applied
    bool wordBreak = true; // a Latin word is not split while it fits on a line of its own
    bool hanging = true; // characters of the hang set may use the overflow zone

    bool mayHang(QChar c) const { return hanging && hang.contains(c); }
    // Any of the three switches is on. When none is, lines break where the toolkit's own
    // line-breaking rules put them, and none of this class's rules is consulted.
    bool enabled() const { return kinsoku || wordBreak || hanging; }

    // The end (exclusive) of the display line that starts at start in text. fitEnd is the end of
    // what fits in the wrap width (start < fitEnd), hangEnd the end of what fits when the overflow
    // zone is added (hangEnd >= fitEnd). The result lies after start; a line that cannot satisfy
    // the rules (a run of not-begin characters longer than a line) is cut where it fits.
    int lineEnd(QStringView text, int start, int fitEnd, int hangEnd) const;

private:
    bool isWordChar(QChar c) const;
    bool badBreak(QStringView text, int at) const;
};

} // namespace notarium
