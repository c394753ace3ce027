#include "app/QtFileDialogService.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

namespace notarium {

QString QtFileDialogService::qtFilter(const QString& filter)
{
    if (!filter.contains(QLatin1Char('|')))
        return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        QString patterns = i + 1 < parts.size() ? parts.at(i + 1).trimmed() : QString();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns = patterns.simplified();
        if (description.isEmpty() && patterns.isEmpty())
            continue;
        // Qt takes the patterns from the last parentheses of the description; a description that
        // already shows its patterns ("Notarium File (*.nmd)") is used as it stands.
        static const QRegularExpression shownPatterns(QStringLiteral("\\(([^()]*)\\)\\s*$"));
        const QRegularExpressionMatch match = shownPatterns.match(description);
        if (match.hasMatch() && match.captured(1).simplified() == patterns)
            filters.append(description);
        else if (description.isEmpty())
            filters.append(patterns);
        else
            filters.append(description + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

QString QtFileDialogService::openFileName(
    QWidget* parent, const QString& title, const QString& folder, const QString& filter, bool* readOnly)
{
    QFileDialog dialog(parent, title, folder, qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    QCheckBox* readOnlyBox = nullptr;
    if (readOnly != nullptr) {
        *readOnly = false;
        // The platform dialogs have no place for an extra box; Qt's own dialog lays itself out
        // in a grid, with a free cell under the file type row.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
            readOnlyBox = new QCheckBox(QStringLiteral("読み取り専用ファイルとして開く(&R)"), &dialog);
            readOnlyBox->setObjectName(QStringLiteral("ReadOnlyBox"));
            grid->addWidget(readOnlyBox, grid->rowCount(), 0, 1, grid->columnCount());
        }
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    if (readOnlyBox != nullptr)
        *readOnly = readOnlyBox->isChecked();
    return dialog.selectedFiles().constFirst();
}

QString QtFileDialogService::saveFileName(QWidget* parent, const QString& title, const QString& initialPath,
    const QString& filter, const QString& defaultSuffix)
{
    const QFileInfo initial(initialPath);
    // An initial path that is a folder opens the dialog there with an empty name; a file path
    // (the current document, or "Untitled") proposes that name in its folder.
    QFileDialog dialog(parent, title, QString(), qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (initial.isDir()) {
        dialog.setDirectory(initial.absoluteFilePath());
    } else if (!initialPath.isEmpty()) {
        if (initial.isAbsolute() || initialPath.contains(QLatin1Char('/')))
            dialog.setDirectory(initial.absolutePath());
        dialog.selectFile(initial.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtFileDialogService::folderName(QWidget* parent, const QString& caption, const QString& folder)
{
    return QFileDialog::getExistingDirectory(parent, caption, folder, QFileDialog::ShowDirsOnly);
}

namespace {

// The face the machine shows for family: itself when installed, else its substitute.
QString shownFamily(const QString& family)
{
    if (QFontDatabase::hasFamily(family))
        return family;
    const QStringList substitutes = QFont::substitutes(family);
    for (const QString& substitute : substitutes)
        if (QFontDatabase::hasFamily(substitute))
            return substitute;
    return family;
}

void paintSwatch(QPushButton* button, const QColor& colour)
{
    QPixmap swatch(28, 14);
    swatch.fill(colour);
    button->setIcon(QIcon(swatch));
    button->setIconSize(swatch.size());
}

} // namespace

std::optional<FontChoice> QtFileDialogService::chooseFont(QWidget* parent, const FontChoice& initial)
{
    QFont shown = initial.font;
    shown.setFamily(shownFamily(initial.font.family()));
    QFontDialog dialog(shown, parent);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    // The text colour belongs to the font here, as the settings keep it with the face.
    QColor colour = initial.colour;
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        auto* row = new QHBoxLayout;
        auto* label = new QLabel(QStringLiteral("色(&C):"), &dialog);
        auto* button = new QPushButton(&dialog);
        button->setObjectName(QStringLiteral("FontColourButton"));
        label->setBuddy(button);
        paintSwatch(button, colour);
        QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, button, &colour] {
            const QColor chosen = QColorDialog::getColor(colour, &dialog);
            if (chosen.isValid()) {
                colour = chosen;
                paintSwatch(button, colour);
            }
        });
        row->addWidget(label);
        row->addWidget(button);
        row->addStretch(1);
        grid->addLayout(row, grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    FontChoice chosen { dialog.selectedFont(), colour };
    if (chosen.font.family() == shown.family())
        chosen.font.setFamily(initial.font.family());
    return chosen;
}

std::optional<QColor> QtFileDialogService::chooseColour(
    QWidget* parent, const QColor& initial, QList<QColor>& customColours)
{
    for (int i = 0; i < QColorDialog::customCount() && i < customColours.size(); ++i)
        QColorDialog::setCustomColor(i, customColours.at(i));
    QColorDialog dialog(initial, parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    for (int i = 0; i < QColorDialog::customCount() && i < customColours.size(); ++i)
        customColours[i] = QColorDialog::customColor(i);
    if (!accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

} // namespace notarium
