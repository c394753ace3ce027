#include "search/SeekCommands.h"

#include "app/ActionRegistry.h"
#include "app/ActionState.h"
#include "app/StatusPanels.h"
#include "app/TreeCommands.h"
#include "app/TreePane.h"
#include "core/document/Document.h"
#include "core/search/FindWalk.h"
#include "core/search/SeekCollector.h"
#include "core/search/SeekReplace.h"
#include "core/settings/Settings.h"
#include "core/text/Cp932Codec.h"
#include "editor/Cp932Chars.h"
#include "editor/TExtMemo.h"
#include "memo/MemoBinding.h"
#include "search/HistoryComboBox.h"
#include "search/SearchWindows.h"
#include "search/SeekResultModel.h"
#include "search/TWinRoller.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

namespace notarium {

namespace {

// A step longer than this shows the wait cursor and the status bar's progress bar.
constexpr qint64 kLongStepMs = 300;

// Keeps a long step visible and the windows painted, without taking input meanwhile: the step
// walks the document, which a typed key or a click must not change under it.
class LongStep {
public:
    explicit LongStep(StatusPanels& status)
        : m_status(status)
    {
        m_clock.start();
        m_lastEvents.start();
    }
    ~LongStep() { m_status.showProgress(0, 0); }

    // True when the step has gone on long enough to show.
    bool tick(quint64 done, quint64 total)
    {
        if (m_clock.elapsed() < kLongStepMs || m_lastEvents.elapsed() < 50)
            return false;
        m_lastEvents.restart();
        m_status.showProgress(done, total);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return true;
    }

private:
    StatusPanels& m_status;
    QElapsedTimer m_clock;
    QElapsedTimer m_lastEvents;
};

QString countText(std::size_t rows)
{
    return QString::number(rows) + QStringLiteral("ヶ所あります");
}

} // namespace

SeekCommands::SeekCommands(const WindowContext& context, const SearchPanes& panes, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_panes(panes)
    , m_results(std::make_unique<SeekResultModel>(context.document, panes.tree.documentModel()))
{
}

SeekCommands::~SeekCommands()
{
    delete m_dialog;
}

void SeekCommands::connect(ActionRegistry& actions)
{
    m_actions = &actions;
    actions.connectEvent(QStringLiteral("Replace1Click"), this, [this](QAction*) { openSeekDialog(); });
}

void SeekCommands::updateActions(const ActionState& state)
{
    m_actions->setEventEnabled(QStringLiteral("Replace1Click"), true);
    // The document may have become read-only (or writable) while the window is open.
    if (m_dialog && m_dialog->replaceAllowed() == state.readOnly)
        m_dialog->setReplaceAllowed(!state.readOnly);
}

void SeekCommands::windowClosing()
{
    if (m_dialog)
        m_dialog->close();
}

void SeekCommands::openSeekDialog()
{
    // The search sees the text as the memo pane shows it.
    m_context.memo.store();
    if (m_dialog) {
        search_windows::bringBack(m_dialog, m_dialog->roller());
        return;
    }
    m_panes.treeCommands.captureTreeState();
    m_results->clear();
    m_dialog = new TSeekDialog(m_context.window, m_context.help(), *m_results);
    m_dialog->findEdit()->setHistory(m_context.settings.history(Settings::History::Find));
    m_dialog->replEdit()->setHistory(m_context.settings.history(Settings::History::Replace));
    m_dialog->findEdit()->setEditText(search_windows::selectedSearchText(m_panes.memo));
    m_dialog->findEdit()->lineEdit()->selectAll(); // typing replaces the offered text
    m_dialog->setOptions(m_options);
    const Node* node = m_panes.tree.selectedNode();
    m_dialog->setNodeRangesEnabled(node != nullptr && node->isUserNode());
    m_dialog->setReplaceAllowed(!m_context.document.isReadOnly());
    m_dialog->updateButtons();

    QObject::connect(m_dialog, &TSeekDialog::seekRequested, this, &SeekCommands::seek);
    QObject::connect(m_dialog, &TSeekDialog::replaceRequested, this, &SeekCommands::replaceSelected);
    QObject::connect(m_dialog, &TSeekDialog::replaceAllRequested, this, &SeekCommands::replaceAll);
    QObject::connect(m_dialog, &TSeekDialog::viewRequested, this, &SeekCommands::viewHit);
    QObject::connect(m_dialog, &QDialog::finished, this, [this] {
        m_dialog = nullptr;
        m_results->clear();
    });
    search_windows::centreOn(m_dialog, m_context.window);
    m_dialog->show();
}

// ---- Searching ---------------------------------------------------------------------------------

std::size_t SeekCommands::collect()
{
    TSeekDialog& dialog = *m_dialog;
    m_results->clear();
    m_context.memo.store();
    bool replaced = false;
    const std::string text = cp932::fromUtf16(dialog.findEdit()->currentText().toStdU16String(), &replaced);
    m_searched = replaced ? std::string() : text;
    m_options = dialog.options();
    if (m_searched.empty())
        return 0;
    const SearchOptions options = makeSearchOptions(
        true, m_options.matchCase, m_options.ignoreWidth, m_options.skipBreaksAndSpaces, m_options.wholeWord);
    SeekCollector collector(m_searched, options);
    const Document& doc = m_context.document;
    QLabel* status = dialog.statusLabel();
    LongStep step(m_context.status);
    const auto total = static_cast<quint64>(doc.nodeCount());
    collector.setProgress([&](std::size_t hits, std::int32_t node) {
        if (step.tick(static_cast<quint64>(node), total)) {
            status->setText(QStringLiteral("検索中...： ") + QString::number(hits));
            status->repaint();
        }
    });
    Node* selected = m_panes.tree.selectedNode();
    std::vector<SeekHit> hits;
    switch (dialog.range()) {
    case TSeekDialog::Range::WholeDocument:
        hits = collector.collectDocument(doc);
        break;
    case TSeekDialog::Range::SelectedTree:
        if (selected != nullptr)
            hits = collector.collectSubtree(doc, selected);
        break;
    case TSeekDialog::Range::ShownPage:
        if (selected != nullptr)
            hits = collector.collectText(m_panes.memo.bytes(), doc.absoluteIndex(selected));
        break;
    }
    m_results->setHits(std::move(hits));
    return m_results->hits().size();
}

void SeekCommands::seek()
{
    TSeekDialog& dialog = *m_dialog;
    const std::size_t rows = collect();
    if (rows == 0) {
        dialog.statusLabel()->setText(QStringLiteral("“") + dialog.findEdit()->currentText() + QStringLiteral("” は見つかりませんでした"));
        m_context.beep();
        dialog.findEdit()->setFocus();
    } else {
        QTreeView* list = dialog.resultList();
        list->setCurrentIndex(m_results->index(0, 0));
        list->selectionModel()->select(m_results->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        showCount();
        list->setFocus();
    }
    dialog.findEdit()->remember();
    saveHistories();
    dialog.updateButtons();
}

void SeekCommands::showCount()
{
    m_dialog->statusLabel()->setText(countText(m_results->hits().size()));
}

void SeekCommands::saveHistories()
{
    search_windows::saveHistory(m_context, Settings::History::Find, m_dialog->findEdit()->history());
    search_windows::saveHistory(m_context, Settings::History::Replace, m_dialog->replEdit()->history());
}

// ---- Showing a hit -----------------------------------------------------------------------------

void SeekCommands::viewHit()
{
    TSeekDialog& dialog = *m_dialog;
    const QList<int> rows = dialog.selectedRows();
    if (rows.isEmpty())
        return;
    m_context.memo.store();
    SeekHit hit;
    // The row must still describe the text: a changed text would put the selection elsewhere.
    if (!m_results->currentHit(rows.first(), hit) || !hitStillMatches(m_context.document, hit)) {
        m_context.beep();
        return;
    }
    Node* node = m_context.document.nodeAt(hit.nodeIndex);
    dialog.roller()->setRoller(true);
    TExtMemo& memo = m_panes.memo;
    // Out of the way of the memo pane's present selection.
    QWidget* viewport = memo.viewport();
    const int point = memo.PosFromChar(memo.SelPos() + memo.SelLen()).y() + search_windows::lineHeight(memo);
    const int top = viewport->mapFromGlobal(dialog.frameGeometry().topLeft()).y();
    if (point > top - 30 && point < top + 50)
        dialog.move(dialog.frameGeometry().left(), dialog.frameGeometry().top() + (point < viewport->height() / 2 ? 60 : -60));

    m_panes.treeCommands.allowRestoreTreeState();
    m_panes.tree.setSelectedNode(node);
    memo.setSelPos(hit.offset);
    memo.ScrollCaret();
    memo.setSelLen(hit.length);
}

// ---- Replacing ---------------------------------------------------------------------------------

bool SeekCommands::replacementText(std::string& bytes)
{
    bool replaced = false;
    bytes = cp932::fromUtf16(m_dialog->replEdit()->currentText().toStdU16String(), &replaced);
    if (!replaced)
        return true;
    // Thousands of places must not silently receive a stand-in character.
    m_context.prompt().tell(m_dialog,
        QStringLiteral("置換文字列に Shift-JIS で表せない文字が含まれています。\r\n置き換えは行いませんでした。"),
        QStringLiteral("検索・置換"), MessageIcon::Warning);
    return false;
}

void SeekCommands::rememberReplacement()
{
    m_dialog->replEdit()->remember();
    saveHistories();
}

void SeekCommands::replaceSelected()
{
    TSeekDialog& dialog = *m_dialog;
    if (!dialog.replaceAllowed() || m_context.document.isReadOnly())
        return;
    std::string replacement;
    if (!replacementText(replacement))
        return;
    m_context.memo.store();
    const QList<int> rows = dialog.selectedRows();
    bool refused = false;
    // From the last to the first, so the offsets of earlier hits in the same node stay right.
    for (auto row = rows.crbegin(); row != rows.crend(); ++row) {
        SeekHit hit;
        if (!m_results->currentHit(*row, hit) || !replaceOneHit(m_context.document, hit, replacement))
            refused = true;
    }
    m_results->clear();
    m_context.memo.reload();
    if (refused)
        m_context.beep();
    rememberReplacement();
    if (collect() == 0) {
        dialog.clearAll();
        m_context.beep();
        dialog.statusLabel()->setText(QStringLiteral("すべてを置き換えました"));
    } else {
        QTreeView* list = dialog.resultList();
        list->setCurrentIndex(m_results->index(0, 0));
        list->selectionModel()->select(m_results->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        showCount();
    }
    dialog.updateButtons();
    m_context.updateActions();
}

void SeekCommands::replaceAll()
{
    TSeekDialog& dialog = *m_dialog;
    if (!dialog.replaceAllowed() || m_context.document.isReadOnly() || m_results->hits().empty())
        return;
    std::string replacement;
    if (!replacementText(replacement))
        return;
    m_context.memo.store();
    std::vector<SeekHit> hits;
    hits.reserve(m_results->hits().size());
    std::size_t gone = 0;
    for (int row = 0; row < m_results->rowCount(); ++row) {
        SeekHit hit;
        if (m_results->currentHit(row, hit))
            hits.push_back(std::move(hit));
        else
            ++gone;
    }
    m_results->clear();
    ReplaceAllResult result;
    {
        LongStep step(m_context.status);
        result = replaceAllHits(m_context.document, hits, replacement);
    }
    m_context.memo.reload();
    rememberReplacement();
    dialog.clearAll();
    m_context.beep();
    const std::size_t refused = result.refused + gone;
    if (refused == 0)
        dialog.statusLabel()->setText(QStringLiteral("すべてを置き換えました"));
    else
        dialog.statusLabel()->setText(QString::number(result.replaced) + QStringLiteral("ヶ所を置き換えました（")
            + QString::number(refused) + QStringLiteral("ヶ所は検索の後で変わっていたため置き換えていません）"));
    dialog.updateButtons();
    m_context.updateActions();
}

} // namespace notarium
