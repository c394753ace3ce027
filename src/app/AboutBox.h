#pragma once

#include <QDialog>

namespace notarium {

// "バージョン情報": the program's name, version and what it is.
class AboutBox : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(QWidget* parent = nullptr);

    static QString versionText();
};

} // namespace notarium
