#include "app/MainWindow.h"

#include "app/ActionRegistry.h"
#include "app/Appearance.h"
#include "app/CommandLine.h"
#include "app/DocumentTreeModel.h"
#include "app/ExitSettings.h"
#include "app/FileCommands.h"
#include "app/HelpCommands.h"
#include "app/InputMethods.h"
#include "app/MemoWheel.h"
#include "app/MenuBuilder.h"
#include "app/ModifiedPanelWatch.h"
#include "app/ShellDrop.h"
#include "app/StatusPanels.h"
#include "app/SubtreeClipboard.h"
#include "app/TreeCommands.h"
#include "app/TreePane.h"
#include "app/ViewCommands.h"
#include "bookmarks/BookmarkCommands.h"
#include "core/document/Document.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsStore.h"
#include "editor/ImeLineEdit.h"
#include "editor/TExtMemo.h"
#include "memo/CountCommands.h"
#include "memo/HelperListCommands.h"
#include "memo/MemoBinding.h"
#include "memo/MemoCommands.h"
#include "memo/WizardCommands.h"
#include "quickmemo/QuickMemoCommands.h"
#include "recovery/RecoveryCommands.h"
#include "search/FindCommands.h"
#include "search/SeekCommands.h"
#include "settings/KeyCustomizeCommands.h"
#include "settings/OptionCommands.h"
#include "templates/TemplateCommands.h"
#include "textio/EditorCommands.h"
#include "textio/TextInCommands.h"
#include "textio/TextOutCommands.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QVBoxLayout>

#include <utility>

namespace notarium {

namespace {

bool isMenuWidget(const QWidget* widget)
{
    return qobject_cast<const QMenuBar*>(widget) != nullptr || qobject_cast<const QMenu*>(widget) != nullptr;
}

} // namespace

TMainForm1::TMainForm1(const MainWindowContext& context, QWidget* parent)
    : QMainWindow(parent)
    , m_startContext(context)
    , m_settings(context.settings->settings())
    , m_doc(std::make_unique<Document>())
{
    setObjectName(QStringLiteral("TMainForm1"));
    setWindowIcon(ActionRegistry::icon(QStringLiteral("notarium")));
    m_doc->newDocument();

    m_actions = new ActionRegistry(this);
    m_menus = new MenuBuilder(this, *m_actions);
    buildPanes();
    m_status = new StatusPanels(statusBar());
    m_modifiedWatch = std::make_unique<ModifiedPanelWatch>(*m_status, *m_doc);
    m_doc->addObserver(m_modifiedWatch.get());
    m_binding = new MemoBinding(*m_doc, *m_tree, *m_model, *m_title, *m_memo, *m_status, this);
    // Every file dialog of the window is shown with the panes' input methods closed.
    m_inputMethods = std::make_unique<InputMethods>(*m_title, *m_memo, m_settings, *context.services.files);
    Services services = context.services;
    services.files = m_inputMethods.get();
    m_windowContext = std::make_unique<WindowContext>(
        WindowContext { this, *m_doc, m_settings, services, *m_binding, *m_status, *this, context.configFolder,
            context.tempFolder,
            context.programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : context.programFolder,
            context.recoveryFolder });
    const WindowContext& c = *m_windowContext;

    m_appearance = new Appearance(*this, *m_tree, *m_titleLabel, *m_title, *m_memo, *m_actions, *m_menus);
    m_files = new FileCommands(c, *m_menus, this);
    m_treeCommands = new TreeCommands(c, *m_tree, *m_model, *m_menus, this);
    m_memoCommands = new MemoCommands(c, *m_title, *m_memo, *m_tree, *m_menus, this);
    m_view = new ViewCommands(c, *m_splitter, *m_tree, *m_rightSide, *m_title, *m_memo, this);
    registerCommands(m_files);
    registerCommands(m_treeCommands);
    registerCommands(m_memoCommands);
    registerCommands(m_view);
    registerCommands(m_recovery = new RecoveryCommands(c, *m_files, this));
    registerCommands(new HelpCommands(c, *m_tree, *m_title, *m_memo, this));
    const SearchPanes searchPanes { *m_tree, *m_title, *m_memo, *m_treeCommands, *m_view };
    registerCommands(new FindCommands(c, searchPanes, this));
    registerCommands(new SeekCommands(c, searchPanes, this));
    registerCommands(new TemplateCommands(c, *m_tree, *m_title, *m_memo, *m_menus, *m_actions, *m_view, this));
    registerCommands(new BookmarkCommands(c, *m_tree, *m_treeCommands, this));
    registerCommands(new CountCommands(c, *m_tree, this));
    registerCommands(new WizardCommands(c, *m_tree, *m_memo, *m_treeCommands, *m_view, this));
    auto* helperList = new HelperListCommands(c, *m_title, *m_memo, *m_menus, this);
    registerCommands(helperList);
    registerCommands(new QuickMemoCommands(
        c, *m_tree, *m_title, *m_memo, *m_treeCommands, *m_memoCommands, *m_menus, this));
    registerCommands(new TextOutCommands(c, *m_tree, *m_files, this));
    registerCommands(new TextInCommands(c, *m_memo, *m_files, this));
    registerCommands(new EditorCommands(c, *m_memo, *m_files, *m_memoCommands, this));
    registerCommands(new KeyCustomizeCommands(c, *m_actions, *m_menus, *m_inputMethods, this));
    registerCommands(new OptionCommands(
        c, { *m_appearance, *m_tree, *m_memo, *m_files, *helperList, *m_inputMethods }, this));
    // Commands of subsystems that are not part of the window yet stay visibly unavailable.
    m_actions->disableUnclaimed();

    connectPanes();
    QStringList recent;
    for (const std::string& path : m_settings.recentFiles())
        recent << QString::fromStdString(path);
    m_files->setRecentFiles(recent);
    m_files->setCaptionFont(font());

    m_appearance->apply(m_settings);
    m_appearance->restoreToolBars(m_settings);
    m_view->setTreeWidth(m_settings.get(key::TreeWidth));
    readClipboard();
    m_files->resetToUntitled();
}

TMainForm1::~TMainForm1()
{
    disconnect(m_focusWatch);
    m_doc->removeObserver(m_modifiedWatch.get());
    // The sets (and the windows they keep open) use the document, which goes before the window's
    // children would: they go first, the last registered first.
    const std::vector<CommandSet*> sets = std::exchange(m_sets, {});
    for (auto set = sets.rbegin(); set != sets.rend(); ++set)
        delete *set;
    // The model observes the document; it goes first, with the view on it.
    delete m_tree;
    m_tree = nullptr;
    delete m_model;
    m_model = nullptr;
}

void TMainForm1::registerCommands(CommandSet* commands)
{
    m_sets.push_back(commands);
    commands->connect(*m_actions);
    commands->updateActions(actionState());
}

void TMainForm1::buildPanes()
{
    m_model = new DocumentTreeModel(*m_doc, this);
    m_tree = new TreePane;
    m_tree->setModel(m_model);
    m_tree->setPopupMenu(m_menus->menu(QStringLiteral("pmTree")));

    m_rightSide = new QWidget;
    auto* right = new QVBoxLayout(m_rightSide);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(2);
    auto* band = new QHBoxLayout;
    band->setContentsMargins(4, 2, 2, 0);
    m_titleLabel = new QLabel(QStringLiteral("Title :"));
    m_titleLabel->setObjectName(QStringLiteral("TitleLabel"));
    m_title = new ImeLineEdit;
    m_title->setObjectName(QStringLiteral("TitleEdit"));
    m_title->setEnabled(false);
    band->addWidget(m_titleLabel);
    band->addWidget(m_title, 1);
    right->addLayout(band);

    m_memo = new TExtMemo;
    m_memo->setObjectName(QStringLiteral("MemoPane"));
    m_memo->setReadOnly(true);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setContextMenuPolicy(Qt::CustomContextMenu);
    m_memo->EditArea().Margin().setLeft(10);
    m_memo->EditArea().Margin().setTop(2);
    m_memo->EditArea().Margin().setBottom(1);
    m_memo->EditMarks().CrLf.Color = QColor(0x00, 0x80, 0x80); // clTeal
    m_memo->CaretMarker().Color = QColor(0x00, 0x80, 0x80);
    // Japanese line breaking: the level-2 punctuation set, with kinsoku, word breaks and hanging
    // punctuation switched on.
    m_memo->WordWrapOption().setPunctuationMode(TPunctuationMode::wbfLevel2);
    m_memo->WordWrapOption().setWordWrapMode(wbfWordWrap | wbfWordBreak | wbfOverFlow);
    m_memo->setTabWidth(4);
    right->addWidget(m_memo, 1);

    m_splitter = new QSplitter(Qt::Horizontal);
    m_splitter->setObjectName(QStringLiteral("Splitter1"));
    m_splitter->setHandleWidth(3);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(m_tree);
    m_splitter->addWidget(m_rightSide);
    m_splitter->setStretchFactor(1, 1);
    m_tree->setMinimumWidth(60);
    m_rightSide->setMinimumWidth(60);
    setCentralWidget(m_splitter);
    resize(630, 464);
}

void TMainForm1::connectPanes()
{
    connect(m_tree, &TreePane::editRefused, this, [this] { m_windowContext->beep(); });
    connect(m_tree, &TreePane::nodeDropped, this, [this](Node*) { m_memo->viewport()->update(); });
    connect(m_tree, &TreePane::popupMenuAboutToShow, this, [this](Node* node) { preparePopup(Popup::Tree, node); });
    if (QMenu* memoMenu = m_menus->menu(QStringLiteral("pmMemo")))
        connect(memoMenu, &QMenu::aboutToShow, this, [this] { preparePopup(Popup::Memo, nullptr); });
    connect(m_memo, &QPlainTextEdit::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (QMenu* menu = m_menus->menu(QStringLiteral("pmMemo")))
            menu->popup(m_memo->viewport()->mapToGlobal(pos));
    });
    connect(m_splitter, &QSplitter::splitterMoved, this, [this] { m_memo->setFocus(); });

    // The enabling pass follows everything the action state is read from.
    connect(m_binding, &MemoBinding::nodeChanging, this, [this](Node* node) { updateActionsFor(node); });
    connect(m_memo, &QPlainTextEdit::selectionChanged, this, &TMainForm1::updateActions);
    connect(m_memo, &QPlainTextEdit::undoAvailable, this, &TMainForm1::updateActions);
    connect(m_title, &QLineEdit::selectionChanged, this, &TMainForm1::updateActions);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        readClipboard();
        updateActions();
    });
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        // The menu bar takes the focus while it is worked from the keyboard and gives it back
        // before a command runs: the commands stay with the box that had the focus.
        if (now == nullptr || isMenuWidget(now))
            return;
        m_box = now == m_title ? EditBox::Title : now == m_memo ? EditBox::Memo : EditBox::None;
        updateActions();
    });
    connect(m_files, &FileCommands::captionChanged, this, &QWidget::setWindowTitle);
    connect(m_files, &FileCommands::documentReplaced, this, [this] { m_inputMethods->apply(); });

    // The wheel over the memo side and the window's frame scrolls the memo pane.
    auto* wheel = new MemoWheel(m_memo, this);
    wheel->watch(m_memo->viewport());
    wheel->watch(this);
    wheel->exclude(m_tree);
    auto* drops = new ShellDrop(*m_files, this);
    for (QWidget* target : { static_cast<QWidget*>(this), static_cast<QWidget*>(m_tree),
             static_cast<QWidget*>(m_title), static_cast<QWidget*>(m_memo) })
        drops->watch(target);
}

// ---- The enabling pass ------------------------------------------------------------------------

void TMainForm1::readClipboard()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    m_clipboardHasText = data != nullptr && data->hasText();
    m_clipboardHasSubtree = SubtreeClipboard().holdsSubtree();
}

ActionState TMainForm1::actionState(const Node* node) const
{
    ActionState state;
    state.node = node;
    state.userNode = node != nullptr && node->isUserNode();
    state.readOnly = m_doc->isReadOnly();
    state.hasContent = m_doc->hasContent();
    state.box = m_box;
    state.titleHasSelection = m_title->hasSelectedText();
    state.memoHasSelection = m_memo->textCursor().hasSelection();
    state.memoCanUndo = m_memo->CanUndo();
    state.clipboardHasText = m_clipboardHasText;
    state.clipboardHasSubtree = m_clipboardHasSubtree;
    return state;
}

ActionState TMainForm1::actionState() const
{
    return actionState(m_tree->selectedNode());
}

void TMainForm1::updateActions()
{
    updateActionsFor(m_tree->selectedNode());
}

void TMainForm1::updateActionsFor(const Node* node)
{
    const ActionState state = actionState(node);
    m_binding->updateEditors(state);
    for (CommandSet* set : m_sets)
        set->updateActions(state);
    m_tree->clearRightPress();
}

void TMainForm1::preparePopup(Popup popup, Node* node)
{
    const ActionState state = actionState();
    for (CommandSet* set : m_sets)
        set->preparePopup(popup, state, node);
}

// ---- Window events ----------------------------------------------------------------------------

bool TMainForm1::event(QEvent* event)
{
    // Long hints go to status panel 0; the other panels stay as they are.
    if (event->type() == QEvent::StatusTip) {
        if (m_status != nullptr)
            m_status->setMessage(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

QMenu* TMainForm1::createPopupMenu()
{
    return m_menus->createToolbarPopup(this);
}

void TMainForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (m_status != nullptr)
        m_status->setMessage(QStringLiteral("%1x%2").arg(width()).arg(height()));
}

void TMainForm1::restorePanes()
{
    m_view->restorePanes();
}

void TMainForm1::startWith(const QStringList& arguments)
{
    const CommandLineRequest request = parseCommandLine(arguments, QDir::currentPath());
    // Changes a session that ended without saving left behind come first; a copy taken opens in
    // place of the file.
    const bool recovered = m_recovery->offerAtStart(request.path, request.readOnly);
    if (!recovered && !request.path.isEmpty() && !m_files->openFromCommandLine(request.path, request.readOnly)) {
        // The person declined to open a file in use: the start is cancelled.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    // The notice comes last, over the window as it will stay.
    if (request.obsoleteS)
        m_windowContext->prompt().tell(this,
            QStringLiteral("“-S”コマンドラインスイッチは廃止となりました。\r\n詳しくはヘルプを参照してください。"),
            QStringLiteral("-s is not available."), MessageIcon::Warning);
}

// ---- Exit -------------------------------------------------------------------------------------

void TMainForm1::closeEvent(QCloseEvent* event)
{
    if (!m_files->saveIfNeeded()) {
        event->ignore();
        return;
    }
    for (CommandSet* set : m_sets)
        set->windowClosing();
    restorePanes();
    writeSettingsAtExit();
    event->accept();
}

bool TMainForm1::updateSettings(const std::function<void(Settings&)>& change)
{
    const SettingsUpdateResult result = m_startContext.settings->update(change);
    if (result.ok)
        return true;
    m_windowContext->prompt().tell(this,
        QStringLiteral("設定ファイル ") + QString::fromStdString(m_startContext.settings->path())
            + QStringLiteral(" を保存できませんでした。") + QStringLiteral("\r\n")
            + QStringLiteral("変更した設定は、次に起動したときには元に戻ります。") + QStringLiteral("\r\n\r\n(")
            + QString::fromStdString(result.error) + QStringLiteral(")"),
        QStringLiteral("ファイル I/O エラー"), MessageIcon::Error);
    return false;
}

void TMainForm1::writeSettingsAtExit()
{
    const QStringList recent = m_files->recentFiles().paths();
    updateSettings(exitSettings(*this, m_view->treeWidth(), *m_memo, recent, m_menus->toolBars()));
}

} // namespace notarium
