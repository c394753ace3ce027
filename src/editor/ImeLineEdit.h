#pragma once

#include "editor/InputMethodSwitch.h"

#include <QLineEdit>

namespace notarium {

// A one-line edit whose input method can be opened and closed by the program (the title box).
class ImeLineEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit ImeLineEdit(QWidget* parent = nullptr);

    // Open by default. Closing during a composition commits the composed text first.
    void setInputMethodOpen(bool open);
    bool isInputMethodOpen() const { return m_ime.isOpen(); }
    // An input method composition is under way (its pre-edit text is shown at the cursor).
    bool isComposing() const { return !m_preedit.isEmpty(); }

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    // The form the application's input method calls by name (QInputMethod::queryFocusObject).
    Q_INVOKABLE QVariant inputMethodQuery(Qt::InputMethodQuery query, QVariant argument) const;

protected:
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    InputMethodSwitch m_ime;
    // The line edit keeps its pre-edit text to itself; this is the text of the last composition
    // event it took.
    QString m_preedit;
};

} // namespace notarium
