#include "settings/TreeOptionsPage.h"

#include "settings/OptionControls.h"
#include "settings/TOptionDialog.h"

#include <QVBoxLayout>

namespace notarium {

using namespace option_controls;

TreeOptionsPage::TreeOptionsPage(OptionDialogState& state)
    : OptionPage(state, QStringLiteral("ツリー"), TOptionDialog::kFirstHelpContext + TOptionDialog::TreePage)
{
    m_saveTreeState = check("cbSaveTreeState", QStringLiteral("ツリーの開閉状態を保存・再現する(&S)"));
    m_expandAll = check("cbExpandAll", QStringLiteral("オープン時にすべてのツリーを展開する(&O)"));
    auto* saveCurrentNode = check("cbSaveCurrentNode", QStringLiteral("注目メモの位置を保存・再現する(&M)"));
    auto* saveBookmark = check("cbSaveBookmark", QStringLiteral("ブックマークを保存・再現する(&B)"));
    auto* noChipHint = check("cbNoChipHint", QStringLiteral("長いタイトルでもチップヒントを表示しない(&N)"));
    auto* skipClosedTree = check("cbSkipClosedTree", QStringLiteral("上下移動時、閉じているツリーは跨いで通る(&U)"));
    auto* rowSelect = check("cbRowSelect", QStringLiteral("ツリーを行選択モードで表示する(&R)"));
    auto* noButtons = check("cbNoButtons", QStringLiteral("ツリーの [+][-] ボタンを表示しない(&T)"));
    auto* hotTrack = check("cbHotTrack", QStringLiteral("HotTrackを有効にする(&K)"));

    auto* layout = new QVBoxLayout(this);
    for (QCheckBox* box : { m_saveTreeState, m_expandAll, saveCurrentNode, saveBookmark, noChipHint, skipClosedTree,
             rowSelect, noButtons, hotTrack })
        layout->addWidget(box);
    layout->addStretch(1);

    bind(key::SaveTreeState, m_saveTreeState);
    bind(key::ExpandAll, m_expandAll);
    bind(key::SaveCurrentNode, saveCurrentNode);
    bind(key::SaveBookmark, saveBookmark);
    bind(key::NoChipHint, noChipHint);
    bind(key::SkipClosedTree, skipClosedTree);
    bind(key::RowSelect, rowSelect);
    bind(key::NoButtons, noButtons);
    bind(key::HotTrack, hotTrack);
    connect(m_saveTreeState, &QCheckBox::toggled, this, &TreeOptionsPage::followTreeState);
}

void TreeOptionsPage::load(const Settings& settings)
{
    OptionPage::load(settings);
    followTreeState();
}

void TreeOptionsPage::followTreeState()
{
    // A tree opened as it was saved is not expanded as a whole.
    const bool kept = m_saveTreeState->isChecked();
    if (kept)
        m_expandAll->setChecked(false);
    m_expandAll->setEnabled(!kept);
}

} // namespace notarium
