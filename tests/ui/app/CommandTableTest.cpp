#include "app/ActionRegistry.h"
#include "app/MenuBuilder.h"

#include <QAction>
#include <QActionGroup>
#include <QImage>
#include <QLoggingCategory>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace notarium;

namespace {

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

// The main menu as the command table of the main window documents it: menu, item, caption, key
// (written as the documentation writes it), event, status-bar text.
struct MenuItemSpec {
    const char* menu;
    const char* name;
    const char* caption;
    const char* key;
    const char* event;
    const char* status;
};

const MenuItemSpec kMainMenu[] = {
    { "File1", "New1", "新規作成(&N)", "Ctrl+N", "tbNewClick", "ファイルを新規作成します" },
    { "File1", "Open1", "開く(&O)...", "Ctrl+O", "tbOpenClick", "ファイルを開きます" },
    { "File1", "Reopen1", "開き直す(&R)", "", "", "過去に開いたファイルを開きます" },
    { "File1", "Open2", "別ウィンドウで開く(&D)...", "", "Open2Click",
        "ファイルを新しいウィンドウで開きます" },
    { "File1", "TextIn", "テキストの読み込み(&E)...", "", "TextInClick",
        "テキストファイルを現在の位置に読み込みます" },
    { "File1", "PrintByEditor", "外部ツールで印刷(&P)...", "Ctrl+P", "SaveAsTextClick",
        "オプションで設定した外部ツールでテキストを印刷します" },
    { "File1", "Save1", "上書き保存(&S)", "Ctrl+S", "tbSaveClick", "開いているファイルを保存します" },
    { "File1", "SaveAs1", "名前を付けて保存(&A)...", "", "SaveAs1Click",
        "ファイルに別の名前を付けて保存します" },
    { "File1", "SaveAsText", "テキストとして保存(&T)...", "", "SaveAsTextClick",
        "ファイルをテキストとして保存します" },
    { "File1", "Close1", "閉じる(&C)", "Ctrl+W", "tbCloseClick", "ファイルを閉じます" },
    { "File1", "Exit1", "終了(&X)", "Ctrl+Q", "Exit1Click", "Notariumを終了します" },
    { "Edit1", "Undo1", "元に戻す(&U)", "Ctrl+Z", "tbUndoClick", "直前の変更を取り消して元に戻します" },
    { "Edit1", "Cut1", "切り取り(&T)", "Ctrl+X", "tbCutClick", "選択データを切り取ります" },
    { "Edit1", "Copy1", "コピー(&C)", "Ctrl+C", "tbCopyClick", "選択データをコピーします" },
    { "Edit1", "Paste1", "貼り付け(&P)", "Ctrl+V", "tbPasteClick", "クリップボードのデータを貼り付けます" },
    { "Edit1", "SelectAll1", "すべてを選択(&A)", "Ctrl+A", "SelectAll1Click", "テキストをすべて選択します" },
    { "Edit1", "EraseCRLF1", "改行コードを削除(&L)", "", "EraseCRLF1Click",
        "選択範囲の改行コードを削除します" },
    { "Edit1", "Find1", "検索(&F)...", "Ctrl+F", "tbFindClick", "指定されたキーワードを検索します" },
    { "Edit1", "FindNext1", "次を検索(&N)", "F3", "FindNext1Click", "次を検索します" },
    { "Edit1", "FindPrev1", "前を検索(&B)", "Shift+F3", "FindPrev1Click", "前を検索します" },
    { "Edit1", "Replace1", "検索・置換(&E)...", "Ctrl+R", "Replace1Click",
        "指定されたキーワードを検索して置き換えます" },
    { "Tree1", "NewCategory", "カテゴリーを作成(&B)", "Ctrl+B", "tbNewCategoryClick",
        "メモをまとめるカテゴリーを作成します" },
    { "Tree1", "NewChildCategory", "カテゴリー（下の階層）を作成(&V)", "Ctrl+Shift+B", "pmTrayCategoryClick",
        "メモをまとめるカテゴリーを下の階層に作成します" },
    { "Tree1", "NewMemo", "メモを作成(&M)", "Ctrl+M", "tbNewMemoClick", "メモを作成します" },
    { "Tree1", "NewChildMemo", "メモ（下の階層）を作成(&N)", "Ctrl+Shift+M", "NewChildMemoClick",
        "メモを下の階層に作成します" },
    { "Tree1", "NewResult", "結論を作成(&R)", "Ctrl+Shift+R", "tbNewResultClick", "結論を作成します" },
    { "Tree1", "TreeCut", "メモを切り取り(&T)", "Ctrl+Shift+X", "TreeCutClick", "メモデータを切り取ります" },
    { "Tree1", "TreeCopy", "メモをコピー(&C)", "Ctrl+Shift+C", "TreeCopyClick", "メモデータをコピーします" },
    { "Tree1", "TreePaste", "メモを貼り付け(&P)", "Ctrl+Shift+V", "TreePasteClick",
        "メモデータを貼り付けます" },
    { "Tree1", "NodeUp", "メモを上に移動(&U)", "Ctrl+Alt+Up", "tbNodeUpClick",
        "選択されたメモの位置を上に移動します" },
    { "Tree1", "NodeDown", "メモを下に移動(&D)", "Ctrl+Alt+Down", "tbNodeDownClick",
        "選択されたメモの位置を下に移動します" },
    { "Tree1", "LevelUp", "階層レベルを上げる(&E)", "Ctrl+Alt+Left", "tbLevelUpClick",
        "選択されたメモの階層レベルを上げます" },
    { "Tree1", "LevelDown", "階層レベルを下げる(&W)", "Ctrl+Alt+Right", "tbLevelDownClick",
        "選択されたメモの階層レベルを下げます" },
    { "Tree1", "LevelUpChildren", "子データの階層レベルを上げる(&J)", "", "LevelUpChildrenClick",
        "選択データが持つ子データの階層レベルを選択データと同じ階層に変更します" },
    { "Tree1", "LevelDnSiblings", "同レベルデータの階層を下げる(&S)", "", "LevelDnSiblingsClick",
        "選択データより下にある同じ階層のデータを選択データの子データに変更します" },
    { "Tree1", "Exchange3", "アイコン変更（カテゴリーとメモ）(&G)", "", "tbExchange1Click",
        "アイコンを切り換えます（カテゴリーとメモ）" },
    { "Tree1", "Exchange4", "アイコン変更（メモと結論）(&H)", "", "tbExchange2Click",
        "アイコンを切り換えます（メモと結論）" },
    { "Tree1", "TreeDelete", "削除(&L)", "Ctrl+Del", "tbDeleteClick", "選択されたデータを削除します" },
    { "View1", "PageUp", "前のページ(&P)", "Ctrl+Up", "tbPageUpClick", "前のページを表示します" },
    { "View1", "PageDn", "次のページ(&N)", "Ctrl+Down", "tbPageDnClick", "次のページを表示します" },
    { "View1", "UpperPage", "上のページ(&U)", "Ctrl+PgUp", "UpperPageClick",
        "ツリーペインに見えている上のページを表示します" },
    { "View1", "LowerPage", "下のページ(&D)", "Ctrl+PgDn", "LowerPageClick",
        "ツリーペインに見えている下のページを表示します" },
    { "View1", "ChangeFocus1", "フォーカスペインの切り換え(&B)", "Ctrl+L", "ChangeFocus1Click",
        "注目ウィンドウを切り換えます" },
    { "View1", "GoTitle", "タイトル編集ボックス(&E)", "Alt+Up", "GoTitleClick",
        "タイトル編集ボックスに移動します" },
    { "View1", "ExpandAllTree", "すべてのツリーを展開(&X)", "", "ExpandAllTreeClick",
        "すべてのツリーを展開して表示します" },
    { "View1", "CollapseAllTree", "すべてのツリーを縮小(&L)", "", "CollapseAllTreeClick",
        "すべてのツリーを折りたたんで（縮小して）表示します" },
    { "View1", "CollapseTree", "選択位置のツリーを縮小(&C)", "Ctrl+minus", "CollapseTreeClick",
        "現在位置のツリーを折りたたみます" },
    { "View1", "RestoreTreeState", "ツリーの開閉状態を元に戻す(&R)", "", "RestoreTreeStateClick",
        "ツリーの状態を全文検索や全展開・全縮小前の状態に戻します" },
    { "View1", "TreeMaximize1", "ツリーペインを最大表示(&V)", "F11", "tbTreePaneMaximizeClick",
        "ウィンドウ左側のツリーペインだけを最大表示します" },
    { "View1", "MemoMaximize1", "メモペインを最大表示(&M)", "F12", "tbMemoPaneMaximizeClick",
        "ウィンドウ右側のメモペインだけを最大表示します" },
    { "View1", "Toolbar1", "ツールバー(&T)", "", "", "ツールバーを表示します" },
    { "View1", "mnToolbar1", "ファイル・編集(&F)", "", "mnToolbar1Click", "ファイル・編集ツールバー" },
    { "View1", "mnToolbar2", "メモ(&M)", "", "mnToolbar2Click", "メモツールバー" },
    { "View1", "mnToolbar3", "ページ(&P)", "", "mnToolbar3Click", "ページツールバー" },
    { "View1", "mnToolbar4", "クイックメモ(&Q)", "", "mnToolbar4Click", "クイックメモツールバー" },
    { "View1", "KeyCustomize", "キーカスタマイズ(&K)...", "", "KeyCustomizeClick",
        "ショートカットキーの割り当てをカスタマイズします" },
    { "View1", "Option1", "オプション(&O)...", "", "Option1Click", "Notariumの設定をします" },
    { "Tool1", "InsertDate", "現在の日付を挿入(&D)", "", "tbDateInsertClick",
        "カーソル位置に現在の日付を挿入します" },
    { "Tool1", "InsertTime", "現在の時刻を挿入(&T)", "", "tbTimeInsertClick",
        "カーソル位置に現在の時刻を挿入します" },
    { "Tool1", "EditByEditor", "メモをテキストエディターで編集(&E)...", "F9", "EditByEditorClick",
        "現在表示されているメモをテキストエディタで編集します" },
    { "Tool1", "HelperList1", "入力支援リスト(&H)", "Ctrl+Space", "HelperList1Click",
        "文字列入力支援機能のリストを表示します" },
    { "Tool1", "Template1", "テンプレート(&P)", "", "", "テンプレートを登録・挿入します" },
    { "Tool1", "TemplateReg", "登録 /編集(&R)...", "Ctrl+T", "TemplateRegClick",
        "テンプレートを登録・編集します" },
    { "Tool1", "MemoWizard", "メモを連続作成(&W)...", "", "MemoWizardClick", "メモをまとめて連続作成します" },
    { "Tool1", "InstantMemo", "インスタントメモ(&S)", "Ctrl+Ins", "InstantMemoClick",
        "新しいメモを作成してクリップボードのテキストを貼り付けます" },
    { "Tool1", "CollectionMode", "コレクション モード(&K)", "", "CollectionModeClick",
        "クリップボードの変更を監視しながら新しいメモを自動作成します" },
    { "Tool1", "CountChar", "文字数カウント(&C)...", "", "CountCharClick",
        "テキストの文字数をカウントして表示します" },
    { "Tool1", "BookmarkMenu", "ブックマーク(&M)", "", "", "ブックマークを設定・表示します" },
    { "Tool1", "N01", "&0 （未設定）", "Ctrl+0", "BookmarkItemClick", "" },
    { "Tool1", "N110", "&1 （未設定）", "Ctrl+1", "BookmarkItemClick", "" },
    { "Tool1", "N26", "&2 （未設定）", "Ctrl+2", "BookmarkItemClick", "" },
    { "Tool1", "N31", "&3 （未設定）", "Ctrl+3", "BookmarkItemClick", "" },
    { "Tool1", "N41", "&4 （未設定）", "Ctrl+4", "BookmarkItemClick", "" },
    { "Tool1", "N51", "&5 （未設定）", "Ctrl+5", "BookmarkItemClick", "" },
    { "Tool1", "N61", "&6 （未設定）", "Ctrl+6", "BookmarkItemClick", "" },
    { "Tool1", "N71", "&7 （未設定）", "Ctrl+7", "BookmarkItemClick", "" },
    { "Tool1", "N81", "&8 （未設定）", "Ctrl+8", "BookmarkItemClick", "" },
    { "Tool1", "N91", "&9 （未設定）", "Ctrl+9", "BookmarkItemClick", "" },
    { "Tool1", "BookList", "ブックマーク一覧(&L)...", "Ctrl+K", "BookListClick",
        "ブックマークの一覧を表示します" },
    { "Help1", "Contents1", "Notarium ヘルプ(&H)", "F1", "Contents1Click", "ヘルプを表示します" },
    { "Help1", "SearchforHelpOn1", "トピックの検索(&C)", "Shift+F1", "SearchforHelpOn1Click",
        "ヘルプを検索します" },
    { "Help1", "About1", "バージョン情報(&A)...", "", "About1Click", "Notariumのバージョン情報を表示します" },
};

// The tool bar buttons: tool bar, button, event, tooltip, status-bar text, notes.
struct ButtonSpec {
    const char* toolBar;
    const char* name;
    const char* event;
    const char* toolTip;
    const char* status;
    const char* notes;
};

const ButtonSpec kButtons[] = {
    { "FileToolbar", "tbNew", "tbNewClick", "新規作成", "ファイルを新規に作成します", "" },
    { "FileToolbar", "tbOpen", "tbOpenClick", "ファイルを開く", "ディスクのファイルを開きます",
        "DropdownMenu = tbpmOpen" },
    { "FileToolbar", "tbClose", "tbCloseClick", "閉じる", "開いているファイルを閉じます", "" },
    { "FileToolbar", "tbSave", "tbSaveClick", "保存", "ファイルをディスクに保存します", "" },
    { "FileToolbar", "tbUndo", "tbUndoClick", "元に戻す", "変更を取り消して元に戻します", "Enabled = False" },
    { "FileToolbar", "tbCut", "tbCutClick", "切り取り", "データを切り取ってクリップボードに入れます",
        "Enabled = False" },
    { "FileToolbar", "tbCopy", "tbCopyClick", "コピー", "データをクリップボードにコピーします",
        "Enabled = False" },
    { "FileToolbar", "tbPaste", "tbPasteClick", "貼り付け", "クリップボードのデータを貼り付けます",
        "Enabled = False" },
    { "FileToolbar", "tbFind", "tbFindClick", "検索", "指定されたキーワードを検索します", "" },
    { "FileToolbar", "tbFindReplace", "Replace1Click", "検索・置換",
        "指定されたキーワードを検索して置き換えます", "" },
    { "MemoToolbar", "tbNewCategory", "tbNewCategoryClick", "カテゴリーを作成", "カテゴリーを作成します",
        "DropdownMenu = tbpmCategory" },
    { "MemoToolbar", "tbNewMemo", "tbNewMemoClick", "メモを作成", "メモを作成します",
        "DropdownMenu = tbpmMemo" },
    { "MemoToolbar", "tbNewResult", "tbNewResultClick", "結論を作成", "結論を作成します", "Enabled = False" },
    { "MemoToolbar", "tbExchange1", "tbExchange1Click", "アイコンの切り換え",
        "アイコンを切り換えます（カテゴリーとメモ）", "" },
    { "MemoToolbar", "tbExchange2", "tbExchange2Click", "アイコンの切り換え",
        "アイコンを切り換えます（メモと結論）", "" },
    { "MemoToolbar", "tbDelete", "tbDeleteClick", "削除", "選択されたデータを削除します", "" },
    { "MemoToolbar", "tbNodeDown", "tbNodeDownClick", "メモを下に移動", "選択されたメモを下に移動します",
        "" },
    { "MemoToolbar", "tbNodeUp", "tbNodeUpClick", "メモを上に移動", "選択されたメモを上に移動します", "" },
    { "MemoToolbar", "tbLevelUp", "tbLevelUpClick", "レベルを上げる", "選択されたメモの階層レベルを上げます",
        "" },
    { "MemoToolbar", "tbLevelDown", "tbLevelDownClick", "レベルを下げる",
        "選択されたメモの階層レベルを下げます", "" },
    { "PageToolbar", "tbPageDn", "tbPageDnClick", "次のページ", "次のページを表示します",
        "Repeating = True; RepeatDelay = 500; RepeatInterval = 500" },
    { "PageToolbar", "tbPageUp", "tbPageUpClick", "前のページ", "前のページを表示します",
        "Repeating = True; RepeatDelay = 500; RepeatInterval = 500" },
    { "PageToolbar", "tbPageDn2", "LowerPageClick", "下のページ",
        "ツリーペインに見えている下のページを表示します",
        "Repeating = True; RepeatDelay = 500; RepeatInterval = 500" },
    { "PageToolbar", "tbPageUp2", "UpperPageClick", "上のページ",
        "ツリーペインに見えている上のページを表示します",
        "Repeating = True; RepeatDelay = 500; RepeatInterval = 500" },
    { "PageToolbar", "tbTreePaneMaximize", "tbTreePaneMaximizeClick", "ツリーペインだけを表示",
        "メモペインを非表示にしてツリーペインだけを表示します", "GroupIndex = 1; AllowAllUp = True" },
    { "PageToolbar", "tbMemoPaneMaximize", "tbMemoPaneMaximizeClick", "メモペインだけを表示",
        "ツリーペインを非表示にしてメモペインだけを表示します", "GroupIndex = 1; AllowAllUp = True" },
    { "QuickMemoToolbar", "tbInstantMemo", "InstantMemoClick", "インスタントメモ", "インスタントメモ", "" },
    { "QuickMemoToolbar", "tbCollectionMode", "CollectionModeClick", "コレクションモード",
        "コレクションモード", "GroupIndex = 1; AllowAllUp = True" },
    { "QuickMemoToolbar", "tbSingleMemoMode", "", "シングルメモモード", "シングルメモモード",
        "GroupIndex = 2; Down = True; Enabled = False" },
    { "QuickMemoToolbar", "tbStackMemoMode", "", "マルチメモモード", "マルチメモモード",
        "GroupIndex = 2; Enabled = False" },
};

// Qt's portable key names, where the documentation writes keys differently.
QKeySequence documentedKey(const char* text)
{
    QString key = u(text);
    key.replace(QStringLiteral("minus"), QStringLiteral("-"));
    key.replace(QStringLiteral("PgDn"), QStringLiteral("PgDown"));
    return QKeySequence::fromString(key, QKeySequence::PortableText);
}

// A menu's entries in order: actions and submenus by object name, separators as "-"; a submenu's
// entries follow its own entry.
QStringList flatten(const QMenu* menu, bool withSeparators)
{
    QStringList names;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            if (withSeparators)
                names << QStringLiteral("-");
            continue;
        }
        names << action->objectName();
        if (const QMenu* sub = action->menu())
            names << flatten(sub, withSeparators);
    }
    return names;
}

QStringList toolBarEntries(const QToolBar* toolBar)
{
    QStringList names;
    for (QAction* action : toolBar->actions())
        names << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
    return names;
}

bool containsAction(const QMenu* menu, const QAction* action)
{
    for (QAction* entry : menu->actions()) {
        if (entry == action)
            return true;
        if (const QMenu* sub = entry->menu(); sub && containsAction(sub, action))
            return true;
    }
    return false;
}

bool paintsSomething(const QIcon& icon, int size)
{
    const QImage image = icon.pixmap(QSize(size, size)).toImage();
    if (image.isNull())
        return false;
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            opaque += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
    // A real glyph covers a fair part of its square; a broken file gives nothing.
    return opaque >= size * size / 10;
}

// The main window side of the contract: the tool bars' context menu comes from the builder.
class TestWindow : public QMainWindow {
public:
    TestWindow()
        : registry(new ActionRegistry(this))
        , builder(new MenuBuilder(this, *registry))
    {
    }

    QMenu* createPopupMenu() override { return builder->createToolbarPopup(this); }

    ActionRegistry* registry;
    MenuBuilder* builder;
};

} // namespace

class CommandTableTest : public QObject {
    Q_OBJECT

private slots:
    void mainMenuItems_data();
    void mainMenuItems();
    void mainMenuOrder_data();
    void mainMenuOrder();
    void specialKeys_data();
    void specialKeys();
    void toolButtons_data();
    void toolButtons();
    void toolBars_data();
    void toolBars();
    void popupMenus_data();
    void popupMenus();
    void popupCaptions_data();
    void popupCaptions();
    void eventsAndNames();
    void toolbarToggles_data();
    void toolbarToggles();
    void toolbarContextMenu();
    void twinStates();
    void connectEvent();
    void shortcuts();
    void icons();
    void pageButtonsRepeat();
};

void CommandTableTest::mainMenuItems_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("event");
    QTest::addColumn<QString>("status");
    for (const MenuItemSpec& s : kMainMenu)
        QTest::newRow(s.name) << u(s.menu) << u(s.name) << u(s.caption) << u(s.key) << u(s.event)
                              << u(s.status);
}

void CommandTableTest::mainMenuItems()
{
    QFETCH(QString, menu);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, key);
    QFETCH(QString, event);
    QFETCH(QString, status);
    TestWindow w;
    const QMenu* top = w.builder->menu(menu);
    QVERIFY(top);
    QVERIFY(w.builder->mainMenus().contains(top));

    if (event.isEmpty()) {
        // A submenu: its entry carries the caption and the hint.
        const QMenu* sub = w.builder->menu(name);
        QVERIFY2(sub, qPrintable(name));
        QCOMPARE(sub->title(), caption);
        QCOMPARE(sub->menuAction()->objectName(), name);
        QCOMPARE(sub->menuAction()->statusTip(), status);
        QVERIFY(containsAction(top, sub->menuAction()));
        return;
    }
    QAction* action = w.registry->action(name);
    QVERIFY2(action, qPrintable(name));
    QCOMPARE(action->objectName(), name);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->shortcut(), documentedKey(key.toUtf8().constData()));
    QCOMPARE(action->statusTip(), status);
    QVERIFY(w.registry->actionsFor(event).contains(action));
    QVERIFY2(containsAction(top, action), "the item sits in its menu");
}

void CommandTableTest::mainMenuOrder_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("items");
    const std::pair<const char*, const char*> menus[]
        = { { "File1", "ファイル(&F)" }, { "Edit1", "編集(&E)" }, { "Tree1", "メモ(&M)" },
              { "View1", "表示(&V)" }, { "Tool1", "ツール(&T)" }, { "Help1", "ヘルプ(&H)" } };
    for (const auto& [menu, caption] : menus) {
        QStringList items;
        for (const MenuItemSpec& s : kMainMenu)
            if (u(s.menu) == u(menu))
                items << u(s.name);
        QTest::newRow(menu) << u(menu) << u(caption) << items;
    }
}

void CommandTableTest::mainMenuOrder()
{
    QFETCH(QString, menu);
    QFETCH(QString, caption);
    QFETCH(QStringList, items);
    TestWindow w;
    const QMenu* top = w.builder->menu(menu);
    QVERIFY(top);
    QCOMPARE(top->title(), caption);
    QCOMPARE(flatten(top, false), items);
    // The menu bar holds the six menus in this order.
    QStringList barMenus;
    for (QAction* a : w.menuBar()->actions())
        barMenus << a->menu()->objectName();
    QCOMPARE(barMenus,
        QStringList({ QStringLiteral("File1"), QStringLiteral("Edit1"), QStringLiteral("Tree1"),
            QStringLiteral("View1"), QStringLiteral("Tool1"), QStringLiteral("Help1") }));
}

void CommandTableTest::specialKeys_data()
{
    // Keys whose names differ between platforms, checked against key codes rather than text.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QKeySequence>("key");
    QTest::newRow("CollapseTree") << u("CollapseTree") << QKeySequence(Qt::CTRL | Qt::Key_Minus);
    QTest::newRow("UpperPage") << u("UpperPage") << QKeySequence(Qt::CTRL | Qt::Key_PageUp);
    QTest::newRow("LowerPage") << u("LowerPage") << QKeySequence(Qt::CTRL | Qt::Key_PageDown);
    QTest::newRow("TreeDelete") << u("TreeDelete") << QKeySequence(Qt::CTRL | Qt::Key_Delete);
    QTest::newRow("InstantMemo") << u("InstantMemo") << QKeySequence(Qt::CTRL | Qt::Key_Insert);
    QTest::newRow("HelperList1") << u("HelperList1") << QKeySequence(Qt::CTRL | Qt::Key_Space);
    QTest::newRow("GoTitle") << u("GoTitle") << QKeySequence(Qt::ALT | Qt::Key_Up);
    QTest::newRow("NodeUp") << u("NodeUp") << QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Up);
    QTest::newRow("LevelDown") << u("LevelDown") << QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Right);
    QTest::newRow("NewChildCategory")
        << u("NewChildCategory") << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B);
    QTest::newRow("FindPrev1") << u("FindPrev1") << QKeySequence(Qt::SHIFT | Qt::Key_F3);
    QTest::newRow("N01") << u("N01") << QKeySequence(Qt::CTRL | Qt::Key_0);
    QTest::newRow("N91") << u("N91") << QKeySequence(Qt::CTRL | Qt::Key_9);
}

void CommandTableTest::specialKeys()
{
    QFETCH(QString, name);
    QFETCH(QKeySequence, key);
    TestWindow w;
    QCOMPARE(w.registry->action(name)->shortcut(), key);
}

void CommandTableTest::toolButtons_data()
{
    QTest::addColumn<QString>("toolBar");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("event");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("notes");
    for (const ButtonSpec& s : kButtons)
        QTest::newRow(s.name) << u(s.toolBar) << u(s.name) << u(s.event) << u(s.toolTip) << u(s.status)
                              << u(s.notes);
}

void CommandTableTest::toolButtons()
{
    QFETCH(QString, toolBar);
    QFETCH(QString, name);
    QFETCH(QString, event);
    QFETCH(QString, toolTip);
    QFETCH(QString, status);
    QFETCH(QString, notes);
    TestWindow w;
    QAction* action = w.registry->action(name);
    QVERIFY(action);
    QCOMPARE(action->toolTip(), toolTip);
    QCOMPARE(action->statusTip(), status);
    QVERIFY(action->shortcut().isEmpty());
    if (event.isEmpty())
        QVERIFY(!w.registry->events().contains(QString()));
    else
        QVERIFY(w.registry->actionsFor(event).contains(action));
    QVERIFY(w.builder->toolBar(toolBar)->actions().contains(action));

    QToolButton* button = w.builder->toolButton(name);
    QVERIFY(button);
    QCOMPARE(action->isEnabled(), !notes.contains(QStringLiteral("Enabled = False")));
    QCOMPARE(action->isCheckable(), notes.contains(QStringLiteral("GroupIndex")));
    QCOMPARE(action->isChecked(), notes.contains(QStringLiteral("Down = True")));
    const bool repeating = notes.contains(QStringLiteral("Repeating = True"));
    QCOMPARE(button->autoRepeat(), repeating);
    if (repeating) {
        QCOMPARE(button->autoRepeatDelay(), 500);
        QCOMPARE(button->autoRepeatInterval(), 500);
    }
    const qsizetype drop = notes.indexOf(QStringLiteral("DropdownMenu = "));
    if (drop >= 0) {
        QCOMPARE(button->popupMode(), QToolButton::MenuButtonPopup);
        QVERIFY(button->menu());
        QCOMPARE(button->menu()->objectName(), notes.mid(drop + 15));
        QCOMPARE(button->menu(), w.builder->menu(notes.mid(drop + 15)));
    } else {
        QVERIFY(!button->menu());
    }
}

void CommandTableTest::toolBars_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("area");
    QTest::addColumn<bool>("visible");
    QTest::newRow("FileToolbar") << u("FileToolbar") << u("File/Edit")
                                 << QStringList({ u("tbNew"), u("tbOpen"), u("tbClose"), u("tbSave"), u("-"),
                                        u("tbUndo"), u("tbCut"), u("tbCopy"), u("tbPaste"), u("-"),
                                        u("tbFind"), u("tbFindReplace") })
                                 << int(Qt::TopToolBarArea) << true;
    QTest::newRow("MemoToolbar") << u("MemoToolbar") << u("Memo")
                                 << QStringList({ u("tbNewCategory"), u("tbNewMemo"), u("tbNewResult"),
                                        u("-"), u("tbExchange1"), u("tbExchange2"), u("-"), u("tbDelete"),
                                        u("-"), u("tbNodeDown"), u("tbNodeUp"), u("tbLevelUp"),
                                        u("tbLevelDown") })
                                 << int(Qt::TopToolBarArea) << true;
    QTest::newRow("PageToolbar") << u("PageToolbar") << u("View")
                                 << QStringList({ u("tbPageDn"), u("tbPageUp"), u("-"), u("tbPageDn2"),
                                        u("tbPageUp2"), u("-"), u("tbTreePaneMaximize"),
                                        u("tbMemoPaneMaximize") })
                                 << int(Qt::TopToolBarArea) << true;
    QTest::newRow("QuickMemoToolbar") << u("QuickMemoToolbar") << u("Quick Memo")
                                      << QStringList({ u("tbInstantMemo"), u("-"), u("tbCollectionMode"),
                                             u("tbSingleMemoMode"), u("tbStackMemoMode") })
                                      << int(Qt::BottomToolBarArea) << false;
}

void CommandTableTest::toolBars()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QStringList, entries);
    QFETCH(int, area);
    QFETCH(bool, visible);
    TestWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QToolBar* toolBar = w.builder->toolBar(name);
    QVERIFY(toolBar);
    QCOMPARE(toolBar->objectName(), name);
    QCOMPARE(toolBar->windowTitle(), title);
    QCOMPARE(toolBarEntries(toolBar), entries);
    QCOMPARE(int(w.toolBarArea(toolBar)), area);
    QCOMPARE(toolBar->isVisible(), visible);
    QVERIFY(toolBar->isMovable());
    QVERIFY(toolBar->isFloatable());
    QCOMPARE(toolBar->allowedAreas(), Qt::AllToolBarAreas);
    QCOMPARE(toolBar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    QCOMPARE(w.builder->toolBars().size(), 4);
}

void CommandTableTest::popupMenus_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("withSeparators");
    QTest::addColumn<QStringList>("entries");
    QStringList tree { u("pmNewCategory"), u("pmNewChildCategory"), u("pmNewMemo"), u("pmNewChildMemo"),
        u("pmNewResult"), u("pmMemoWizard"), u("-"), u("pmTreeCut"), u("pmTreeCopy"), u("pmTreePaste"),
        u("pmTreeDelete"), u("-"), u("pmLevelChange"), u("NodeUp2"), u("NodeDown2"), u("LevelUp2"),
        u("LevelDown2"), u("LevelUpChildren2"), u("LevelDnSiblings2"), u("pmIconChange"), u("Exchange1"),
        u("Exchange2"), u("-"), u("RestoreTreeState2"), u("-"), u("BookMenu2") };
    QTest::newRow("pmTree") << u("pmTree") << true << tree;
    QTest::newRow("pmMemo") << u("pmMemo") << false
                            << QStringList({ u("Undo2"), u("Cut2"), u("Copy2"), u("Paste2"), u("SelectAll2"),
                                   u("EraseCRLF2"), u("InsertDate2"), u("InsertTime2"), u("HelperList2"),
                                   u("Template2"), u("TemplateReg2"), u("Find2"), u("Replace2") });
    QTest::newRow("tbpmOpen") << u("tbpmOpen") << true << QStringList();
}

void CommandTableTest::popupMenus()
{
    QFETCH(QString, name);
    QFETCH(bool, withSeparators);
    QFETCH(QStringList, entries);
    TestWindow w;
    const QMenu* menu = w.builder->menu(name);
    QVERIFY(menu);
    QCOMPARE(menu->objectName(), name);
    QStringList actual = flatten(menu, withSeparators);
    if (name == u("pmTree")) {
        // The bookmark submenu's ten items are checked on their captions below.
        QCOMPARE(actual.size(), entries.size() + 10);
        actual = actual.mid(0, entries.size());
        const QMenu* bookmarks = w.builder->menu(u("BookMenu2"));
        QCOMPARE(bookmarks->title(), u("ブックマーク(&K)"));
        QCOMPARE(bookmarks->actions().size(), 10);
        for (int i = 0; i < 10; ++i) {
            QAction* item = bookmarks->actions().at(i);
            QCOMPARE(item->text(), QStringLiteral("&%1 (未設定)").arg(i));
            QCOMPARE(item->data().toInt(), i);
            QVERIFY(item->shortcut().isEmpty());
            QVERIFY(w.registry->actionsFor(u("BookmarkItemClick")).contains(item));
        }
        QCOMPARE(w.builder->menu(u("pmLevelChange"))->title(), u("メモの位置と階層レベル(&O)"));
        QCOMPARE(w.builder->menu(u("pmIconChange"))->title(), u("アイコン変更(&H)"));
    }
    if (name == u("pmMemo"))
        QCOMPARE(w.builder->menu(u("Template2"))->title(), u("テンプレート(&E)"));
    QCOMPARE(actual, entries);
}

void CommandTableTest::popupCaptions_data()
{
    // Pop-up items: menu, position, caption, event. Where no caption is documented for an item, it
    // is the caption of the main menu item with the same event.
    QTest::addColumn<QString>("menu");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("event");
    const struct {
        const char* menu;
        int index;
        const char* caption;
        const char* event;
    } rows[] = {
        { "pmTree", 0, "カテゴリーを作成(&B)", "tbNewCategoryClick" },
        { "pmTree", 1, "カテゴリー（下の階層）を作成(&V)", "pmTrayCategoryClick" },
        { "pmTree", 2, "メモを作成(&M)", "tbNewMemoClick" },
        { "pmTree", 3, "メモ（下の階層）を作成(&N)", "NewChildMemoClick" },
        { "pmTree", 4, "結論を作成(&R)", "tbNewResultClick" },
        { "pmTree", 5, "メモを連続作成(&W)...", "MemoWizardClick" },
        { "pmTree", 7, "メモを切り取り(&T)", "TreeCutClick" },
        { "pmTree", 8, "メモをコピー(&C)", "TreeCopyClick" },
        { "pmTree", 9, "メモを貼り付け(&P)", "TreePasteClick" },
        { "pmTree", 10, "メモを削除(&L)", "tbDeleteClick" },
        { "pmTree", 15, "開いたツリーを元に戻す(&S)", "RestoreTreeStateClick" },
        { "pmLevelChange", 0, "メモを上に移動(&U)", "tbNodeUpClick" },
        { "pmLevelChange", 1, "メモを下に移動(&D)", "tbNodeDownClick" },
        { "pmLevelChange", 2, "階層レベルを上げる(&E)", "tbLevelUpClick" },
        { "pmLevelChange", 3, "階層レベルを下げる(&W)", "tbLevelDownClick" },
        { "pmLevelChange", 4, "子データの階層レベルを上げる(&J)", "LevelUpChildrenClick" },
        { "pmLevelChange", 5, "同レベルデータの階層を下げる(&S)", "LevelDnSiblingsClick" },
        { "pmIconChange", 0, "カテゴリーとメモ(&M)", "tbExchange1Click" },
        { "pmIconChange", 1, "メモと結論(&R)", "tbExchange2Click" },
        { "pmMemo", 0, "元に戻す(&U)", "tbUndoClick" },
        { "pmMemo", 2, "切り取り(&T)", "tbCutClick" },
        { "pmMemo", 3, "コピー(&C)", "tbCopyClick" },
        { "pmMemo", 4, "貼り付け(&P)", "tbPasteClick" },
        { "pmMemo", 5, "すべてを選択(&A)", "SelectAll1Click" },
        { "pmMemo", 7, "改行コードを削除(&L)", "EraseCRLF1Click" },
        { "pmMemo", 8, "現在の日付を挿入(&D)", "tbDateInsertClick" },
        { "pmMemo", 9, "現在の時刻を挿入(&M)", "tbTimeInsertClick" },
        { "pmMemo", 10, "入力支援リスト(&H)", "HelperList1Click" },
        { "pmMemo", 13, "検索(&F)...", "tbFindClick" },
        { "pmMemo", 14, "検索・置換(&E)...", "Replace1Click" },
        { "Template2", 0, "登録 /編集(&R)...", "TemplateRegClick" },
        { "tbpmCategory", 0, "カテゴリーを作成(&B)", "tbNewCategoryClick" },
        { "tbpmCategory", 1, "下の階層にカテゴリーを作成(&V)", "pmTrayCategoryClick" },
        { "tbpmMemo", 0, "メモを作成(&M)", "tbNewMemoClick" },
        { "tbpmMemo", 1, "下の階層にメモを作成(&N)", "NewChildMemoClick" },
        { "pmToolbar", 0, "ファイル・編集", "mnToolbar1Click" },
        { "pmToolbar", 1, "メモ", "mnToolbar2Click" },
        { "pmToolbar", 2, "ページ", "mnToolbar3Click" },
        { "pmToolbar", 3, "クイックメモ", "mnToolbar4Click" },
    };
    for (const auto& r : rows)
        QTest::addRow("%s %d", r.menu, r.index) << u(r.menu) << r.index << u(r.caption) << u(r.event);
}

void CommandTableTest::popupCaptions()
{
    QFETCH(QString, menu);
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(QString, event);
    TestWindow w;
    const QMenu* popup = w.builder->menu(menu);
    QVERIFY(popup);
    QVERIFY(index < popup->actions().size());
    QAction* item = popup->actions().at(index);
    QCOMPARE(item->text(), caption);
    QVERIFY(w.registry->actionsFor(event).contains(item));
    // A pop-up item is its own action, never the main menu's, and carries no key of its own.
    QVERIFY(item->shortcut().isEmpty());
    for (QMenu* top : w.builder->mainMenus())
        QVERIFY(!containsAction(top, item));
}

void CommandTableTest::eventsAndNames()
{
    TestWindow w;
    // Every documented event has an action, and the table raises no other event.
    QSet<QString> documented;
    for (const MenuItemSpec& s : kMainMenu)
        if (*s.event)
            documented.insert(u(s.event));
    for (const ButtonSpec& s : kButtons)
        if (*s.event)
            documented.insert(u(s.event));
    for (const QString& event : documented)
        QVERIFY2(!w.registry->actionsFor(event).isEmpty(), qPrintable(event));
    const QStringList events = w.registry->events();
    QCOMPARE(QSet<QString>(events.begin(), events.end()), documented);

    // Object names identify actions and menus for the handlers, the tests and the stored keys.
    QSet<QString> names;
    for (const QAction* action : w.findChildren<QAction*>()) {
        if (action->objectName().isEmpty())
            continue;
        QVERIFY2(!names.contains(action->objectName()) || action->menu(), qPrintable(action->objectName()));
        names.insert(action->objectName());
    }
    QSet<QString> menuNames;
    for (const QMenu* menu : w.findChildren<QMenu*>()) {
        QVERIFY2(!menuNames.contains(menu->objectName()), qPrintable(menu->objectName()));
        menuNames.insert(menu->objectName());
    }
    QCOMPARE(w.menuBar()->objectName(), u("MainMenu1"));

    // No two actions answer to the same key.
    QHash<QKeySequence, QString> owners;
    for (QAction* action : w.registry->actions()) {
        if (action->shortcut().isEmpty())
            continue;
        QVERIFY2(!owners.contains(action->shortcut()),
            qPrintable(action->objectName() + u(" / ") + owners.value(action->shortcut())));
        owners.insert(action->shortcut(), action->objectName());
    }
    QCOMPARE(owners.size(), ActionRegistry::defaultShortcuts().size());

    for (int i = 0; i < 10; ++i) {
        static const char* bookmarkItems[]
            = { "N01", "N110", "N26", "N31", "N41", "N51", "N61", "N71", "N81", "N91" };
        QCOMPARE(w.registry->action(u(bookmarkItems[i]))->data().toInt(), i);
        QCOMPARE(w.builder->menu(u("BookmarkMenu"))->actions().at(i)->objectName(), u(bookmarkItems[i]));
    }
}

void CommandTableTest::toolbarToggles_data()
{
    QTest::addColumn<QString>("toolBar");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("way");
    const char* toolBars[] = { "FileToolbar", "MemoToolbar", "PageToolbar", "QuickMemoToolbar" };
    const char* ways[] = { "View1", "pmToolbar", "context menu", "hide and show" };
    for (int i = 0; i < 4; ++i)
        for (const char* way : ways)
            QTest::addRow("%s by %s", toolBars[i], way) << u(toolBars[i]) << i + 1 << u(way);
}

void CommandTableTest::toolbarToggles()
{
    QFETCH(QString, toolBar);
    QFETCH(int, number);
    QFETCH(QString, way);
    TestWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QToolBar* bar = w.builder->toolBar(toolBar);
    QAction* viewItem = w.registry->action(QStringLiteral("mnToolbar%1").arg(number));
    QAction* popupItem = w.registry->action(QStringLiteral("pmToolbar%1").arg(number));
    QVERIFY(w.builder->menu(u("Toolbar1"))->actions().contains(viewItem));
    QVERIFY(w.builder->menu(u("pmToolbar"))->actions().contains(popupItem));

    auto toggle = [&] {
        if (way == u("View1")) {
            viewItem->trigger();
        } else if (way == u("pmToolbar")) {
            popupItem->trigger();
        } else if (way == u("context menu")) {
            std::unique_ptr<QMenu> popup(w.createPopupMenu());
            QCOMPARE(popup->objectName(), u("pmToolbar"));
            QCOMPARE(popup->actions().size(), 4);
            popup->actions().at(number - 1)->trigger();
        } else {
            bar->setVisible(bar->isHidden());
        }
    };
    auto agree = [&](bool visible) {
        QCOMPARE(bar->isVisible(), visible);
        QCOMPARE(viewItem->isChecked(), visible);
        QCOMPARE(popupItem->isChecked(), visible);
    };

    const bool initiallyVisible = number != 4;
    agree(initiallyVisible);
    toggle();
    agree(!initiallyVisible);
    toggle();
    agree(initiallyVisible);
    // The other tool bars are untouched.
    for (int other = 1; other <= 4; ++other)
        if (other != number)
            QCOMPARE(w.registry->action(QStringLiteral("mnToolbar%1").arg(other))->isChecked(), other != 4);
}

void CommandTableTest::toolbarContextMenu()
{
    // Right-clicking a tool bar reaches QMainWindow, which shows and then deletes the menu; the
    // actions it held must survive that.
    TestWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QToolBar* bar = w.builder->toolBar(u("MemoToolbar"));
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), bar->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(bar, &event);
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(popup);
    QCOMPARE(popup->objectName(), u("pmToolbar"));
    QPointer<QMenu> guard(popup);
    popup->close();
    QTRY_VERIFY(guard.isNull());
    QAction* item = w.registry->action(u("pmToolbar2"));
    QVERIFY(item);
    item->trigger();
    QVERIFY(bar->isHidden());
    QVERIFY(!w.registry->action(u("mnToolbar2"))->isChecked());
}

void CommandTableTest::twinStates()
{
    TestWindow w;
    ActionRegistry& r = *w.registry;
    r.setEventEnabled(u("tbSaveClick"), false);
    QVERIFY(!r.action(u("tbSave"))->isEnabled());
    QVERIFY(!r.action(u("Save1"))->isEnabled());
    QVERIFY(r.action(u("SaveAs1"))->isEnabled());
    r.setEventEnabled(u("tbSaveClick"), true);
    QVERIFY(r.action(u("tbSave"))->isEnabled() && r.action(u("Save1"))->isEnabled());

    // The pane buttons: one group in which both may be up; menu items follow their buttons.
    QAction* treeButton = r.action(u("tbTreePaneMaximize"));
    QAction* memoButton = r.action(u("tbMemoPaneMaximize"));
    QAction* treeItem = r.action(u("TreeMaximize1"));
    QAction* memoItem = r.action(u("MemoMaximize1"));
    treeItem->trigger();
    QVERIFY(treeButton->isChecked() && treeItem->isChecked());
    QVERIFY(r.isEventChecked(u("tbTreePaneMaximizeClick")));
    memoButton->trigger();
    QVERIFY(memoButton->isChecked() && memoItem->isChecked());
    QVERIFY(!treeButton->isChecked() && !treeItem->isChecked());
    memoButton->trigger();
    QVERIFY(!memoButton->isChecked() && !memoItem->isChecked() && !treeButton->isChecked());
    r.setEventChecked(u("tbTreePaneMaximizeClick"), true);
    QVERIFY(treeButton->isChecked() && treeItem->isChecked());

    // Collection mode: the menu item and the button show one state.
    r.action(u("CollectionMode"))->trigger();
    QVERIFY(r.action(u("tbCollectionMode"))->isChecked());
    r.action(u("tbCollectionMode"))->trigger();
    QVERIFY(!r.action(u("CollectionMode"))->isChecked());

    // Single and multi memo mode: exactly one is down.
    QAction* single = r.action(u("tbSingleMemoMode"));
    QAction* stack = r.action(u("tbStackMemoMode"));
    single->setEnabled(true);
    stack->setEnabled(true);
    stack->trigger();
    QVERIFY(stack->isChecked() && !single->isChecked());
    stack->trigger();
    QVERIFY(stack->isChecked() && !single->isChecked());
    single->trigger();
    QVERIFY(single->isChecked() && !stack->isChecked());
}

void CommandTableTest::connectEvent()
{
    TestWindow w;
    QStringList calls;
    QObject context;
    w.registry->connectEvent(u("SaveAsTextClick"), &context, [&](QAction* a) { calls << a->objectName(); });
    w.registry->action(u("PrintByEditor"))->trigger();
    w.registry->action(u("SaveAsText"))->trigger();
    w.registry->action(u("Save1"))->trigger();
    QCOMPARE(calls, QStringList({ u("PrintByEditor"), u("SaveAsText") }));
    calls.clear();
    w.registry->connectEvent(
        u("tbNewCategoryClick"), &context, [&](QAction* a) { calls << a->objectName(); });
    const char* raisers[] = { "tbNewCategory", "NewCategory", "pmNewCategory", "tbpmNewCategory" };
    for (const char* name : raisers)
        w.registry->action(u(name))->trigger();
    QCOMPARE(calls.size(), 4);
}

void CommandTableTest::shortcuts()
{
    TestWindow w;
    ActionRegistry& r = *w.registry;
    const QKeySequence mine(Qt::CTRL | Qt::ALT | Qt::Key_C);
    r.applyShortcuts({ { u("NewCategory"), mine }, { u("N31"), QKeySequence(Qt::CTRL | Qt::Key_J) },
        { u("Save1"), QKeySequence() }, { u("NoSuchItem"), QKeySequence(Qt::Key_F5) } });
    QCOMPARE(r.action(u("NewCategory"))->shortcut(), mine);
    QVERIFY(r.action(u("Save1"))->shortcut().isEmpty());
    QCOMPARE(r.action(u("N31"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_3));
    QCOMPARE(r.action(u("New1"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    QVERIFY(r.action(u("pmNewCategory"))->shortcut().isEmpty());

    // The defaults are those of the main menu table.
    const QHash<QString, QKeySequence> defaults = ActionRegistry::defaultShortcuts();
    int documentedKeys = 0;
    for (const MenuItemSpec& s : kMainMenu) {
        if (!*s.key)
            continue;
        ++documentedKeys;
        QCOMPARE(defaults.value(u(s.name)), documentedKey(s.key));
    }
    QCOMPARE(defaults.size(), documentedKeys);
    r.applyShortcuts(defaults);
    QCOMPARE(r.action(u("NewCategory"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
}

void CommandTableTest::icons()
{
    TestWindow w;
    for (QToolBar* bar : w.builder->toolBars())
        for (QAction* action : bar->actions())
            if (!action->isSeparator()) {
                QVERIFY2(paintsSomething(action->icon(), 16), qPrintable(action->objectName()));
                QVERIFY2(paintsSomething(action->icon(), 32), qPrintable(action->objectName()));
            }
    // A menu item that raises a button's event shows the button's glyph.
    QCOMPARE(w.registry->action(u("Save1"))->icon().cacheKey() != 0, true);
    QVERIFY(paintsSomething(w.registry->action(u("NodeUp2"))->icon(), 16));
    const char* kinds[]
        = { "kind-paper-folder", "kind-category", "kind-memo", "kind-result", "kind-document", "notarium" };
    for (const char* kind : kinds)
        QVERIFY2(paintsSomething(ActionRegistry::icon(u(kind)), 16), kind);
    // The check itself must see a missing file; Qt's warning about it is expected here.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.svg.warning=false"));
    QVERIFY(!paintsSomething(ActionRegistry::icon(u("no-such-icon")), 16));
    QLoggingCategory::setFilterRules(QString());
}

void CommandTableTest::pageButtonsRepeat()
{
    // Held down for 1.3 s, a page button fires again and again; an ordinary button fires once.
    TestWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto holdAndCount = [&](const char* name) {
        QToolButton* button = w.builder->toolButton(u(name));
        QSignalSpy spy(w.registry->action(u(name)), &QAction::triggered);
        QTest::mousePress(button, Qt::LeftButton);
        QTest::qWait(1300);
        QTest::mouseRelease(button, Qt::LeftButton);
        return spy.count();
    };
    QVERIFY(holdAndCount("tbPageDn2") >= 3);
    QCOMPARE(holdAndCount("tbNew"), 1);
}

QTEST_MAIN(CommandTableTest)
#include "CommandTableTest.moc"
