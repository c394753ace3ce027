#pragma once

#include "core/textio/TextExportOptions.h"

#include <QDialog>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace notarium {

class HelpService;
class Node;

// The choices of one text export run: which nodes, and the four layout switches, shown as the
// settings have them. Nothing chosen here is written back to the settings.
class TTextOutOptions : public QDialog {
    Q_OBJECT

public:
    enum class Mode { Save, Print };

    // selected: the tree's selected node, for the two selection ranges.
    TTextOutOptions(Mode mode, const TextExportOptions& initial, const Node* selected, HelpService& help,
        QWidget* mainWindow);

    ExportScope scope() const;
    // The initial options with the switches as the window shows them; a switch the range disables
    // counts as off.
    TextExportOptions options() const;

    QRadioButton* scopeButton(ExportScope scope) const;
    QPushButton* okButton() const { return m_ok; }

private:
    void updateControls();

    TextExportOptions m_initial;
    const Node* m_selected;
    QRadioButton* m_allFile = nullptr;
    QRadioButton* m_selTree = nullptr;
    QRadioButton* m_selMemo = nullptr;
    QCheckBox* m_makeContents = nullptr;
    QCheckBox* m_emptyLine = nullptr;
    QCheckBox* m_ignorePaperFolder = nullptr;
    QCheckBox* m_newPage = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace notarium
