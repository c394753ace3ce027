#include "memo/WizardCommands.h"

#include "app/ActionRegistry.h"
#include "app/ActionState.h"
#include "app/PaintingSuspended.h"
#include "app/TreeCommands.h"
#include "app/TreePane.h"
#include "app/ViewCommands.h"
#include "core/document/Document.h"
#include "core/text/Cp932Codec.h"
#include "editor/TExtMemo.h"
#include "memo/MemoBinding.h"
#include "memo/TNewMemoDlg.h"

namespace notarium {

namespace {

const QString kWizardEvent = QStringLiteral("MemoWizardClick");

} // namespace

WizardCommands::WizardCommands(const WindowContext& context, TreePane& tree, TExtMemo& memo,
    TreeCommands& treeCommands, const ViewCommands& view, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_tree(tree)
    , m_memo(memo)
    , m_treeCommands(treeCommands)
    , m_view(view)
    , m_operations(context.document)
{
}

WizardCommands::~WizardCommands()
{
    // The wizard acts on the document, which goes after the command sets.
    delete m_wizard;
}

void WizardCommands::connect(ActionRegistry& actions)
{
    m_actions = &actions;
    actions.connectEvent(kWizardEvent, this, [this](QAction*) { openWizard(); });
}

void WizardCommands::updateActions(const ActionState& state)
{
    m_actions->setEventEnabled(kWizardEvent, !state.readOnly);
    if (m_wizard)
        m_wizard->setResultEnabled(state.userNode);
}

void WizardCommands::windowClosing()
{
    if (m_wizard)
        m_wizard->close();
}

bool WizardCommands::resultAllowed() const
{
    const Node* node = m_tree.selectedNode();
    return node != nullptr && node->isUserNode();
}

void WizardCommands::openWizard()
{
    if (m_wizard) {
        // Already open: to the front, where it is, without the focus.
        m_wizard->raise();
        return;
    }
    m_wizard = new TNewMemoDlg(m_context.window, m_context.help());
    m_wizard->setResultEnabled(resultAllowed());
    QObject::connect(m_wizard, &TNewMemoDlg::createRequested, this, &WizardCommands::create);
    QObject::connect(m_wizard, &QDialog::finished, this, &WizardCommands::wizardClosed);
    // Its top 10 pixels below the memo pane's corner, its left edge half its width to the right.
    const QPoint origin = m_memo.viewport()->mapToGlobal(QPoint(0, 0));
    m_wizard->move(origin + QPoint(m_wizard->width() / 2, 10));
    m_wizard->show();
    m_wizard->activateWindow();
}

void WizardCommands::create(WizardPlacement placement, bool keepSelection, const QString& title)
{
    Node* target = m_treeCommands.commandTarget();
    // Edits in the memo pane belong to the node they were typed into.
    m_context.memo.store();
    Node* node = nullptr;
    {
        // The new node takes its place without the pane jumping.
        PaintingSuspended painting(&m_tree);
        Node* top = m_tree.topNode();
        node = createWizardNode(m_operations, target, placement, keepSelection, cp932::fromUtf8(title.toStdString()));
        m_tree.setTopNode(top);
    }
    if (node == nullptr) {
        m_context.beep();
        return;
    }
    if (keepSelection) {
        // The selection stays; its whole branch opens so that the new node shows.
        if (Node* selected = m_tree.selectedNode()) {
            const Node* last = selected->lastDescendant();
            for (Node* each = selected;; each = each->next()) {
                if (each->hasChildren())
                    m_context.document.setExpanded(each, true);
                if (each == last)
                    break;
            }
        }
    } else {
        m_tree.setSelectedNode(node);
    }
    m_context.updateActions();
    m_wizard->readyForNext(resultAllowed());
}

void WizardCommands::wizardClosed()
{
    if (m_view.memoSideShown())
        m_memo.setFocus();
    else
        m_tree.setFocus();
    if (QWidget* window = m_context.window) {
        window->raise();
        window->activateWindow();
    }
}

} // namespace notarium
