#include "settings/MemoOptionsPage.h"

#include "settings/OptionControls.h"
#include "settings/TOptionDialog.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace notarium {

using namespace option_controls;

MemoOptionsPage::MemoOptionsPage(OptionDialogState& state)
    : OptionPage(state, QStringLiteral("メモ"), TOptionDialog::kFirstHelpContext + TOptionDialog::MemoPage)
{
    auto* tabSize = spin("seIndentSize", 2, 8, 2, 1);
    auto* autoIndent = check("cbAutoIndent", QStringLiteral("オートインデント(&I)"));
    auto* bsUnindent = check("cbBSUnindent", QStringLiteral("バックスペースアンインデント(&U)"));
    auto* controlTab = check("cbControlTab", QStringLiteral("タブ文字の入力に[Ctrl]+[Tab]キーを使う(&T)"));

    auto* tabRow = new QHBoxLayout;
    tabRow->addWidget(label(QStringLiteral("メモのタブ幅(&S)"), tabSize));
    tabRow->addWidget(tabSize);
    tabRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tabRow);
    layout->addWidget(autoIndent);
    layout->addWidget(bsUnindent);
    layout->addWidget(controlTab);
    layout->addStretch(1);

    bind(key::TabSize, tabSize, true);
    bind(key::AutoIndent, autoIndent);
    bind(key::BSUnindent, bsUnindent);
    bind(key::TabControl, controlTab);
}

} // namespace notarium
