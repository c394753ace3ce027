#include "app/MemoWheel.h"

#include "editor/TExtMemo.h"

#include <QApplication>
#include <QWheelEvent>

namespace notarium {

namespace {

constexpr int kNotch = 120;

} // namespace

MemoWheel::MemoWheel(TExtMemo* memo, QObject* parent)
    : QObject(parent)
    , m_memo(memo)
{
}

void MemoWheel::watch(QObject* target)
{
    target->installEventFilter(this);
}

int MemoWheel::linesThatFit() const
{
    const double pointSize = m_memo->font().pointSizeF() > 0 ? m_memo->font().pointSizeF()
                                                             : m_memo->fontMetrics().height() * 72.0 / m_memo->logicalDpiY();
    const double lineHeight = pointSize * m_memo->logicalDpiY() / 72.0;
    return lineHeight > 0 ? static_cast<int>(m_memo->viewport()->height() / lineHeight) : 0;
}

bool MemoWheel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Wheel)
        return QObject::eventFilter(watched, event);
    const auto* wheel = static_cast<QWheelEvent*>(event);
    QWidget* under = QApplication::widgetAt(wheel->globalPosition().toPoint());
    if (m_excluded == nullptr || under == nullptr || !(under == m_excluded || m_excluded->isAncestorOf(under)))
        scroll(*wheel);
    event->accept();
    return true;
}

void MemoWheel::scroll(const QWheelEvent& event)
{
    if (m_memo->LineCount() <= linesThatFit()) {
        m_pending = 0;
        return;
    }
    m_pending += event.angleDelta().y();
    const int notches = m_pending / kNotch;
    m_pending %= kNotch;
    if (notches == 0)
        return;
    // A wheel turned towards the person (negative delta) moves down through the text.
    if (event.modifiers() & Qt::ControlModifier) {
        const auto page = notches < 0 ? TExtMemo::ScrollAction::PageDown : TExtMemo::ScrollAction::PageUp;
        for (int i = 0; i < std::abs(notches); ++i)
            m_memo->Scroll(page);
        return;
    }
    m_memo->LineScroll(0, -notches * QApplication::wheelScrollLines());
}

} // namespace notarium
