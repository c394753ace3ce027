#include "memo/MemoBinding.h"

#include "app/ActionState.h"
#include "app/DocumentTreeModel.h"
#include "app/StatusPanels.h"
#include "app/TreePane.h"
#include "core/document/Document.h"
#include "core/text/Cp932Codec.h"
#include "editor/TExtMemo.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>

namespace notarium {

namespace {

QString fromCp932(const std::string& bytes)
{
    return QString::fromStdU16String(cp932::toUtf16(bytes));
}

// Sets a flag for the life of the guard, whatever was set before.
class Loading {
public:
    explicit Loading(bool& flag)
        : m_flag(flag)
        , m_was(flag)
    {
        m_flag = true;
    }
    ~Loading() { m_flag = m_was; }
    Loading(const Loading&) = delete;
    Loading& operator=(const Loading&) = delete;

private:
    bool& m_flag;
    bool m_was;
};

} // namespace

MemoBinding::MemoBinding(Document& document, TreePane& tree, DocumentTreeModel& model, QLineEdit& title,
    TExtMemo& memo, StatusPanels& status, QObject* parent)
    : QObject(parent)
    , m_doc(document)
    , m_tree(tree)
    , m_model(model)
    , m_title(title)
    , m_memo(memo)
    , m_status(status)
{
    connect(&m_tree, &TreePane::selectedNodeChanged, this, &MemoBinding::selectionChanged);
    connect(&m_model, &DocumentTreeModel::titleEdited, this, &MemoBinding::titleEditedInTree);
    connect(&m_title, &QLineEdit::textEdited, this, &MemoBinding::titleTyped);
    connect(&m_memo, &QPlainTextEdit::modificationChanged, this, [this](bool changed) {
        if (changed && !m_loading)
            m_doc.setModified(true);
    });
    connect(&m_memo, &QPlainTextEdit::cursorPositionChanged, this, &MemoBinding::showCaret);
    connect(&m_memo, &TExtMemo::insertModeChanged, this,
        [this](bool) { m_status.setInsertMode(m_memo.insertModeText()); });
    connect(&m_memo, &TExtMemo::unrepresentableReplaced, this, &MemoBinding::reportReplaced);
    // Leaving the memo pane stores its text into the node, so every other command reads what the
    // person sees.
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget*) {
        if (old == &m_memo)
            store();
    });
    // The panes go before the binding when the window closes; focus moves while they go.
    auto forget = [this] { disconnect(m_focusWatch); };
    connect(&m_memo, &QObject::destroyed, this, forget);
    connect(&m_tree, &QObject::destroyed, this, forget);
}

MemoBinding::~MemoBinding()
{
    disconnect(m_focusWatch);
}

Node* MemoBinding::node() const
{
    return m_tree.selectedNode();
}

void MemoBinding::selectionChanged(Node* previous, Node* current)
{
    emit nodeChanging(current);
    if (previous && previous->isUserNode())
        storeInto(previous);
    if (current == nullptr || !current->isUserNode())
        clearMemo();
    showTitle(current);
    if (current && current->isUserNode())
        load(current);
    m_tree.clearRightPress();
}

void MemoBinding::store()
{
    Node* selected = node();
    if (selected && selected->isUserNode())
        storeInto(selected);
}

void MemoBinding::storeInto(Node* node)
{
    TNodeData* data = node->data();
    if (data == nullptr || m_loading)
        return;
    const bool edited = m_memo.Modified();
    if (edited) {
        data->MemoStr = m_memo.bytes();
        data->Modify = true;
        m_doc.setModified(true);
    }
    data->TopLin = m_memo.FirstVisibleLine();
    data->LinCnt = m_memo.LineCount();
    data->SelPos = m_memo.SelPos();
    data->SelLen = m_memo.SelLen();
    if (edited) {
        {
            const Loading loading(m_loading);
            m_memo.setModified(false);
        }
        m_doc.notifyDataChanged(node);
    }
}

void MemoBinding::load(Node* node)
{
    const TNodeData* data = node->data();
    if (data == nullptr)
        return;
    m_memo.HideCaretMarker();
    {
        const Loading loading(m_loading);
        m_memo.setBytes(data->MemoStr);
        m_memo.setModified(false);
        m_memo.setReadOnly(m_doc.isReadOnly());
        m_memo.LineScroll(0, -m_memo.LineCount());
        m_memo.LineScroll(0, data->TopLin);
        m_memo.setSelPos(data->SelPos);
        m_memo.setSelLen(data->SelLen);
        m_memo.ClearUndo();
    }
    showCaret();
}

void MemoBinding::clearMemo()
{
    const Loading loading(m_loading);
    m_memo.setBytes({});
    m_memo.setModified(false);
}

void MemoBinding::showTitle(const Node* node)
{
    m_title.setText(node ? fromCp932(node->title()) : QString());
    m_title.setModified(false);
}

void MemoBinding::reload()
{
    Node* selected = node();
    showTitle(selected);
    if (selected && selected->isUserNode())
        load(selected);
    else
        clearMemo();
}

void MemoBinding::showDocument(Node* select)
{
    if (select == nullptr)
        select = m_doc.nodeAt(1);
    m_tree.setSelectedNode(select);
    if (Node* first = m_doc.documentNode())
        m_tree.scrollTo(m_model.indexFromNode(first));
    if (select)
        m_tree.scrollTo(m_model.indexFromNode(select));
    m_tree.horizontalScrollBar()->setValue(m_tree.horizontalScrollBar()->minimum());
    // The selection signal is not sent when the node was selected already (the same position in
    // the new document): show it anyway, with the commands following it first.
    Node* shown = m_tree.selectedNode();
    emit nodeChanging(shown);
    reload();
    m_status.setModified(m_doc.isModified());
}

void MemoBinding::editTitle()
{
    if (!m_title.isVisibleTo(m_title.window()) || !m_title.isEnabled())
        return;
    m_title.selectAll();
    m_title.setFocus();
}

void MemoBinding::leaveTitle()
{
    if (m_title.hasFocus())
        m_memo.setFocus();
}

void MemoBinding::updateEditors(const ActionState& state)
{
    m_title.setEnabled(state.userNode);
    m_title.setReadOnly(state.readOnly);
    m_memo.setReadOnly(!state.editable());
}

void MemoBinding::titleTyped(const QString& text)
{
    Node* selected = node();
    if (selected == nullptr || !selected->isUserNode() || m_doc.isReadOnly())
        return;
    bool replaced = false;
    m_doc.setTitle(selected, cp932::fromUtf16(text.toStdU16String(), &replaced));
    m_doc.setModified(true);
    if (replaced)
        reportReplaced();
}

void MemoBinding::titleEditedInTree(Node* edited, bool replaced)
{
    if (edited == node())
        showTitle(edited);
    m_doc.setModified(true);
    if (replaced)
        reportReplaced();
}

void MemoBinding::reportReplaced()
{
    m_status.setMessage(QStringLiteral("Shift-JIS で表せない文字を「〓」に置き換えました"));
}

void MemoBinding::showCaret()
{
    m_status.setCaret(m_memo.CaretLine(), m_memo.CaretColumn());
}

} // namespace notarium
