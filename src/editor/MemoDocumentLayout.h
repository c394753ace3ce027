#pragma once

#include "editor/LineBreakRules.h"

#include <QPlainTextDocumentLayout>

namespace notarium {

// The plain-text layout with the memo's own line breaking. QPlainTextDocumentLayout breaks lines
// by the Unicode rules at the viewport width; this one re-lays each block it is asked about so
// that lines wrap at the edit area's width, the not-begin and not-end sets hold and hanging
// characters may use the overflow zone. With every rule switched off, the lines still wrap at the
// edit area's width but break where the toolkit breaks them. Blocks are laid out lazily, one at a
// time, as the base class does: typing re-lays the edited block only.
class MemoDocumentLayout : public QPlainTextDocumentLayout {
    Q_OBJECT

public:
    explicit MemoDocumentLayout(QTextDocument* document);

    // Off: the base class's layout (no wrapping, or its own wrapping). On: lines start at left;
    // with a fixed width they wrap at left + width (+ overflow for hanging characters), else at
    // the viewport width less left and a small right gap.
    void setBreaking(bool on, qreal left, qreal fixedWidth, qreal overflow);
    void setViewportWidth(qreal width);
    void setRules(const LineBreakRules& rules);
    bool breaking() const { return m_on; }
    qreal left() const { return m_left; }
    qreal wrapWidth() const;
    qreal overflow() const { return m_on && m_fixedWidth > 0 ? m_overflow : 0; }

    QRectF blockBoundingRect(const QTextBlock& block) const override;
    // Lays out the block now if it is not laid out by these rules yet.
    void ensureLaidOut(const QTextBlock& block) const;
    // Every block again (after a change of the rules or of the geometry).
    void relayoutAll();

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    bool isOurs(const QTextBlock& block) const;
    void layoutBlock(const QTextBlock& block) const;

    bool m_on = false;
    qreal m_left = 0;
    qreal m_fixedWidth = 0;
    qreal m_overflow = 0;
    qreal m_viewportWidth = 0;
    LineBreakRules m_rules;
    mutable bool m_sizeSignalPending = false;
};

} // namespace notarium
