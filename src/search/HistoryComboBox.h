#pragma once

#include <QComboBox>

#include <string>
#include <vector>

namespace notarium {

class ImeLineEdit;

// The search text and replacement text boxes: an editable combo box over a history, most recent
// first, typed into through the input method like the title box. While a composition is under way
// Enter belongs to the input method and does not reach the window's default button.
class HistoryComboBox : public QComboBox {
    Q_OBJECT

public:
    static constexpr int kMaxLength = 128;

    explicit HistoryComboBox(QWidget* parent = nullptr);

    ImeLineEdit* edit() const { return m_edit; }
    bool isComposing() const;

    // The history as the settings keep it (UTF-8).
    void setHistory(const std::vector<std::string>& entries);
    std::vector<std::string> history() const;
    // The current text goes to the top of the history, an equal entry moving there; the text
    // stays as typed.
    void remember();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ImeLineEdit* m_edit = nullptr;
};

} // namespace notarium
