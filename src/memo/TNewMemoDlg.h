#pragma once

#include "core/document/MemoWizard.h"

#include <QDialog>

class QPushButton;

namespace notarium {

class HelpService;
class TRetEdit;
class TRetRadioButton;

// The memo wizard: a small modeless window over the main window in which each title typed and
// confirmed with OK becomes a new node, of the kind and at the level the radio buttons choose.
// With Shift held on OK (or Shift+Enter), the node is made without being selected.
class TNewMemoDlg : public QDialog {
    Q_OBJECT

public:
    TNewMemoDlg(QWidget* mainWindow, HelpService& help);

    TRetEdit* titleBox() const { return m_titleBox; }
    WizardPlacement placement() const;
    // A result needs a user node as the place it goes below.
    void setResultEnabled(bool enabled);
    // The node was made: the title box is emptied and takes the focus for the next title.
    void readyForNext(bool resultEnabled);

signals:
    // OK: a node with the title at the chosen place; keepSelection when Shift was held.
    void createRequested(notarium::WizardPlacement placement, bool keepSelection, const QString& title);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void confirm(bool keepSelection);

    TRetRadioButton* m_category = nullptr;
    TRetRadioButton* m_childCategory = nullptr;
    TRetRadioButton* m_memo = nullptr;
    TRetRadioButton* m_childMemo = nullptr;
    TRetRadioButton* m_result = nullptr;
    TRetEdit* m_titleBox = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace notarium
