#pragma once

#include "settings/OptionPage.h"

#include <optional>
#include <string>

class QListWidgetItem;
class QPushButton;

namespace notarium {

class TRetCheckListBox;

// Page デフォルトのタイトル: the sets of titles a new category, memo and result get. Exactly one
// set is checked, the one the new-node commands use; sets are added and changed in the small
// title editor, and the last set cannot be deleted.
class DefaultTitlePage : public OptionPage {
    Q_OBJECT

public:
    explicit DefaultTitlePage(OptionDialogState& state);

    void load(const Settings& settings) override;
    void store(Settings& settings, OptionScope scope) const override;

private:
    void addRow(const std::string& commaText, bool checked);
    void setRowText(QListWidgetItem* item, const std::string& commaText);
    void keepOneChecked(QListWidgetItem* changed);
    void checkOnly(int row);
    int checkedRow() const;
    void followSelection();
    void addSet();
    void editSet();
    void deleteSet();

    TRetCheckListBox* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    bool m_checking = false;
};

} // namespace notarium
