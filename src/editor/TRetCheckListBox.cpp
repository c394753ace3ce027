#include "editor/TRetCheckListBox.h"

#include "editor/ReturnNext.h"
#include "editor/TListBoxHintWindow.h"

namespace notarium {

TRetCheckListBox::TRetCheckListBox(QWidget* parent)
    : QListWidget(parent)
    , m_delegate(new ListItemDelegate(this))
{
    setItemDelegate(m_delegate);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_hint = new LongItemHint(*this, *m_delegate, [this](QStyleOptionViewItem* option) { initViewItemOption(option); });
}

TRetCheckListBox::~TRetCheckListBox() = default;

int TRetCheckListBox::addCheckItem(const QString& text, bool checked)
{
    auto* item = new QListWidgetItem(text, this);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    return row(item);
}

bool TRetCheckListBox::isChecked(int row) const
{
    const QListWidgetItem* it = item(row);
    return it != nullptr && it->checkState() == Qt::Checked;
}

void TRetCheckListBox::setChecked(int row, bool checked)
{
    if (QListWidgetItem* it = item(row))
        it->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void TRetCheckListBox::keyPressEvent(QKeyEvent* event)
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
