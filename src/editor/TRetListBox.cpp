#include "editor/TRetListBox.h"

#include "editor/ReturnNext.h"
#include "editor/TListBoxHintWindow.h"

namespace notarium {

TRetListBox::TRetListBox(QWidget* parent)
    : QListWidget(parent)
    , m_delegate(new ListItemDelegate(this))
{
    setItemDelegate(m_delegate);
    // A list box: long items are shown by the hint, not by scrolling sideways.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_hint = new LongItemHint(*this, *m_delegate, [this](QStyleOptionViewItem* option) { initViewItemOption(option); });
}

TRetListBox::~TRetListBox() = default;

void TRetListBox::setItemHeight(int pixels)
{
    m_delegate->setItemHeight(pixels);
    doItemsLayout();
}

int TRetListBox::itemHeight() const
{
    return m_delegate->itemHeight();
}

void TRetListBox::keyPressEvent(QKeyEvent* event)
{
    if (m_returnNext && isReturnNextKey(event)) {
        // The window's order, not the list's own Tab handling.
        QWidget::focusNextPrevChild(true);
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

} // namespace notarium
