#pragma once

#include <QListWidget>

namespace notarium {

class ListItemDelegate;
class LongItemHint;

// A list in which Enter moves the focus to the next control, as Tab does (with ReturnNext off,
// Enter goes on to the dialog, whose default button takes it). An item too wide for the list
// shows its whole text in a hint laid over it while the mouse rests on it.
class TRetListBox : public QListWidget {
    Q_OBJECT
    Q_PROPERTY(bool ReturnNext READ ReturnNext WRITE setReturnNext)

public:
    explicit TRetListBox(QWidget* parent = nullptr);
    ~TRetListBox() override;

    bool ReturnNext() const { return m_returnNext; }
    void setReturnNext(bool on) { m_returnNext = on; }
    // Every item this many pixels high; 0 (the default) leaves the height to the style.
    void setItemHeight(int pixels);
    int itemHeight() const;
    LongItemHint& longItemHint() const { return *m_hint; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_returnNext = true;
    ListItemDelegate* m_delegate = nullptr;
    LongItemHint* m_hint = nullptr;
};

} // namespace notarium
