#pragma once

#include "settings/OptionPage.h"

#include <QStringList>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace notarium {

class TRetListBox;

// Page 入力支援リスト: the stock phrases of the input helper list (HelpList.dat), one per row.
// Choosing a row shows it in the string box, where typing changes it; rows are added after the
// chosen one, deleted and moved, or kept sorted. OK saves the phrases to the file and hands
// them to the window's helper list.
class HelperListPage : public OptionPage {
    Q_OBJECT

public:
    explicit HelperListPage(OptionDialogState& state);

    void load(const Settings& settings) override;
    void store(Settings& settings, OptionScope scope) const override;
    bool saveFiles(QString* error) override;

    QStringList phrases() const;

private:
    void setPhrases(const QStringList& phrases);
    void followSelection();
    void sortRows();
    void addRow();
    void editRow();
    void deleteRow();
    void moveRow(int step);

    TRetListBox* m_list = nullptr;
    QLineEdit* m_string = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
    QCheckBox* m_sorted = nullptr;
    bool m_fileRead = false; // the file existed and was read
    bool m_fileRefused = false; // the file exists but could not be read (too large, say)
    bool m_changed = false; // the person changed the phrases or their order
};

} // namespace notarium
