#include "settings/ToolPage.h"

#include "settings/OptionControls.h"
#include "settings/TOptionDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace notarium {

using namespace option_controls;

namespace {

// A path box and its browse button, which picks a program.
QHBoxLayout* programRow(OptionPage* page, OptionDialogState& state, QLineEdit* box, const char* browseName)
{
    auto* browse = button(browseName, QStringLiteral("参照..."));
    QObject::connect(browse, &QPushButton::clicked, page, [page, &state, box] {
        const QString program = state.services.files->openFileName(
            page->window(), QStringLiteral("プログラムの選択"), box->text(), QStringLiteral("プログラム|*"));
        if (!program.isEmpty())
            box->setText(program);
    });
    auto* row = new QHBoxLayout;
    row->addWidget(box, 1);
    row->addWidget(browse);
    return row;
}


} // namespace

ToolPage::ToolPage(OptionDialogState& state)
    : OptionPage(state, QStringLiteral("外部ツール"), TOptionDialog::kFirstHelpContext + TOptionDialog::ToolPage)
{
    auto* editor = edit("TextEditor");
    editor->setPlaceholderText(QStringLiteral("（空欄: インストールされているエディター）"));
    auto* parameter = edit("Parameter");
    auto* waitTime = spin("seWaitTime", 100, 5000, 100, 4);
    auto* badEnv
        = check("cbBadEnv", QStringLiteral("外部エディターで編集を開始しても Notariumにすぐ戻ってしまう(&B)"));
    auto* editorGroup = new QGroupBox(QStringLiteral(" テキストエディター "));
    auto* editorGrid = new QGridLayout(editorGroup);
    editorGrid->addWidget(label(QStringLiteral("パス(&T)"), editor), 0, 0);
    editorGrid->addLayout(programRow(this, this->state(), editor, "TextEditorBrowse"), 0, 1, 1, 3);
    editorGrid->addWidget(label(QStringLiteral("オプション(&P)"), parameter), 1, 0);
    editorGrid->addWidget(parameter, 1, 1);
    editorGrid->addWidget(label(QStringLiteral("ウエイト(&W)"), waitTime), 1, 2, Qt::AlignRight);
    auto* wait = new QHBoxLayout;
    wait->addWidget(waitTime);
    wait->addWidget(new QLabel(QStringLiteral("ms")));
    editorGrid->addLayout(wait, 1, 3);
    editorGrid->addWidget(badEnv, 2, 0, 1, 4);
    editorGrid->setColumnStretch(1, 1);

    m_printTool = edit("PrintTool");
    m_printParam = edit("PrintParam");
    auto* printGroup = new QGroupBox(QStringLiteral(" 外部印刷ツール "));
    auto* printGrid = new QGridLayout(printGroup);
    printGrid->addWidget(label(QStringLiteral("パス(&H)"), m_printTool), 0, 0);
    printGrid->addLayout(programRow(this, this->state(), m_printTool, "PrintToolBrowse"), 0, 1);
    printGrid->addWidget(label(QStringLiteral("オプション(&N)"), m_printParam), 1, 0);
    printGrid->addWidget(m_printParam, 1, 1);
    printGrid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(editorGroup);
    layout->addWidget(printGroup);
    layout->addStretch(1);

    bind(key::TextEditor, editor);
    bind(key::TextOption, parameter);
    bind(key::WaitTime, waitTime);
    bind(key::TextBadEnv, badEnv);
}

void ToolPage::load(const Settings& settings)
{
    OptionPage::load(settings);
    m_printTool->setText(QString::fromStdString(settings.getForDialog(key::PrintTool)));
    m_printParam->setText(QString::fromStdString(settings.getForDialog(key::PrintOption)));
}

void ToolPage::store(Settings& settings, OptionScope scope) const
{
    OptionPage::store(settings, scope);
    // An emptied tool box leaves the stored tool as it was, its options too.
    if (scope == OptionScope::Ok && !m_printTool->text().trimmed().isEmpty()) {
        settings.set(key::PrintTool, m_printTool->text().toStdString());
        settings.set(key::PrintOption, m_printParam->text().toStdString());
    }
}

} // namespace notarium
