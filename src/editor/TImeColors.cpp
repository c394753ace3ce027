#include "editor/TImeColors.h"

#include <vector>

namespace notarium {

namespace {

bool isHighlighted(const QTextFormat& format)
{
    if (format.hasProperty(QTextFormat::BackgroundBrush)) {
        const QBrush brush = format.background();
        return brush.style() != Qt::NoBrush;
    }
    return false;
}

} // namespace

QList<QInputMethodEvent::Attribute> TImeColors::rewrite(
    const QList<QInputMethodEvent::Attribute>& attributes, int preeditLength) const
{
    QList<QInputMethodEvent::Attribute> out;
    if (preeditLength <= 0) {
        for (const auto& attribute : attributes)
            if (attribute.type != QInputMethodEvent::TextFormat)
                out.append(attribute);
        return out;
    }
    // 0 typed, 1 converted, 2 clause being worked on
    std::vector<int> state(static_cast<std::size_t>(preeditLength), 0);
    bool anyHighlight = false;
    for (const auto& attribute : attributes) {
        if (attribute.type != QInputMethodEvent::TextFormat) {
            out.append(attribute);
            continue;
        }
        if (!isHighlighted(qvariant_cast<QTextFormat>(attribute.value)))
            continue;
        anyHighlight = true;
        const int from = std::max(0, attribute.start);
        const int to = std::min(preeditLength, attribute.start + attribute.length);
        for (int i = from; i < to; ++i)
            state[static_cast<std::size_t>(i)] = 2;
    }
    if (anyHighlight)
        for (int& s : state)
            if (s == 0)
                s = 1;
    const TImeColor* colours[] = { &Untransfered, &Transfered, &WatchingTransfered };
    int runStart = 0;
    for (int i = 1; i <= preeditLength; ++i) {
        if (i < preeditLength
            && state[static_cast<std::size_t>(i)] == state[static_cast<std::size_t>(runStart)])
            continue;
        const TImeColor* colour = colours[state[static_cast<std::size_t>(runStart)]];
        out.append(QInputMethodEvent::Attribute(
            QInputMethodEvent::TextFormat, runStart, i - runStart, colour->charFormat()));
        runStart = i;
    }
    return out;
}

} // namespace notarium
