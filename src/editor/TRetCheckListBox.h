#pragma once

#include <QListWidget>

namespace notarium {

class ListItemDelegate;
class LongItemHint;

// A list of items with check boxes in which Enter moves the focus to the next control, as Tab
// does (with ReturnNext off, Enter goes on to the dialog, whose default button takes it). Space
// toggles the current item's check box. An item too wide for the list shows its whole text in a
// hint laid over it while the mouse rests on it.
class TRetCheckListBox : public QListWidget {
    Q_OBJECT
    Q_PROPERTY(bool ReturnNext READ ReturnNext WRITE setReturnNext)

public:
    explicit TRetCheckListBox(QWidget* parent = nullptr);
    ~TRetCheckListBox() override;

    bool ReturnNext() const { return m_returnNext; }
    void setReturnNext(bool on) { m_returnNext = on; }

    // Appends an item with a check box; returns its row.
    int addCheckItem(const QString& text, bool checked = false);
    bool isChecked(int row) const;
    void setChecked(int row, bool checked);
    LongItemHint& longItemHint() const { return *m_hint; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_returnNext = true;
    ListItemDelegate* m_delegate = nullptr;
    LongItemHint* m_hint = nullptr;
};

} // namespace notarium
