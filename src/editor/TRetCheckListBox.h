#pragma once

#include "editor/TRetListBox.h"

namespace notarium {

// A list of items with check boxes in which Enter moves the focus to the next control, as Tab
// does (with ReturnNext off, Enter goes on to the dialog, whose default button takes it). Space
// toggles the current item's check box. An item too wide for the list shows its whole text in a
// hint laid over it while the mouse rests on it.
class TRetCheckListBox : public TRetListBox {
    Q_OBJECT

public:
    explicit TRetCheckListBox(QWidget* parent = nullptr);

    // Appends an item with a check box; returns its row.
    int addCheckItem(const QString& text, bool checked = false);
    bool isChecked(int row) const;
    void setChecked(int row, bool checked);
};

} // namespace notarium
