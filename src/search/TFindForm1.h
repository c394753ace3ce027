#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace notarium {

class HelpService;
class HistoryComboBox;
class TWinRoller;
struct FindState;

// The find window: a small modeless window over the main window that takes the search text and
// the options; each press of its find button asks the window's find commands for the next hit.
// It can be rolled up to its title (Ctrl+Page Up, Ctrl+Page Down, the button at its top right).
class TFindForm1 : public QDialog {
    Q_OBJECT

public:

    TFindForm1(QWidget* mainWindow, HelpService& help);
    ~TFindForm1() override;

    // Fills the window for a new search: the search text, the options and the range from state
    // (the shown page only takes the title box out); titles off, bodies on, forward.
    void start(const FindState& state, const QString& searchText);
    // The window's options and text into state.
    void store(FindState& state) const;

    HistoryComboBox* findEdit() const { return m_findEdit; }
    TWinRoller* roller() const { return m_roller; }
    // An input method composition is under way in the search text box.
    bool isComposing() const;

signals:
    // The find button was pressed; the history already holds the text.
    void findRequested();

private:
    void updateFindButton();
    void rangeChanged();

    HistoryComboBox* m_findEdit = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QCheckBox* m_matchByte = nullptr;
    QCheckBox* m_ignoreCrLf = nullptr;
    QCheckBox* m_wholeWord = nullptr;
    QRadioButton* m_backward = nullptr;
    QRadioButton* m_forward = nullptr;
    QRadioButton* m_wholePage = nullptr;
    QRadioButton* m_currentPage = nullptr;
    QCheckBox* m_title = nullptr;
    QCheckBox* m_body = nullptr;
    QPushButton* m_findButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    TWinRoller* m_roller = nullptr;
};

} // namespace notarium
