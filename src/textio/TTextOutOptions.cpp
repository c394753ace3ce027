#include "textio/TTextOutOptions.h"

#include "app/ContextHelp.h"
#include "app/HelpWindow.h"
#include "app/WidgetHint.h"
#include "core/textio/TextExportWriter.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace notarium {

namespace {

template <typename Button> Button* control(const char* name, const char* caption, const char* hint)
{
    auto* button = new Button(QString::fromUtf8(caption));
    button->setObjectName(QString::fromLatin1(name));
    setHint(button, hint);
    return button;
}

QCheckBox* switchBox(const char* name, const char* caption, const char* hint, bool checked)
{
    auto* box = control<QCheckBox>(name, caption, hint);
    box->setChecked(checked);
    return box;
}

} // namespace

TTextOutOptions::TTextOutOptions(
    Mode mode, const TextExportOptions& initial, const Node* selected, HelpService& help, QWidget* mainWindow)
    : QDialog(mainWindow)
    , m_initial(initial)
    , m_selected(selected)
{
    setObjectName(QStringLiteral("TTextOutOptions"));
    setWindowTitle(
        mode == Mode::Print ? QStringLiteral("外部ツールで印刷") : QStringLiteral("テキストとして保存"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);

    // Tool tips break their lines with "\n".
    m_allFile = control<QRadioButton>("rbAllFile", "ファイル全体(&W)",
        "ファイル全体をテキストファイルに保存・印刷します|ファイル全体をテキストファイルに保存・印刷します");
    m_selTree = control<QRadioButton>("rbSelTree", "選択したツリーのみ(&S)",
        "選択されているツリーのテキストを\nテキストファイルに保存・印刷します|"
        "選択されているツリーのテキストをテキストファイルに保存・印刷します");
    m_selMemo = control<QRadioButton>("rbSelMemo", "選択したメモのみ(&M)",
        "選択されているメモのテキストを\nテキストファイルに保存・印刷します|"
        "選択されているメモのテキストをテキストファイルに保存・印刷します");
    m_allFile->setChecked(true);
    auto* range = new QGroupBox(QStringLiteral(" 対象 "));
    range->setObjectName(QStringLiteral("GroupBox1"));
    auto* rangeLayout = new QVBoxLayout(range);
    rangeLayout->setSpacing(4);
    for (QRadioButton* button : { m_allFile, m_selTree, m_selMemo })
        rangeLayout->addWidget(button);
    rangeLayout->addStretch(1);

    m_makeContents = switchBox("cbMakeContents", "ファイルの先頭にタイトル一覧(目次)を作成する(&N)",
        "ファイルの先頭にタイトル一覧(目次)を作成します|ファイルの先頭にタイトル一覧(目次)を作成します",
        initial.makeContents);
    m_emptyLine = switchBox("cbEmptyLine", "タイトルの後に空行を入れて１行あける(&E)",
        "タイトルと本文の間を１行あけます|タイトルと本文の間を１行あけます", initial.emptyLine);
    m_ignorePaperFolder = switchBox("cbIgnorePaperFolder", "Paper Folderのメモを無視する(&P)",
        "Paper Folderにあるメモを出力しません|Paper Folderにあるメモを出力しません",
        initial.ignorePaperFolder);
    m_newPage = switchBox("cbNewPage", "データツリーごとに改ページコードを挿入する(&L)",
        "データのツリー（グループ）を出力するごとに\n改ページコードを出力します|"
        "データのツリー（グループ）を出力するごとに改ページコードを出力します",
        initial.newPage);
    auto* switches = new QVBoxLayout;
    switches->setSpacing(2);
    for (QCheckBox* box : { m_makeContents, m_emptyLine, m_ignorePaperFolder, m_newPage })
        switches->addWidget(box);
    switches->addStretch(1);

    m_ok = dialogButton("OKButton", "OK",
        "テキストファイルに保存または印刷を実行します|テキストファイルに保存または印刷を実行します");
    m_ok->setDefault(true);
    auto* cancel = dialogButton("BitBtn2", "Cancel", "実行をキャンセルします|実行をキャンセルします");
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);

    auto* top = new QHBoxLayout;
    top->setSpacing(10);
    top->addWidget(range);
    top->addLayout(switches, 1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 6, 8, 8);
    outer->setSpacing(6);
    outer->addLayout(top, 1);
    outer->addLayout(buttons);

    for (QRadioButton* button : { m_allFile, m_selTree, m_selMemo })
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                updateControls();
        });
    updateControls();
    new ContextHelp(this, help, HelpWindow::TextOutOptionsContext);
    // A dialog border: the window keeps its size.
    setFixedSize(sizeHint().expandedTo(QSize(470, 135)));
    m_allFile->setFocus();
}

QRadioButton* TTextOutOptions::scopeButton(ExportScope scope) const
{
    switch (scope) {
    case ExportScope::WholeFile:
        return m_allFile;
    case ExportScope::SelectedTree:
        return m_selTree;
    case ExportScope::SelectedMemo:
        return m_selMemo;
    }
    return m_allFile;
}

ExportScope TTextOutOptions::scope() const
{
    if (m_selTree->isChecked())
        return ExportScope::SelectedTree;
    if (m_selMemo->isChecked())
        return ExportScope::SelectedMemo;
    return ExportScope::WholeFile;
}

void TTextOutOptions::updateControls()
{
    const ExportScope current = scope();
    m_makeContents->setEnabled(current != ExportScope::SelectedMemo);
    m_ignorePaperFolder->setEnabled(current == ExportScope::WholeFile);
    m_newPage->setEnabled(current == ExportScope::WholeFile);
    m_ok->setEnabled(exportScopeAvailable(current, m_selected));
}

TextExportOptions TTextOutOptions::options() const
{
    const auto on = [](const QCheckBox* box) { return box->isChecked() && box->isEnabled(); };
    TextExportOptions options = m_initial;
    options.makeContents = on(m_makeContents);
    options.emptyLine = on(m_emptyLine);
    options.ignorePaperFolder = on(m_ignorePaperFolder);
    options.newPage = on(m_newPage);
    return options;
}

} // namespace notarium
