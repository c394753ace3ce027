#include "app/QtFileDialogService.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QFileInfo>
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

} // namespace notarium
