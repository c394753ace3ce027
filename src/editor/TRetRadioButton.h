#pragma once

#include <QRadioButton>

namespace notarium {

// A radio button in which Enter moves the focus to the next control, as Tab does (with ReturnNext
// off, Enter goes on to the dialog, whose default button takes it).
class TRetRadioButton : public QRadioButton {
    Q_OBJECT
    Q_PROPERTY(bool ReturnNext READ ReturnNext WRITE setReturnNext)

public:
    explicit TRetRadioButton(QWidget* parent = nullptr);
    explicit TRetRadioButton(const QString& text, QWidget* parent = nullptr);

    bool ReturnNext() const { return m_returnNext; }
    void setReturnNext(bool on) { m_returnNext = on; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_returnNext = true;
};

} // namespace notarium
