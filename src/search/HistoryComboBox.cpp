#include "search/HistoryComboBox.h"

#include "core/search/FindWalk.h"
#include "editor/ImeLineEdit.h"

#include <QKeyEvent>

namespace notarium {

HistoryComboBox::HistoryComboBox(QWidget* parent)
    : QComboBox(parent)
    , m_edit(new ImeLineEdit)
{
    setEditable(true);
    setLineEdit(m_edit);
    m_edit->setMaxLength(kMaxLength);
    // The history is ordered by the program; typing Enter must not add or sort entries.
    setInsertPolicy(QComboBox::NoInsert);
    setDuplicatesEnabled(true);
    setCompleter(nullptr);
    setMaxVisibleItems(15);
    m_edit->installEventFilter(this);
}

bool HistoryComboBox::isComposing() const
{
    return m_edit->isComposing();
}

void HistoryComboBox::setHistory(const std::vector<std::string>& entries)
{
    const QString text = currentText();
    clear();
    for (const std::string& entry : entries)
        addItem(QString::fromStdString(entry));
    setCurrentIndex(-1);
    setEditText(text);
}

std::vector<std::string> HistoryComboBox::history() const
{
    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(count()));
    for (int i = 0; i < count(); ++i)
        entries.push_back(itemText(i).toStdString());
    return entries;
}

void HistoryComboBox::remember()
{
    std::vector<std::string> entries = history();
    pushHistory(entries, currentText().toStdString());
    setHistory(entries);
    if (!currentText().isEmpty())
        setCurrentIndex(0);
}

bool HistoryComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress && m_edit->isComposing()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            event->accept();
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

} // namespace notarium
