#include "app/CommandTable.h"

#include <algorithm>
#include <array>

namespace notarium {

namespace {

// Builders keep the table one row per line.
constexpr CommandRow item(const char* name, const char* caption, const char* shortcut, const char* event,
    const char* statusTip, const char* icon = "")
{
    return CommandRow { name, caption, shortcut, "", statusTip, icon, event };
}

constexpr CommandRow button(
    const char* name, const char* event, const char* toolTip, const char* statusTip, const char* icon)
{
    return CommandRow { name, "", "", toolTip, statusTip, icon, event };
}

constexpr CommandRow off(CommandRow row)
{
    row.enabled = false;
    return row;
}

constexpr CommandRow toggle(CommandRow row, const char* group = "", bool allowAllUp = true, bool down = false)
{
    row.checkable = true;
    row.checked = down;
    row.group = group;
    row.allowAllUp = allowAllUp;
    return row;
}

constexpr CommandRow repeating(CommandRow row)
{
    row.repeating = true;
    return row;
}

constexpr CommandRow dropDown(CommandRow row, const char* menu)
{
    row.dropDown = menu;
    return row;
}

constexpr CommandRow tagged(CommandRow row, int tag)
{
    row.tag = tag;
    return row;
}

// Hints shared by a main menu item and its pop-up twins.
constexpr const char* kHintUndo = "直前の変更を取り消して元に戻します";
constexpr const char* kHintCut = "選択データを切り取ります";
constexpr const char* kHintCopy = "選択データをコピーします";
constexpr const char* kHintPaste = "クリップボードのデータを貼り付けます";
constexpr const char* kHintSelectAll = "テキストをすべて選択します";
constexpr const char* kHintEraseCrLf = "選択範囲の改行コードを削除します";
constexpr const char* kHintFind = "指定されたキーワードを検索します";
constexpr const char* kHintReplace = "指定されたキーワードを検索して置き換えます";
constexpr const char* kHintNewCategory = "メモをまとめるカテゴリーを作成します";
constexpr const char* kHintNewChildCategory = "メモをまとめるカテゴリーを下の階層に作成します";
constexpr const char* kHintNewMemo = "メモを作成します";
constexpr const char* kHintNewChildMemo = "メモを下の階層に作成します";
constexpr const char* kHintNewResult = "結論を作成します";
constexpr const char* kHintTreeCut = "メモデータを切り取ります";
constexpr const char* kHintTreeCopy = "メモデータをコピーします";
constexpr const char* kHintTreePaste = "メモデータを貼り付けます";
constexpr const char* kHintNodeUp = "選択されたメモの位置を上に移動します";
constexpr const char* kHintNodeDown = "選択されたメモの位置を下に移動します";
constexpr const char* kHintLevelUp = "選択されたメモの階層レベルを上げます";
constexpr const char* kHintLevelDown = "選択されたメモの階層レベルを下げます";
constexpr const char* kHintLevelUpChildren
    = "選択データが持つ子データの階層レベルを選択データと同じ階層に変更します";
constexpr const char* kHintLevelDnSiblings
    = "選択データより下にある同じ階層のデータを選択データの子データに変更します";
constexpr const char* kHintExchange1 = "アイコンを切り換えます（カテゴリーとメモ）";
constexpr const char* kHintExchange2 = "アイコンを切り換えます（メモと結論）";
constexpr const char* kHintDelete = "選択されたデータを削除します";
constexpr const char* kHintRestoreTree = "ツリーの状態を全文検索や全展開・全縮小前の状態に戻します";
constexpr const char* kHintInsertDate = "カーソル位置に現在の日付を挿入します";
constexpr const char* kHintInsertTime = "カーソル位置に現在の時刻を挿入します";
constexpr const char* kHintHelperList = "文字列入力支援機能のリストを表示します";
constexpr const char* kHintTemplateReg = "テンプレートを登録・編集します";
constexpr const char* kHintMemoWizard = "メモをまとめて連続作成します";
constexpr const char* kHintUpperPage = "ツリーペインに見えている上のページを表示します";
constexpr const char* kHintLowerPage = "ツリーペインに見えている下のページを表示します";

constexpr CommandRow kRows[] = {
    // Tool bar "File/Edit"
    button("tbNew", "tbNewClick", "新規作成", "ファイルを新規に作成します", "file-new"),
    dropDown(button("tbOpen", "tbOpenClick", "ファイルを開く", "ディスクのファイルを開きます", "file-open"),
        "tbpmOpen"),
    button("tbClose", "tbCloseClick", "閉じる", "開いているファイルを閉じます", "file-close"),
    button("tbSave", "tbSaveClick", "保存", "ファイルをディスクに保存します", "file-save"),
    off(button("tbUndo", "tbUndoClick", "元に戻す", "変更を取り消して元に戻します", "edit-undo")),
    off(button("tbCut", "tbCutClick", "切り取り", "データを切り取ってクリップボードに入れます", "edit-cut")),
    off(button("tbCopy", "tbCopyClick", "コピー", "データをクリップボードにコピーします", "edit-copy")),
    off(button("tbPaste", "tbPasteClick", "貼り付け", kHintPaste, "edit-paste")),
    button("tbFind", "tbFindClick", "検索", kHintFind, "edit-find"),
    button("tbFindReplace", "Replace1Click", "検索・置換", kHintReplace, "edit-replace"),

    // Tool bar "Memo"
    dropDown(button("tbNewCategory", "tbNewCategoryClick", "カテゴリーを作成", "カテゴリーを作成します",
                 "node-new-category"),
        "tbpmCategory"),
    dropDown(button("tbNewMemo", "tbNewMemoClick", "メモを作成", kHintNewMemo, "node-new-memo"), "tbpmMemo"),
    off(button("tbNewResult", "tbNewResultClick", "結論を作成", kHintNewResult, "node-new-result")),
    button("tbExchange1", "tbExchange1Click", "アイコンの切り換え", kHintExchange1, "node-exchange-category"),
    button("tbExchange2", "tbExchange2Click", "アイコンの切り換え", kHintExchange2, "node-exchange-result"),
    button("tbDelete", "tbDeleteClick", "削除", kHintDelete, "node-delete"),
    button("tbNodeDown", "tbNodeDownClick", "メモを下に移動", "選択されたメモを下に移動します", "node-down"),
    button("tbNodeUp", "tbNodeUpClick", "メモを上に移動", "選択されたメモを上に移動します", "node-up"),
    button("tbLevelUp", "tbLevelUpClick", "レベルを上げる", kHintLevelUp, "level-up"),
    button("tbLevelDown", "tbLevelDownClick", "レベルを下げる", kHintLevelDown, "level-down"),

    // Tool bar "View"
    repeating(button("tbPageDn", "tbPageDnClick", "次のページ", "次のページを表示します", "page-down")),
    repeating(button("tbPageUp", "tbPageUpClick", "前のページ", "前のページを表示します", "page-up")),
    repeating(button("tbPageDn2", "LowerPageClick", "下のページ", kHintLowerPage, "page-lower")),
    repeating(button("tbPageUp2", "UpperPageClick", "上のページ", kHintUpperPage, "page-upper")),
    toggle(button("tbTreePaneMaximize", "tbTreePaneMaximizeClick", "ツリーペインだけを表示",
               "メモペインを非表示にしてツリーペインだけを表示します", "pane-tree"),
        "paneMaximize"),
    toggle(button("tbMemoPaneMaximize", "tbMemoPaneMaximizeClick", "メモペインだけを表示",
               "ツリーペインを非表示にしてメモペインだけを表示します", "pane-memo"),
        "paneMaximize"),

    // Tool bar "Quick Memo"
    button("tbInstantMemo", "InstantMemoClick", "インスタントメモ", "インスタントメモ", "quick-instant-memo"),
    toggle(button("tbCollectionMode", "CollectionModeClick", "コレクションモード", "コレクションモード",
        "quick-collection")),
    // The two mode buttons raise nothing: collection mode reads which one is down.
    off(toggle(
        button("tbSingleMemoMode", "", "シングルメモモード", "シングルメモモード", "quick-single-memo"),
        "memoMode", false, true)),
    off(toggle(button("tbStackMemoMode", "", "マルチメモモード", "マルチメモモード", "quick-multi-memo"),
        "memoMode", false)),

    // Menu File1
    item("New1", "新規作成(&N)", "Ctrl+N", "tbNewClick", "ファイルを新規作成します", "file-new"),
    item("Open1", "開く(&O)...", "Ctrl+O", "tbOpenClick", "ファイルを開きます", "file-open"),
    item("Open2", "別ウィンドウで開く(&D)...", "", "Open2Click", "ファイルを新しいウィンドウで開きます"),
    item("TextIn", "テキストの読み込み(&E)...", "", "TextInClick",
        "テキストファイルを現在の位置に読み込みます"),
    item("PrintByEditor", "外部ツールで印刷(&P)...", "Ctrl+P", "SaveAsTextClick",
        "オプションで設定した外部ツールでテキストを印刷します"),
    item("Save1", "上書き保存(&S)", "Ctrl+S", "tbSaveClick", "開いているファイルを保存します", "file-save"),
    item("SaveAs1", "名前を付けて保存(&A)...", "", "SaveAs1Click", "ファイルに別の名前を付けて保存します"),
    item("SaveAsText", "テキストとして保存(&T)...", "", "SaveAsTextClick",
        "ファイルをテキストとして保存します"),
    item("Close1", "閉じる(&C)", "Ctrl+W", "tbCloseClick", "ファイルを閉じます", "file-close"),
    item("Exit1", "終了(&X)", "Ctrl+Q", "Exit1Click", "Notariumを終了します"),

    // Menu Edit1
    item("Undo1", "元に戻す(&U)", "Ctrl+Z", "tbUndoClick", kHintUndo, "edit-undo"),
    item("Cut1", "切り取り(&T)", "Ctrl+X", "tbCutClick", kHintCut, "edit-cut"),
    item("Copy1", "コピー(&C)", "Ctrl+C", "tbCopyClick", kHintCopy, "edit-copy"),
    item("Paste1", "貼り付け(&P)", "Ctrl+V", "tbPasteClick", kHintPaste, "edit-paste"),
    item("SelectAll1", "すべてを選択(&A)", "Ctrl+A", "SelectAll1Click", kHintSelectAll),
    item("EraseCRLF1", "改行コードを削除(&L)", "", "EraseCRLF1Click", kHintEraseCrLf),
    item("Find1", "検索(&F)...", "Ctrl+F", "tbFindClick", kHintFind, "edit-find"),
    item("FindNext1", "次を検索(&N)", "F3", "FindNext1Click", "次を検索します"),
    item("FindPrev1", "前を検索(&B)", "Shift+F3", "FindPrev1Click", "前を検索します"),
    item("Replace1", "検索・置換(&E)...", "Ctrl+R", "Replace1Click", kHintReplace, "edit-replace"),

    // Menu Tree1
    item("NewCategory", "カテゴリーを作成(&B)", "Ctrl+B", "tbNewCategoryClick", kHintNewCategory,
        "node-new-category"),
    item("NewChildCategory", "カテゴリー（下の階層）を作成(&V)", "Ctrl+Shift+B", "pmTrayCategoryClick",
        kHintNewChildCategory),
    item("NewMemo", "メモを作成(&M)", "Ctrl+M", "tbNewMemoClick", kHintNewMemo, "node-new-memo"),
    item(
        "NewChildMemo", "メモ（下の階層）を作成(&N)", "Ctrl+Shift+M", "NewChildMemoClick", kHintNewChildMemo),
    item(
        "NewResult", "結論を作成(&R)", "Ctrl+Shift+R", "tbNewResultClick", kHintNewResult, "node-new-result"),
    item("TreeCut", "メモを切り取り(&T)", "Ctrl+Shift+X", "TreeCutClick", kHintTreeCut),
    item("TreeCopy", "メモをコピー(&C)", "Ctrl+Shift+C", "TreeCopyClick", kHintTreeCopy),
    item("TreePaste", "メモを貼り付け(&P)", "Ctrl+Shift+V", "TreePasteClick", kHintTreePaste),
    item("NodeUp", "メモを上に移動(&U)", "Ctrl+Alt+Up", "tbNodeUpClick", kHintNodeUp, "node-up"),
    item("NodeDown", "メモを下に移動(&D)", "Ctrl+Alt+Down", "tbNodeDownClick", kHintNodeDown, "node-down"),
    item("LevelUp", "階層レベルを上げる(&E)", "Ctrl+Alt+Left", "tbLevelUpClick", kHintLevelUp, "level-up"),
    item("LevelDown", "階層レベルを下げる(&W)", "Ctrl+Alt+Right", "tbLevelDownClick", kHintLevelDown,
        "level-down"),
    item("LevelUpChildren", "子データの階層レベルを上げる(&J)", "", "LevelUpChildrenClick",
        kHintLevelUpChildren),
    item("LevelDnSiblings", "同レベルデータの階層を下げる(&S)", "", "LevelDnSiblingsClick",
        kHintLevelDnSiblings),
    item("Exchange3", "アイコン変更（カテゴリーとメモ）(&G)", "", "tbExchange1Click", kHintExchange1,
        "node-exchange-category"),
    item("Exchange4", "アイコン変更（メモと結論）(&H)", "", "tbExchange2Click", kHintExchange2,
        "node-exchange-result"),
    item("TreeDelete", "削除(&L)", "Ctrl+Del", "tbDeleteClick", kHintDelete, "node-delete"),

    // Menu View1
    item("PageUp", "前のページ(&P)", "Ctrl+Up", "tbPageUpClick", "前のページを表示します", "page-up"),
    item("PageDn", "次のページ(&N)", "Ctrl+Down", "tbPageDnClick", "次のページを表示します", "page-down"),
    item("UpperPage", "上のページ(&U)", "Ctrl+PgUp", "UpperPageClick", kHintUpperPage, "page-upper"),
    item("LowerPage", "下のページ(&D)", "Ctrl+PgDown", "LowerPageClick", kHintLowerPage, "page-lower"),
    item("ChangeFocus1", "フォーカスペインの切り換え(&B)", "Ctrl+L", "ChangeFocus1Click",
        "注目ウィンドウを切り換えます"),
    item("GoTitle", "タイトル編集ボックス(&E)", "Alt+Up", "GoTitleClick", "タイトル編集ボックスに移動します"),
    item("ExpandAllTree", "すべてのツリーを展開(&X)", "", "ExpandAllTreeClick",
        "すべてのツリーを展開して表示します"),
    item("CollapseAllTree", "すべてのツリーを縮小(&L)", "", "CollapseAllTreeClick",
        "すべてのツリーを折りたたんで（縮小して）表示します"),
    item("CollapseTree", "選択位置のツリーを縮小(&C)", "Ctrl+-", "CollapseTreeClick",
        "現在位置のツリーを折りたたみます"),
    item("RestoreTreeState", "ツリーの開閉状態を元に戻す(&R)", "", "RestoreTreeStateClick", kHintRestoreTree),
    toggle(item("TreeMaximize1", "ツリーペインを最大表示(&V)", "F11", "tbTreePaneMaximizeClick",
        "ウィンドウ左側のツリーペインだけを最大表示します", "pane-tree")),
    toggle(item("MemoMaximize1", "メモペインを最大表示(&M)", "F12", "tbMemoPaneMaximizeClick",
        "ウィンドウ右側のメモペインだけを最大表示します", "pane-memo")),
    tagged(toggle(item("mnToolbar1", "ファイル・編集(&F)", "", "mnToolbar1Click", "ファイル・編集ツールバー"),
               "", true, true),
        1),
    tagged(
        toggle(item("mnToolbar2", "メモ(&M)", "", "mnToolbar2Click", "メモツールバー"), "", true, true), 2),
    tagged(
        toggle(item("mnToolbar3", "ページ(&P)", "", "mnToolbar3Click", "ページツールバー"), "", true, true),
        3),
    tagged(
        toggle(item("mnToolbar4", "クイックメモ(&Q)", "", "mnToolbar4Click", "クイックメモツールバー")), 4),
    item("KeyCustomize", "キーカスタマイズ(&K)...", "", "KeyCustomizeClick",
        "ショートカットキーの割り当てをカスタマイズします"),
    item("Option1", "オプション(&O)...", "", "Option1Click", "Notariumの設定をします"),

    // Menu Tool1
    item("InsertDate", "現在の日付を挿入(&D)", "", "tbDateInsertClick", kHintInsertDate),
    item("InsertTime", "現在の時刻を挿入(&T)", "", "tbTimeInsertClick", kHintInsertTime),
    item("EditByEditor", "メモをテキストエディターで編集(&E)...", "F9", "EditByEditorClick",
        "現在表示されているメモをテキストエディタで編集します"),
    item("HelperList1", "入力支援リスト(&H)", "Ctrl+Space", "HelperList1Click", kHintHelperList),
    item("TemplateReg", "登録 /編集(&R)...", "Ctrl+T", "TemplateRegClick", kHintTemplateReg),
    item("MemoWizard", "メモを連続作成(&W)...", "", "MemoWizardClick", kHintMemoWizard),
    item("InstantMemo", "インスタントメモ(&S)", "Ctrl+Ins", "InstantMemoClick",
        "新しいメモを作成してクリップボードのテキストを貼り付けます", "quick-instant-memo"),
    toggle(item("CollectionMode", "コレクション モード(&K)", "", "CollectionModeClick",
        "クリップボードの変更を監視しながら新しいメモを自動作成します", "quick-collection")),
    item("CountChar", "文字数カウント(&C)...", "", "CountCharClick",
        "テキストの文字数をカウントして表示します"),
    tagged(item("N01", "&0 （未設定）", "Ctrl+0", "BookmarkItemClick", ""), 0),
    tagged(item("N110", "&1 （未設定）", "Ctrl+1", "BookmarkItemClick", ""), 1),
    tagged(item("N26", "&2 （未設定）", "Ctrl+2", "BookmarkItemClick", ""), 2),
    tagged(item("N31", "&3 （未設定）", "Ctrl+3", "BookmarkItemClick", ""), 3),
    tagged(item("N41", "&4 （未設定）", "Ctrl+4", "BookmarkItemClick", ""), 4),
    tagged(item("N51", "&5 （未設定）", "Ctrl+5", "BookmarkItemClick", ""), 5),
    tagged(item("N61", "&6 （未設定）", "Ctrl+6", "BookmarkItemClick", ""), 6),
    tagged(item("N71", "&7 （未設定）", "Ctrl+7", "BookmarkItemClick", ""), 7),
    tagged(item("N81", "&8 （未設定）", "Ctrl+8", "BookmarkItemClick", ""), 8),
    tagged(item("N91", "&9 （未設定）", "Ctrl+9", "BookmarkItemClick", ""), 9),
    item("BookList", "ブックマーク一覧(&L)...", "Ctrl+K", "BookListClick", "ブックマークの一覧を表示します"),

    // Menu Help1
    item("Contents1", "Notarium ヘルプ(&H)", "F1", "Contents1Click", "ヘルプを表示します"),
    item("SearchforHelpOn1", "トピックの検索(&C)", "Shift+F1", "SearchforHelpOn1Click", "ヘルプを検索します"),
    item("About1", "バージョン情報(&A)...", "", "About1Click", "Notariumのバージョン情報を表示します"),

    // Pop-up menu pmTree. Pop-up items carry no keys: the keys belong to the main menu, which
    // is the only menu the key customisation edits.
    item("pmNewCategory", "カテゴリーを作成(&B)", "", "tbNewCategoryClick", kHintNewCategory,
        "node-new-category"),
    item("pmNewChildCategory", "カテゴリー（下の階層）を作成(&V)", "", "pmTrayCategoryClick",
        kHintNewChildCategory),
    item("pmNewMemo", "メモを作成(&M)", "", "tbNewMemoClick", kHintNewMemo, "node-new-memo"),
    item("pmNewChildMemo", "メモ（下の階層）を作成(&N)", "", "NewChildMemoClick", kHintNewChildMemo),
    item("pmNewResult", "結論を作成(&R)", "", "tbNewResultClick", kHintNewResult, "node-new-result"),
    item("pmMemoWizard", "メモを連続作成(&W)...", "", "MemoWizardClick", kHintMemoWizard),
    item("pmTreeCut", "メモを切り取り(&T)", "", "TreeCutClick", kHintTreeCut),
    item("pmTreeCopy", "メモをコピー(&C)", "", "TreeCopyClick", kHintTreeCopy),
    item("pmTreePaste", "メモを貼り付け(&P)", "", "TreePasteClick", kHintTreePaste),
    item("pmTreeDelete", "メモを削除(&L)", "", "tbDeleteClick", kHintDelete, "node-delete"),
    item("NodeUp2", "メモを上に移動(&U)", "", "tbNodeUpClick", kHintNodeUp, "node-up"),
    item("NodeDown2", "メモを下に移動(&D)", "", "tbNodeDownClick", kHintNodeDown, "node-down"),
    item("LevelUp2", "階層レベルを上げる(&E)", "", "tbLevelUpClick", kHintLevelUp, "level-up"),
    item("LevelDown2", "階層レベルを下げる(&W)", "", "tbLevelDownClick", kHintLevelDown, "level-down"),
    item("LevelUpChildren2", "子データの階層レベルを上げる(&J)", "", "LevelUpChildrenClick",
        kHintLevelUpChildren),
    item("LevelDnSiblings2", "同レベルデータの階層を下げる(&S)", "", "LevelDnSiblingsClick",
        kHintLevelDnSiblings),
    item("Exchange1", "カテゴリーとメモ(&M)", "", "tbExchange1Click", kHintExchange1,
        "node-exchange-category"),
    item("Exchange2", "メモと結論(&R)", "", "tbExchange2Click", kHintExchange2, "node-exchange-result"),
    item("RestoreTreeState2", "開いたツリーを元に戻す(&S)", "", "RestoreTreeStateClick", kHintRestoreTree),
    tagged(item("pmBookmark0", "&0 (未設定)", "", "BookmarkItemClick", ""), 0),
    tagged(item("pmBookmark1", "&1 (未設定)", "", "BookmarkItemClick", ""), 1),
    tagged(item("pmBookmark2", "&2 (未設定)", "", "BookmarkItemClick", ""), 2),
    tagged(item("pmBookmark3", "&3 (未設定)", "", "BookmarkItemClick", ""), 3),
    tagged(item("pmBookmark4", "&4 (未設定)", "", "BookmarkItemClick", ""), 4),
    tagged(item("pmBookmark5", "&5 (未設定)", "", "BookmarkItemClick", ""), 5),
    tagged(item("pmBookmark6", "&6 (未設定)", "", "BookmarkItemClick", ""), 6),
    tagged(item("pmBookmark7", "&7 (未設定)", "", "BookmarkItemClick", ""), 7),
    tagged(item("pmBookmark8", "&8 (未設定)", "", "BookmarkItemClick", ""), 8),
    tagged(item("pmBookmark9", "&9 (未設定)", "", "BookmarkItemClick", ""), 9),

    // Pop-up menu pmMemo
    item("Undo2", "元に戻す(&U)", "", "tbUndoClick", kHintUndo, "edit-undo"),
    item("Cut2", "切り取り(&T)", "", "tbCutClick", kHintCut, "edit-cut"),
    item("Copy2", "コピー(&C)", "", "tbCopyClick", kHintCopy, "edit-copy"),
    item("Paste2", "貼り付け(&P)", "", "tbPasteClick", kHintPaste, "edit-paste"),
    item("SelectAll2", "すべてを選択(&A)", "", "SelectAll1Click", kHintSelectAll),
    item("EraseCRLF2", "改行コードを削除(&L)", "", "EraseCRLF1Click", kHintEraseCrLf),
    item("InsertDate2", "現在の日付を挿入(&D)", "", "tbDateInsertClick", kHintInsertDate),
    item("InsertTime2", "現在の時刻を挿入(&M)", "", "tbTimeInsertClick", kHintInsertTime),
    item("HelperList2", "入力支援リスト(&H)", "", "HelperList1Click", kHintHelperList),
    item("TemplateReg2", "登録 /編集(&R)...", "", "TemplateRegClick", kHintTemplateReg),
    item("Find2", "検索(&F)...", "", "tbFindClick", kHintFind, "edit-find"),
    item("Replace2", "検索・置換(&E)...", "", "Replace1Click", kHintReplace, "edit-replace"),

    // Drop-down menus of the tool buttons
    item("tbpmNewCategory", "カテゴリーを作成(&B)", "", "tbNewCategoryClick", kHintNewCategory,
        "node-new-category"),
    item("tbpmNewChildCategory", "下の階層にカテゴリーを作成(&V)", "", "pmTrayCategoryClick",
        kHintNewChildCategory),
    item("tbpmNewMemo", "メモを作成(&M)", "", "tbNewMemoClick", kHintNewMemo, "node-new-memo"),
    item("tbpmNewChildMemo", "下の階層にメモを作成(&N)", "", "NewChildMemoClick", kHintNewChildMemo),

    // Pop-up menu pmToolbar: the same toggles as mnToolbar1..4.
    tagged(toggle(item("pmToolbar1", "ファイル・編集", "", "mnToolbar1Click", "ファイル・編集ツールバー"), "",
               true, true),
        1),
    tagged(toggle(item("pmToolbar2", "メモ", "", "mnToolbar2Click", "メモツールバー"), "", true, true), 2),
    tagged(
        toggle(item("pmToolbar3", "ページ", "", "mnToolbar3Click", "ページツールバー"), "", true, true), 3),
    tagged(toggle(item("pmToolbar4", "クイックメモ", "", "mnToolbar4Click", "クイックメモツールバー")), 4),
};

constexpr const char* kFileToolbar[] = { "tbNew", "tbOpen", "tbClose", "tbSave", "-", "tbUndo", "tbCut",
    "tbCopy", "tbPaste", "-", "tbFind", "tbFindReplace" };
constexpr const char* kMemoToolbar[] = { "tbNewCategory", "tbNewMemo", "tbNewResult", "-", "tbExchange1",
    "tbExchange2", "-", "tbDelete", "-", "tbNodeDown", "tbNodeUp", "tbLevelUp", "tbLevelDown" };
constexpr const char* kPageToolbar[] = { "tbPageDn", "tbPageUp", "-", "tbPageDn2", "tbPageUp2", "-",
    "tbTreePaneMaximize", "tbMemoPaneMaximize" };
constexpr const char* kQuickMemoToolbar[]
    = { "tbInstantMemo", "-", "tbCollectionMode", "tbSingleMemoMode", "tbStackMemoMode" };

constexpr const char* kFile1[] = { "New1", "Open1", "Reopen1", "Open2", "-", "TextIn", "PrintByEditor", "-",
    "Save1", "SaveAs1", "SaveAsText", "-", "Close1", "-", "Exit1" };
constexpr const char* kEdit1[] = { "Undo1", "-", "Cut1", "Copy1", "Paste1", "SelectAll1", "-", "EraseCRLF1",
    "-", "Find1", "FindNext1", "FindPrev1", "Replace1" };
constexpr const char* kTree1[] = { "NewCategory", "NewChildCategory", "NewMemo", "NewChildMemo", "NewResult",
    "-", "TreeCut", "TreeCopy", "TreePaste", "-", "NodeUp", "NodeDown", "LevelUp", "LevelDown",
    "LevelUpChildren", "LevelDnSiblings", "-", "Exchange3", "Exchange4", "-", "TreeDelete" };
constexpr const char* kView1[] = { "PageUp", "PageDn", "UpperPage", "LowerPage", "-", "ChangeFocus1",
    "GoTitle", "-", "ExpandAllTree", "CollapseAllTree", "CollapseTree", "RestoreTreeState", "-",
    "TreeMaximize1", "MemoMaximize1", "-", "Toolbar1", "-", "KeyCustomize", "Option1" };
constexpr const char* kTool1[] = { "InsertDate", "InsertTime", "-", "EditByEditor", "HelperList1",
    "Template1", "MemoWizard", "-", "InstantMemo", "CollectionMode", "-", "CountChar", "-", "BookmarkMenu" };
constexpr const char* kHelp1[] = { "Contents1", "SearchforHelpOn1", "-", "About1" };
constexpr const char* kToolbar1[] = { "mnToolbar1", "mnToolbar2", "mnToolbar3", "mnToolbar4" };
constexpr const char* kTemplate1[] = { "TemplateReg" };
constexpr const char* kBookmarkMenu[]
    = { "N01", "N110", "N26", "N31", "N41", "N51", "N61", "N71", "N81", "N91", "-", "BookList" };

constexpr const char* kPmTree[] = { "pmNewCategory", "pmNewChildCategory", "pmNewMemo", "pmNewChildMemo",
    "pmNewResult", "pmMemoWizard", "-", "pmTreeCut", "pmTreeCopy", "pmTreePaste", "pmTreeDelete", "-",
    "pmLevelChange", "pmIconChange", "-", "RestoreTreeState2", "-", "BookMenu2" };
constexpr const char* kPmLevelChange[]
    = { "NodeUp2", "NodeDown2", "LevelUp2", "LevelDown2", "LevelUpChildren2", "LevelDnSiblings2" };
constexpr const char* kPmIconChange[] = { "Exchange1", "Exchange2" };
constexpr const char* kBookMenu2[] = { "pmBookmark0", "pmBookmark1", "pmBookmark2", "pmBookmark3",
    "pmBookmark4", "pmBookmark5", "pmBookmark6", "pmBookmark7", "pmBookmark8", "pmBookmark9" };
constexpr const char* kPmMemo[] = { "Undo2", "-", "Cut2", "Copy2", "Paste2", "SelectAll2", "-", "EraseCRLF2",
    "InsertDate2", "InsertTime2", "HelperList2", "Template2", "-", "Find2", "Replace2" };
constexpr const char* kTemplate2[] = { "TemplateReg2" };
constexpr const char* kTbpmCategory[] = { "tbpmNewCategory", "tbpmNewChildCategory" };
constexpr const char* kTbpmMemo[] = { "tbpmNewMemo", "tbpmNewChildMemo" };
constexpr const char* kPmToolbar[] = { "pmToolbar1", "pmToolbar2", "pmToolbar3", "pmToolbar4" };
constexpr std::span<const char* const> kEmpty;

constexpr CommandContainer toolBar(const char* name, const char* title, std::span<const char* const> items,
    const char* toggleEvent, Qt::ToolBarArea area = Qt::TopToolBarArea, bool visible = true)
{
    return CommandContainer { name, ContainerKind::ToolBar, title, "", items, area, visible, toggleEvent };
}

constexpr CommandContainer kContainers[] = {
    toolBar("FileToolbar", "File/Edit", kFileToolbar, "mnToolbar1Click"),
    toolBar("MemoToolbar", "Memo", kMemoToolbar, "mnToolbar2Click"),
    toolBar("PageToolbar", "View", kPageToolbar, "mnToolbar3Click"),
    toolBar(
        "QuickMemoToolbar", "Quick Memo", kQuickMemoToolbar, "mnToolbar4Click", Qt::BottomToolBarArea, false),

    { "File1", ContainerKind::MainMenu, "ファイル(&F)", "", kFile1 },
    { "Edit1", ContainerKind::MainMenu, "編集(&E)", "", kEdit1 },
    { "Tree1", ContainerKind::MainMenu, "メモ(&M)", "", kTree1 },
    { "View1", ContainerKind::MainMenu, "表示(&V)", "", kView1 },
    { "Tool1", ContainerKind::MainMenu, "ツール(&T)", "", kTool1 },
    { "Help1", ContainerKind::MainMenu, "ヘルプ(&H)", "", kHelp1 },

    // Reopen1 is filled with the recently used files by the file commands.
    { "Reopen1", ContainerKind::Submenu, "開き直す(&R)", "過去に開いたファイルを開きます", kEmpty },
    { "Toolbar1", ContainerKind::Submenu, "ツールバー(&T)", "ツールバーを表示します", kToolbar1 },
    { "Template1", ContainerKind::Submenu, "テンプレート(&P)", "テンプレートを登録・挿入します", kTemplate1 },
    { "BookmarkMenu", ContainerKind::Submenu, "ブックマーク(&M)", "ブックマークを設定・表示します",
        kBookmarkMenu },

    { "pmTree", ContainerKind::Popup, "", "", kPmTree },
    { "pmLevelChange", ContainerKind::Submenu, "メモの位置と階層レベル(&O)", "", kPmLevelChange },
    { "pmIconChange", ContainerKind::Submenu, "アイコン変更(&H)", "", kPmIconChange },
    { "BookMenu2", ContainerKind::Submenu, "ブックマーク(&K)", "ブックマークを設定・表示します", kBookMenu2 },
    { "pmMemo", ContainerKind::Popup, "", "", kPmMemo },
    { "Template2", ContainerKind::Submenu, "テンプレート(&E)", "テンプレートを登録・挿入します", kTemplate2 },
    { "tbpmCategory", ContainerKind::Popup, "", "", kTbpmCategory },
    { "tbpmMemo", ContainerKind::Popup, "", "", kTbpmMemo },
    // tbpmOpen is filled with the recently used files each time it opens.
    { "tbpmOpen", ContainerKind::Popup, "", "", kEmpty },
    { "pmToolbar", ContainerKind::Popup, "", "", kPmToolbar },
};

// The table is checked while compiling: names are unique across rows and containers, and every
// item a container lists exists.
constexpr bool same(const char* a, const char* b)
{
    return std::string_view(a) == std::string_view(b);
}

constexpr bool hasRow(const char* name)
{
    return std::any_of(
        std::begin(kRows), std::end(kRows), [&](const CommandRow& r) { return same(r.name, name); });
}

constexpr bool hasContainer(const char* name)
{
    return std::any_of(std::begin(kContainers), std::end(kContainers),
        [&](const CommandContainer& c) { return same(c.name, name); });
}

constexpr bool namesUnique()
{
    std::array<const char*, std::size(kRows) + std::size(kContainers)> names {};
    std::size_t n = 0;
    for (const auto& r : kRows)
        names[n++] = r.name;
    for (const auto& c : kContainers)
        names[n++] = c.name;
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j)
            if (same(names[i], names[j]))
                return false;
    return true;
}

constexpr bool itemsResolve()
{
    for (const auto& c : kContainers)
        for (const char* i : c.items)
            if (!same(i, "-") && !hasRow(i) && !hasContainer(i))
                return false;
    return true;
}

static_assert(namesUnique(), "every action, menu and tool bar needs its own object name");
static_assert(itemsResolve(), "a menu or tool bar lists an item that the table does not define");

} // namespace

std::span<const CommandRow> CommandTable::rows()
{
    return kRows;
}

std::span<const CommandContainer> CommandTable::containers()
{
    return kContainers;
}

const CommandRow* CommandTable::row(std::string_view name)
{
    const auto it = std::find_if(
        std::begin(kRows), std::end(kRows), [&](const CommandRow& r) { return r.name == name; });
    return it == std::end(kRows) ? nullptr : &*it;
}

const CommandContainer* CommandTable::container(std::string_view name)
{
    const auto it = std::find_if(std::begin(kContainers), std::end(kContainers),
        [&](const CommandContainer& c) { return c.name == name; });
    return it == std::end(kContainers) ? nullptr : &*it;
}

} // namespace notarium
