#include "app/MainWindow.h"

#include "app/AboutBox.h"
#include "app/ActionRegistry.h"
#include "app/Colours.h"
#include "app/CommandLine.h"
#include "app/DocumentTreeModel.h"
#include "app/HelpWindow.h"
#include "memo/MemoCommands.h"
#include "app/MemoWheel.h"
#include "app/MenuBuilder.h"
#include "app/ShortcutNumber.h"
#include "app/ToolBarLayout.h"
#include "app/TreeCommands.h"
#include "app/TreePane.h"
#include "app/WindowPlacement.h"
#include "core/document/Document.h"
#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"
#include "core/text/Cp932Codec.h"
#include "editor/TExtMemo.h"
#include "platform/CapsLockWatch.h"
#include "platform/FileAttributes.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QVBoxLayout>

namespace notarium {

namespace {

// Help contexts of the focused control.
constexpr int kHelpMainWindow = 9;
constexpr int kHelpTreePane = 10;
constexpr int kHelpTitleBox = 11;
constexpr int kHelpMemoPane = 12;

constexpr std::string_view kToolBarStateKey = "ToolBars";

QString fromCp932(const std::string& bytes)
{
    return QString::fromStdU16String(cp932::toUtf16(bytes));
}

QFont settingsFont(std::string_view name, int pointSize, int style)
{
    QFont font(QString::fromStdString(std::string(name)));
    font.setPointSize(pointSize > 0 ? pointSize : 9);
    font.setBold(style & 1);
    font.setItalic(style & 2);
    font.setUnderline(style & 4);
    font.setStrikeOut(style & 8);
    return font;
}

} // namespace

TMainForm1::TMainForm1(const MainWindowContext& context, QWidget* parent)
    : QMainWindow(parent)
    , m_context(context)
    , m_settings(*context.settings)
    , m_doc(std::make_unique<Document>())
{
    setObjectName(QStringLiteral("TMainForm1"));
    setAcceptDrops(true);
    setWindowIcon(ActionRegistry::icon(QStringLiteral("notarium")));
    m_doc->newDocument();

    m_actions = new ActionRegistry(this);
    m_menus = new MenuBuilder(this, *m_actions);
    buildPanes();
    buildStatusBar();

    m_modifiedWatch = std::make_unique<ModifiedWatch>([this] { updateModifiedPanel(); });
    m_doc->addObserver(m_modifiedWatch.get());
    m_files = new FileCommands(*m_doc, m_settings, m_context.services, *this, this);
    m_files->setCaptionFont(font());
    connect(m_files, &FileCommands::captionChanged, this,
        [this](const QString& caption) { setWindowTitle(caption); });
    connect(m_files, &FileCommands::recentFilesChanged, this, &TMainForm1::rebuildReopenMenu);
    m_files->recentFiles() = RecentFiles([this] {
        QStringList paths;
        for (const std::string& path : m_settings.recentFiles())
            paths << QString::fromStdString(path);
        return paths;
    }());

    WindowParts parts;
    parts.window = this;
    parts.document = m_doc.get();
    parts.settings = &m_settings;
    parts.services = m_context.services;
    parts.actions = m_actions;
    parts.menus = m_menus;
    parts.tree = m_tree;
    parts.model = m_model;
    parts.title = m_title;
    parts.memo = m_memo;
    parts.memoSide = m_rightSide;
    parts.panels = m_panels;
    parts.storeMemo = [this] { storeSelectedMemo(); };
    parts.refreshMemoStatus = [this] { updateCaretPanel(); };
    parts.updateCommandStates = [this] { updateCommandStates(m_tree->selectedNode()); };
    m_treeCommands = new TreeCommands(parts, this);
    m_memoCommands = new MemoCommands(parts, this);

    connectCommands();
    applySettings();
    m_files->resetToUntitled();
}

TMainForm1::~TMainForm1()
{
    // Focus moves while the widgets go; the panes must not be asked to store anything by then.
    disconnect(m_focusWatch);
    m_doc->removeObserver(m_modifiedWatch.get());
    // The model observes the document; it goes first.
    delete m_tree;
    m_tree = nullptr;
    delete m_model;
    m_model = nullptr;
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
    m_title = new QLineEdit;
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
    m_memo->EditArea().setEnabled(true);
    m_memo->EditArea().Margin().setLeft(10);
    m_memo->EditArea().Margin().setTop(2);
    m_memo->EditArea().Margin().setBottom(1);
    m_memo->EditArea().setWidth(414);
    m_memo->EditArea().setOverFlow(16);
    m_memo->WordWrapOption().setPunctuationMode(TPunctuationMode::wbfLevel2);
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

    connect(m_tree, &TreePane::selectedNodeChanged, this, &TMainForm1::selectionChanged);
    connect(m_tree, &TreePane::editRefused, this, [this] { m_context.services.prompt->beep(); });
    connect(m_tree, &TreePane::nodeDropped, this, [this](Node*) { m_memo->viewport()->update(); });
    connect(m_model, &DocumentTreeModel::titleEdited, this, [this](Node* node, bool) {
        if (node == m_tree->selectedNode())
            m_title->setText(fromCp932(node->title()));
        m_doc->setModified(true);
    });
    connect(m_title, &QLineEdit::textEdited, this, &TMainForm1::titleEdited);
    connect(m_memo, &QPlainTextEdit::modificationChanged, this, [this](bool changed) {
        if (changed && !m_loadingNode)
            m_doc->setModified(true);
    });
    connect(m_memo, &QPlainTextEdit::cursorPositionChanged, this, &TMainForm1::updateCaretPanel);
    connect(m_memo, &TExtMemo::insertModeChanged, this,
        [this](bool) { m_panels[3]->setText(m_memo->insertModeText()); });
    connect(m_memo, &TExtMemo::unrepresentableReplaced, this,
        [this] { m_panels[0]->setText(QStringLiteral("Shift-JIS で表せない文字を「〓」に置き換えました")); });
    connect(m_memo, &QPlainTextEdit::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (QMenu* menu = m_menus->menu(QStringLiteral("pmMemo")))
            menu->popup(m_memo->viewport()->mapToGlobal(pos));
    });
    // The wheel over the memo side and the window's frame scrolls the memo pane.
    auto* wheel = new MemoWheel(m_memo, this);
    wheel->watch(m_memo->viewport());
    wheel->watch(this);
    wheel->exclude(m_tree);

    // Leaving the memo pane stores its text into the node, so that every other command reads
    // what the person sees.
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget*) {
        if (old == m_memo)
            storeSelectedMemo();
    });
}

void TMainForm1::buildStatusBar()
{
    static constexpr int kWidths[] = { 392, 50, 50, 50, 60, 19 };
    auto* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < 6; ++i) {
        auto* panel = new QLabel;
        panel->setObjectName(QStringLiteral("Panel%1").arg(i));
        panel->setAlignment(i == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        if (i < 5)
            panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setMinimumWidth(i == 0 ? 60 : kWidths[i]);
        if (i > 0)
            panel->setFixedWidth(kWidths[i]);
        if (i == 0)
            bar->addWidget(panel, 1);
        else
            bar->addPermanentWidget(panel);
        m_panels << panel;
    }
    m_panels[3]->setText(QStringLiteral("挿入"));
    m_panels[4]->setText(QStringLiteral("  1：  1"));
    auto* caps = new CapsLockWatch(CapsLockWatch::platformLockBit(), this);
    connect(caps, &CapsLockWatch::changed, this,
        [this](bool on) { m_panels[2]->setText(on ? QStringLiteral("CAPS") : QString()); });
    m_progress = new QProgressBar;
    m_progress->setFixedWidth(200);
    m_progress->setTextVisible(false);
    m_progress->hide();
    bar->insertWidget(0, m_progress);
}

QLabel* TMainForm1::statusPanel(int index) const
{
    return index >= 0 && index < m_panels.size() ? m_panels[index] : nullptr;
}

void TMainForm1::connectCommands()
{
    auto shiftHeld = [] { return QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier); };
    const ActionRegistry& a = *m_actions;
    a.connectEvent(QStringLiteral("tbNewClick"), this,
        [this, shiftHeld](QAction*) { m_files->newDocument(shiftHeld()); });
    a.connectEvent(
        QStringLiteral("tbOpenClick"), this, [this, shiftHeld](QAction*) { m_files->open(shiftHeld()); });
    a.connectEvent(QStringLiteral("Open2Click"), this, [this](QAction*) { m_files->openInOtherWindow(); });
    a.connectEvent(QStringLiteral("tbSaveClick"), this, [this](QAction*) { m_files->save(); });
    a.connectEvent(QStringLiteral("SaveAs1Click"), this, [this](QAction*) { m_files->saveAs(); });
    a.connectEvent(QStringLiteral("tbCloseClick"), this, [this](QAction*) { m_files->closeDocument(); });
    a.connectEvent(QStringLiteral("Exit1Click"), this, [this](QAction*) { close(); });

    a.connectEvent(QStringLiteral("tbPageDnClick"), this, [this](QAction*) {
        Node* n = m_tree->selectedNode();
        goToNode(n ? n->next() : nullptr);
    });
    a.connectEvent(QStringLiteral("tbPageUpClick"), this, [this](QAction*) {
        Node* n = m_tree->selectedNode();
        goToNode(n ? n->prev() : nullptr);
    });
    a.connectEvent(QStringLiteral("LowerPageClick"), this,
        [this](QAction*) { goToNode(Document::nextVisible(m_tree->selectedNode())); });
    a.connectEvent(QStringLiteral("UpperPageClick"), this,
        [this](QAction*) { goToNode(Document::prevVisible(m_tree->selectedNode())); });
    a.connectEvent(QStringLiteral("ChangeFocus1Click"), this, [this](QAction*) { changeFocus(); });
    a.connectEvent(QStringLiteral("GoTitleClick"), this, [this](QAction*) { goTitle(); });
    a.connectEvent(
        QStringLiteral("tbTreePaneMaximizeClick"), this, [this](QAction*) { toggleTreeMaximized(); });
    a.connectEvent(
        QStringLiteral("tbMemoPaneMaximizeClick"), this, [this](QAction*) { toggleMemoMaximized(); });
    a.connectEvent(QStringLiteral("Contents1Click"), this, [this](QAction*) { showHelp(false); });
    a.connectEvent(QStringLiteral("SearchforHelpOn1Click"), this, [this](QAction*) { showHelp(true); });
    a.connectEvent(QStringLiteral("About1Click"), this, [this](QAction*) {
        AboutBox box(this);
        box.exec();
    });

    m_treeCommands->connectActions();
    m_memoCommands->connectActions();
    connect(m_tree, &TreePane::popupMenuAboutToShow, this,
        [this](Node* node) { m_treeCommands->preparePopup(node); });
    if (QMenu* memoMenu = m_menus->menu(QStringLiteral("pmMemo")))
        connect(memoMenu, &QMenu::aboutToShow, this, [this] { m_memoCommands->preparePopup(); });

    // Commands whose subsystems are not part of this window yet stay visibly unavailable.
    static const QStringList kNotYetBuilt = {
        QStringLiteral("TextInClick"),
        QStringLiteral("SaveAsTextClick"),
        QStringLiteral("tbFindClick"),
        QStringLiteral("FindNext1Click"),
        QStringLiteral("FindPrev1Click"),
        QStringLiteral("Replace1Click"),
        QStringLiteral("KeyCustomizeClick"),
        QStringLiteral("Option1Click"),
        QStringLiteral("EditByEditorClick"),
        QStringLiteral("HelperList1Click"),
        QStringLiteral("TemplateRegClick"),
        QStringLiteral("MemoWizardClick"),
        QStringLiteral("InstantMemoClick"),
        QStringLiteral("CollectionModeClick"),
        QStringLiteral("CountCharClick"),
        QStringLiteral("BookmarkItemClick"),
        QStringLiteral("BookListClick"),
    };
    for (const QString& event : kNotYetBuilt)
        a.setEventEnabled(event, false);
}

void TMainForm1::applySettings()
{
    m_treeWidth = m_settings.get(key::TreeWidth);
    m_splitter->setSizes({ m_treeWidth, qMax(60, width() - m_treeWidth) });
    m_tree->setImagesShown(!m_settings.get(key::NoTreeIcons));
    m_tree->setHotTrack(m_settings.get(key::HotTrack));
    m_tree->setRowSelect(m_settings.get(key::RowSelect));
    m_tree->setButtonsShown(!m_settings.get(key::NoButtons));
    m_tree->setTitleTips(!m_settings.get(key::NoChipHint));
    m_titleLabel->setVisible(!m_settings.get(key::NoTitle));
    m_tree->setFont(settingsFont(m_settings.get(key::TreeFontName), m_settings.get(key::TreeFontSize),
        m_settings.get(key::TreeFontStyle)));
    m_title->setFont(settingsFont(m_settings.get(key::TitleFontName), m_settings.get(key::TitleFontSize),
        m_settings.get(key::TitleFontStyle)));
    m_memo->setFont(settingsFont(m_settings.get(key::MemoFontName), m_settings.get(key::MemoFontSize),
        m_settings.get(key::MemoFontStyle)));
    m_memoCommands->adjustMemoLineHeight();
    m_memo->setTabWidth(m_settings.get(key::TabSize));
    applyPaneColours();
    applyImeColours();
    applyStoredShortcuts();
    applyToolBarPositions();
}

void TMainForm1::applyToolBarPositions()
{
    const std::string state = m_context.ini->readString("Window", kToolBarStateKey, "");
    if (!state.empty()) {
        restoreState(QByteArray::fromBase64(QByteArray::fromStdString(state)));
        return;
    }
    placeToolBars(*this, m_menus->toolBars(), m_settings);
}

void TMainForm1::applyPaneColours()
{
    auto paint = [this](QWidget* widget, Colour text, Colour back) {
        QPalette palette = widget->palette();
        const QPalette base = QApplication::palette();
        palette.setColor(QPalette::Text, qColorFromColour(text, base));
        palette.setColor(QPalette::Base, qColorFromColour(back, base));
        widget->setPalette(palette);
    };
    paint(m_tree, m_settings.get(key::TreeFontColor), m_settings.get(key::TreeBackColor));
    paint(m_title, m_settings.get(key::TitleFontColor), m_settings.get(key::TitleBackColor));
    paint(m_memo, m_settings.get(key::MemoFontColor), m_settings.get(key::MemoBackColor));
}

void TMainForm1::applyImeColours()
{
    const QPalette base = QApplication::palette();
    auto state = [&](Colour text, Colour back, bool underline) {
        TImeColor colour;
        colour.setIcText(qColorFromColour(text, base));
        colour.setIcBackground(qColorFromColour(back, base));
        colour.setStyle(underline ? fsUnderline : 0);
        return colour;
    };
    TImeColors colours;
    colours.WatchingUntransfered = state(
        m_settings.get(key::ImeWUText), m_settings.get(key::ImeWUBack), m_settings.get(key::ImeWULine));
    colours.Untransfered = state(
        m_settings.get(key::ImeUTText), m_settings.get(key::ImeUTBack), m_settings.get(key::ImeUTLine));
    colours.WatchingTransfered = state(
        m_settings.get(key::ImeWTText), m_settings.get(key::ImeWTBack), m_settings.get(key::ImeWTLine));
    colours.Transfered = state(
        m_settings.get(key::ImeTFText), m_settings.get(key::ImeTFBack), m_settings.get(key::ImeTFLine));
    m_memo->setImeColors(colours);
}

void TMainForm1::applyStoredShortcuts()
{
    // Stored keys replace the defaults of every item of the main menu, a missing key meaning none;
    // Ctrl+0 to Ctrl+9 stay with the bookmarks whatever is stored.
    if (!m_settings.hasShortcuts())
        return;
    QHash<QString, QKeySequence> keys;
    QList<QMenu*> pending = m_menus->mainMenus();
    while (!pending.isEmpty()) {
        QMenu* menu = pending.takeFirst();
        for (QAction* item : menu->actions()) {
            if (QMenu* sub = item->menu())
                pending << sub;
            else if (!item->objectName().isEmpty() && !item->isSeparator())
                keys.insert(item->objectName(),
                    keySequenceFromShortcut(m_settings.shortcut(item->objectName().toStdString())));
        }
    }
    m_actions->applyShortcuts(keys);
}

} // namespace notarium

namespace notarium {

bool TMainForm1::event(QEvent* event)
{
    // Long hints go to status panel 0; the other panels stay as they are.
    if (event->type() == QEvent::StatusTip) {
        if (!m_panels.isEmpty())
            m_panels[0]->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

QMenu* TMainForm1::createPopupMenu()
{
    return m_menus->createToolbarPopup(this);
}

void TMainForm1::startWith(const QStringList& arguments)
{
    const CommandLineRequest request = parseCommandLine(arguments, QDir::currentPath());
    if (request.obsoleteS)
        m_context.services.prompt->tell(this,
            QStringLiteral(
                "“-S”コマンドラインスイッチは廃止となりました。\r\n詳しくはヘルプを参照してください。"),
            QStringLiteral("-s is not available."), MessageIcon::Warning);
    if (request.path.isEmpty())
        return;
    if (!QFileInfo(request.path).isFile()) {
        m_context.services.prompt->tell(this, FileCommands::fileMissingText(request.path),
            QStringLiteral("ファイルエラー"), MessageIcon::Information);
        return;
    }
    if (request.readOnly || isReadOnlyFile(request.path)) {
        m_files->openDocument(request.path, request.readOnly);
        return;
    }
    if (FileLock::canOpenForWriting(request.path)) {
        m_files->openDocument(request.path, false);
        return;
    }
    const PromptAnswer answer = m_context.services.prompt->ask(this, FileCommands::inUseText(request.path),
        QStringLiteral("ファイルは使用中です..."), MessageIcon::Warning, PromptButtons::YesNo);
    if (answer == PromptAnswer::Yes)
        m_files->openDocument(request.path, true);
    else
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TMainForm1::showDocument(Node* select)
{
    m_memo->setReadOnly(true);
    m_title->setReadOnly(m_doc->isReadOnly());
    if (select == nullptr)
        select = m_doc->nodeAt(1);
    m_tree->setSelectedNode(select);
    if (Node* first = m_doc->documentNode())
        m_tree->scrollTo(m_model->indexFromNode(first));
    if (select)
        m_tree->scrollTo(m_model->indexFromNode(select));
    // The selection signal is not sent when the node was selected already.
    Node* shown = m_tree->selectedNode();
    updateCommandStates(shown);
    if (shown) {
        m_title->setText(fromCp932(shown->title()));
        m_title->setModified(false);
        if (shown->data()) {
            loadNodeToMemo(shown);
        } else {
            m_loadingNode = true;
            m_memo->setBytes({});
            m_memo->setModified(false);
            m_loadingNode = false;
        }
    }
    updateModifiedPanel();
}

void TMainForm1::selectionChanged(Node* previous, Node* current)
{
    // Before the change: the commands follow the new node and the old one keeps its text.
    updateCommandStates(current);
    if (previous && previous->isUserNode())
        storeMemoToNode(previous);
    if (current == nullptr || !current->isUserNode()) {
        m_loadingNode = true;
        m_memo->setBytes({});
        m_memo->setModified(false);
        m_loadingNode = false;
    }
    // After it: the title box and the memo pane show the new node.
    m_title->setText(current ? fromCp932(current->title()) : QString());
    m_title->setModified(false);
    if (current && current->isUserNode())
        loadNodeToMemo(current);
    m_tree->clearRightPress();
}

void TMainForm1::storeSelectedMemo()
{
    Node* node = m_tree ? m_tree->selectedNode() : nullptr;
    if (node && node->isUserNode())
        storeMemoToNode(node);
}

void TMainForm1::storeMemoToNode(Node* node)
{
    TNodeData* data = node->data();
    if (data == nullptr || m_loadingNode)
        return;
    const bool edited = m_memo->Modified();
    if (edited) {
        data->MemoStr = m_memo->bytes();
        data->Modify = true;
        m_doc->setModified(true);
    }
    data->TopLin = m_memo->FirstVisibleLine();
    data->LinCnt = m_memo->LineCount();
    data->SelPos = m_memo->SelPos();
    data->SelLen = m_memo->SelLen();
    if (edited) {
        m_loadingNode = true;
        m_memo->setModified(false);
        m_loadingNode = false;
        m_doc->notifyDataChanged(node);
    }
}

void TMainForm1::loadNodeToMemo(Node* node)
{
    const TNodeData* data = node->data();
    if (data == nullptr)
        return;
    m_loadingNode = true;
    m_memo->setBytes(data->MemoStr);
    m_memo->setModified(false);
    m_memo->setReadOnly(m_doc->isReadOnly());
    m_memo->LineScroll(0, -m_memo->LineCount());
    m_memo->LineScroll(0, data->TopLin);
    m_memo->setSelPos(data->SelPos);
    m_memo->setSelLen(data->SelLen);
    m_memo->ClearUndo();
    m_loadingNode = false;
    updateCaretPanel();
}

void TMainForm1::updateCommandStates(Node* node)
{
    const bool top = node == nullptr || !node->isUserNode();
    const bool readOnly = m_doc->isReadOnly();
    const bool content = m_doc->hasContent();
    const ActionRegistry& a = *m_actions;
    a.setEventEnabled(QStringLiteral("GoTitleClick"), !top);
    a.setEventEnabled(QStringLiteral("tbSaveClick"), content && !readOnly);
    a.setEventEnabled(QStringLiteral("SaveAs1Click"), content && !readOnly);
    m_title->setEnabled(!top);
    m_title->setReadOnly(readOnly);
    m_memo->setReadOnly(top || readOnly);
    m_tree->clearRightPress();
    if (m_treeCommands)
        m_treeCommands->updateCommandStates(node);
    if (m_memoCommands)
        m_memoCommands->updateCommandStates();
}

void TMainForm1::updateModifiedPanel()
{
    if (m_panels.size() > 1)
        m_panels[1]->setText(m_doc->isModified() ? QStringLiteral("変更") : QString());
}

void TMainForm1::updateCaretPanel()
{
    if (m_panels.size() > 4)
        m_panels[4]->setText(
            QStringLiteral("%1：%2").arg(m_memo->CaretLine() + 1, 3).arg(m_memo->CaretColumn() + 1, 3));
}

void TMainForm1::titleEdited(const QString& text)
{
    Node* node = m_tree->selectedNode();
    if (node == nullptr || !node->isUserNode() || m_doc->isReadOnly())
        return;
    bool replaced = false;
    m_doc->setTitle(node, cp932::fromUtf16(text.toStdU16String(), &replaced));
    m_doc->setModified(true);
    if (replaced)
        m_panels[0]->setText(QStringLiteral("Shift-JIS で表せない文字を「〓」に置き換えました"));
}

void TMainForm1::goToNode(Node* target)
{
    if (m_title->hasFocus())
        m_memo->setFocus();
    if (target == nullptr) {
        m_context.services.prompt->beep();
        return;
    }
    m_tree->setSelectedNode(target);
    updateCaretPanel();
}

void TMainForm1::changeFocus()
{
    if (m_tree->hasFocus())
        m_memo->setFocus();
    else if (m_title->hasFocus() || m_memo->hasFocus())
        m_tree->setFocus();
}

void TMainForm1::goTitle()
{
    if (m_title->isEnabled() && m_rightSide->isVisible())
        m_title->setFocus();
    else
        m_context.services.prompt->beep();
}

void TMainForm1::toggleMemoMaximized()
{
    if (m_tree->hasFocus())
        m_memo->setFocus();
    const bool hide = m_tree->isVisible();
    m_tree->setVisible(!hide);
    m_actions->setEventChecked(QStringLiteral("tbMemoPaneMaximizeClick"), hide);
    m_actions->setEventEnabled(QStringLiteral("ChangeFocus1Click"), !hide);
    m_actions->setEventEnabled(QStringLiteral("tbTreePaneMaximizeClick"), !hide);
}

void TMainForm1::toggleTreeMaximized()
{
    const bool hide = m_rightSide->isVisible();
    if (hide) {
        m_tree->setFocus();
        m_treeWidth = m_tree->width();
        m_rightSide->hide();
    } else {
        m_rightSide->show();
        m_splitter->setSizes({ m_treeWidth, qMax(60, m_splitter->width() - m_treeWidth) });
        m_memo->setFocus();
    }
    m_actions->setEventChecked(QStringLiteral("tbTreePaneMaximizeClick"), hide);
    m_actions->setEventEnabled(QStringLiteral("ChangeFocus1Click"), !hide);
    m_actions->setEventEnabled(QStringLiteral("tbMemoPaneMaximizeClick"), !hide);
}

void TMainForm1::restorePanes()
{
    if (!m_rightSide->isVisible())
        toggleTreeMaximized();
    if (!m_tree->isVisible())
        toggleMemoMaximized();
}

int TMainForm1::helpContextOfFocus() const
{
    const QWidget* focus = QApplication::focusWidget();
    if (focus == m_tree || (focus && m_tree->isAncestorOf(focus)))
        return kHelpTreePane;
    if (focus == m_title)
        return kHelpTitleBox;
    if (focus == m_memo || (focus && m_memo->isAncestorOf(focus)))
        return kHelpMemoPane;
    return kHelpMainWindow;
}

void TMainForm1::showHelp(bool search)
{
    if (m_help == nullptr)
        m_help = new HelpWindow(this);
    if (search)
        m_help->showSearch();
    else
        m_help->showContext(helpContextOfFocus());
}

void TMainForm1::rebuildReopenMenu()
{
    QMenu* reopen = m_menus->menu(QStringLiteral("Reopen1"));
    if (reopen == nullptr)
        return;
    reopen->clear();
    int number = 1;
    for (const QString& path : m_files->recentFiles().menuEntries()) {
        QAction* item = reopen->addAction(QStringLiteral("&%1 %2").arg(number++).arg(path));
        item->setStatusTip(QStringLiteral("ファイル ") + path + QStringLiteral(" を開きます"));
        connect(item, &QAction::triggered, this, [this, path] {
            m_files->reopen(path, QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier));
        });
    }
    reopen->setEnabled(!reopen->isEmpty());
    if (QAction* menuAction = reopen->menuAction())
        menuAction->setEnabled(!reopen->isEmpty());
    if (QMenu* dropDown = m_menus->menu(QStringLiteral("tbpmOpen"))) {
        dropDown->clear();
        dropDown->addActions(reopen->actions());
    }
}

void TMainForm1::showProgress(quint64 done, quint64 total)
{
    if (total == 0) {
        m_progress->hide();
        m_progressPercent = -1;
        QApplication::restoreOverrideCursor();
        return;
    }
    if (m_progressPercent < 0) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_progress->setRange(0, 100);
        m_progress->show();
    }
    const int percent = static_cast<int>(qMin<quint64>(100, done * 100 / total));
    if (percent != m_progressPercent) {
        m_progressPercent = percent;
        m_progress->setValue(percent);
        m_progress->repaint();
    }
}

int TMainForm1::selectedIndex()
{
    return qMax(0, m_doc->absoluteIndex(m_tree->selectedNode()));
}

void TMainForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (!m_panels.isEmpty())
        m_panels[0]->setText(QStringLiteral("%1x%2").arg(width()).arg(height()));
}

void TMainForm1::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TMainForm1::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    const QString path = urls.first().toLocalFile();
    // The drop ends before any question is asked, so the other program is not kept waiting.
    QMetaObject::invokeMethod(
        this, [this, path] { m_files->dropFile(path); }, Qt::QueuedConnection);
}

void TMainForm1::closeEvent(QCloseEvent* event)
{
    if (!m_files->saveIfNeeded()) {
        event->ignore();
        return;
    }
    restorePanes();
    writeSettingsAtExit();
    event->accept();
}

void TMainForm1::writeSettingsAtExit()
{
    writeWindowPlacement(m_settings, windowShowState(*this), normalPlacementGeometry(*this));
    m_settings.set(key::TreeWidth, m_tree->width());
    // The input method colours are the memo pane's; they are written back as colour names.
    const TImeColors& ime = m_memo->ImeColors();
    auto writeState = [this](const TImeColor& colour, auto textKey, auto backKey, auto lineKey) {
        m_settings.set(textKey, colourFromQColor(colour.icText()));
        m_settings.set(backKey, colourFromQColor(colour.icBackground()));
        m_settings.set(lineKey, (colour.Style() & fsUnderline) != 0);
    };
    writeState(ime.WatchingUntransfered, key::ImeWUText, key::ImeWUBack, key::ImeWULine);
    writeState(ime.Untransfered, key::ImeUTText, key::ImeUTBack, key::ImeUTLine);
    writeState(ime.WatchingTransfered, key::ImeWTText, key::ImeWTBack, key::ImeWTLine);
    writeState(ime.Transfered, key::ImeTFText, key::ImeTFBack, key::ImeTFLine);
    if (!m_settings.contains(key::EnableCtrlAltKey))
        m_settings.set(key::EnableCtrlAltKey, false);
    m_settings.set(key::TabSize, m_memo->TabWidth());
    std::vector<std::string> recent;
    for (const QString& path : m_files->recentFiles().paths())
        recent.push_back(path.toStdString());
    m_settings.setRecentFiles(recent);
    // Qt's own record of the tool bars' rows, positions and floating places, beside the
    // per-tool-bar sections that keep their visibility and edge readable.
    m_context.ini->writeString("Window", kToolBarStateKey, saveState().toBase64().toStdString());
    for (QToolBar* bar : m_menus->toolBars())
        m_settings.setToolBarPosition(bar->objectName().toStdString(), describeToolBar(*this, *bar));
    if (!m_context.settingsPath.isEmpty())
        m_context.ini->save(QFile::encodeName(m_context.settingsPath).toStdString());
}

} // namespace notarium
