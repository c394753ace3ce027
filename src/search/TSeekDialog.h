#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTreeView;

namespace notarium {

class HelpService;
class HistoryComboBox;
class SeekResultModel;
class TWinRoller;

// The options of the search-and-replace window the main window keeps between its openings.
struct SeekOptions {
    bool matchCase = false;
    bool ignoreWidth = false;
    bool skipBreaksAndSpaces = true;
    bool wholeWord = false;
};

// The search-and-replace window: the search and replacement texts, the options, the range and the
// list of every hit; the window's seek commands do the searching and replacing. It stays on top
// of the main window and can be rolled up to its title.
class TSeekDialog : public QDialog {
    Q_OBJECT

public:
    enum class Range { WholeDocument, SelectedTree, ShownPage };

    TSeekDialog(QWidget* mainWindow, HelpService& help, SeekResultModel& results);
    ~TSeekDialog() override;

    void setOptions(const SeekOptions& options);
    SeekOptions options() const;
    Range range() const;
    // The selected tree and the shown page can be chosen only for a category, memo or result.
    void setNodeRangesEnabled(bool enabled);
    // A read-only document: no replacement text, no replacing.
    void setReplaceAllowed(bool allowed);
    bool replaceAllowed() const;

    HistoryComboBox* findEdit() const { return m_findEdit; }
    HistoryComboBox* replEdit() const { return m_replEdit; }
    QTreeView* resultList() const { return m_resultList; }
    QLabel* statusLabel() const { return m_status; }
    QPushButton* seekButton() const { return m_seekButton; }
    QPushButton* replaceButton() const { return m_replaceButton; }
    QPushButton* replAllButton() const { return m_replAllButton; }
    QPushButton* viewButton() const { return m_viewButton; }
    QPushButton* initButton() const { return m_initButton; }
    TWinRoller* roller() const { return m_roller; }

    // The selected rows, first to last.
    QList<int> selectedRows() const;
    // The buttons that depend on the list and the texts follow them again.
    void updateButtons();
    // Empties the texts, the list and the status; only the search button's rules remain.
    void clearAll();

signals:
    void seekRequested();
    void replaceRequested();
    void replaceAllRequested();
    void viewRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitTextColumn();

    SeekResultModel& m_results;
    HistoryComboBox* m_findEdit = nullptr;
    HistoryComboBox* m_replEdit = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QCheckBox* m_matchByte = nullptr;
    QCheckBox* m_ignoreCrLf = nullptr;
    QCheckBox* m_wholeWord = nullptr;
    QRadioButton* m_wholePage = nullptr;
    QRadioButton* m_currentTree = nullptr;
    QRadioButton* m_currentPage = nullptr;
    QLabel* m_status = nullptr;
    QTreeView* m_resultList = nullptr;
    QPushButton* m_seekButton = nullptr;
    QPushButton* m_replaceButton = nullptr;
    QPushButton* m_replAllButton = nullptr;
    QPushButton* m_viewButton = nullptr;
    QPushButton* m_initButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_helpButton = nullptr;
    TWinRoller* m_roller = nullptr;
};

} // namespace notarium
