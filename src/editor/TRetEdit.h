#pragma once

#include "editor/ImeLineEdit.h"

namespace notarium {

// A one-line edit in which Enter moves the focus to the next control, as Tab does (with
// ReturnNext off, Enter goes on to the dialog, whose default button takes it). Enter during an
// input method composition stays the input method's.
class TRetEdit : public ImeLineEdit {
    Q_OBJECT
    Q_PROPERTY(bool ReturnNext READ ReturnNext WRITE setReturnNext)

public:
    explicit TRetEdit(QWidget* parent = nullptr);

    bool ReturnNext() const { return m_returnNext; }
    void setReturnNext(bool on) { m_returnNext = on; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_returnNext = true;
};

} // namespace notarium
