#pragma once

#include <QObject>

class QWheelEvent;

namespace notarium {

class TExtMemo;

// The mouse wheel over the memo side of the window and the window's frame scrolls the memo pane:
// by the desktop's wheel line count, or a page with Ctrl held, and only when the text is longer
// than the pane. The wheel never zooms the text and never reaches the pane's own handling. The
// tree pane keeps its wheel: it is not watched.
class MemoWheel : public QObject {
    Q_OBJECT

public:
    explicit MemoWheel(TExtMemo* memo, QObject* parent = nullptr);

    // Wheel events delivered to target (or passed up to it) follow the rule.
    void watch(QObject* target);
    // A wheel over this widget that it did not use (a tree already scrolled to its end) is let
    // go instead of scrolling the memo pane.
    void exclude(QWidget* widget) { m_excluded = widget; }

    // Lines of the memo's font that fit into its viewport.
    int linesThatFit() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void scroll(const QWheelEvent& event);

    TExtMemo* m_memo;
    QWidget* m_excluded = nullptr;
    // Wheels with fine steps (touch pads) report parts of a notch; they add up to whole ones.
    int m_pending = 0;
};

} // namespace notarium
