#pragma once

#include "settings/OptionPage.h"

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace notarium {

// Page フォルダ: the default folder of the data files, the backup file and its folder, the
// template folder and how often the recovery copy of an unsaved document is written. OK asks to
// create a folder that does not exist.
class FolderPage : public OptionPage {
    Q_OBJECT

public:
    explicit FolderPage(OptionDialogState& state);

    void load(const Settings& settings) override;
    QWidget* refuseOk() override;

private:
    QLineEdit* folderRow(QGridLayout* grid, int row, const char* name, const QString& caption, QLabel** label = nullptr,
        QPushButton** browseButton = nullptr);
    void followBackup();

    QLineEdit* m_defaultFolder = nullptr;
    QCheckBox* m_backupFile = nullptr;
    QLineEdit* m_backupFolder = nullptr;
    QLabel* m_backupLabel = nullptr;
    QPushButton* m_backupBrowse = nullptr;
    QLineEdit* m_templateFolder = nullptr;
};

} // namespace notarium
