#include "editor/TRetCheckListBox.h"

namespace notarium {

TRetCheckListBox::TRetCheckListBox(QWidget* parent)
    : TRetListBox(parent)
{
}

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

} // namespace notarium
