#pragma once

#include <QLineEdit>

namespace notarium {

// A box that takes one key combination as a shortcut number: the key pressed with Shift, Ctrl and
// Alt in any mix. Unlike a plain hot key box it also takes Backspace, Enter, Esc, Space and Delete,
// so they are keys here rather than editing, closing the dialog or pressing its default button;
// only Tab and Shift+Tab keep moving the focus. Combinations with Ctrl and Alt together are
// refused unless allowed, and so are keys the settings file cannot store. While modifiers are
// held without a key, the box shows them; let go, it shows the key it holds again.
class THotKeyEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit THotKeyEdit(QWidget* parent = nullptr);

    void setCtrlAltAllowed(bool allowed) { m_ctrlAltAllowed = allowed; }
    bool isCtrlAltAllowed() const { return m_ctrlAltAllowed; }

    // 0 when the box is empty.
    int shortcut() const { return m_shortcut; }
    void setShortcut(int shortcut);
    void clearShortcut() { setShortcut(0); }

    // What a shortcut looks like to the person: the platform's key names with " + " between them
    // ("Ctrl + Shift + B", "Ctrl + +"); empty for 0.
    static QString displayText(int shortcut);

    // Keys reach the box raw: no input method composes them.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    void shortcutChanged(int shortcut);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    static bool movesFocus(const QKeyEvent* event);
    // The shortcut number of the combination, 0 when the box does not take it.
    int shortcutOf(const QKeyEvent* event) const;
    void showHeldModifiers(Qt::KeyboardModifiers modifiers);
    void showShortcut();

    int m_shortcut = 0;
    bool m_ctrlAltAllowed = false;
};

} // namespace notarium
