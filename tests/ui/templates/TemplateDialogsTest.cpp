// The template list and the template editor, driven through their buttons and menus over a real
// main window: the list's buttons and moves, adding text and tree templates, an outline of five
// levels written and read back, the fixed root, pasting a branch copied in the main window,
// deleting with the file, and files that cannot be read.
#include "app/DocumentTreeModel.h"
#include "app/MainWindow.h"
#include "app/TreePane.h"
#include "core/document/Document.h"
#include "core/templates/TreeTemplate.h"
#include "editor/ImeLineEdit.h"
#include "editor/TExtMemo.h"
#include "support/WindowFixture.h"
#include "templates/TTempDlg.h"
#include "templates/TTempEditForm.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

using namespace notarium;

namespace {

template <typename T> T* child(const QObject* parent, const char* name)
{
    return parent->findChild<T*>(QString::fromLatin1(name));
}

QPushButton* button(const QObject* parent, const char* name)
{
    return child<QPushButton>(parent, name);
}

QAction* item(const TTempEditForm& editor, const char* name)
{
    return child<QAction>(&editor, name);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

std::string local(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// The pages below the template root, "level:title:kind" in pre-order.
QString shapeOf(const Document& doc)
{
    QStringList pages;
    doc.forEachInOrder([&pages](const Node* node, int level) {
        if (level > 0)
            pages << QStringLiteral("%1:%2:%3")
                         .arg(level)
                         .arg(QString::fromStdString(node->title()))
                         .arg(node->imageIndex());
    });
    return pages.join(QLatin1Char(' '));
}

Node* findPage(const Document& doc, const char* title)
{
    for (Node* node : doc.nodesInOrder())
        if (node->title() == title)
            return node;
    return nullptr;
}

// The person types a title into the in-place editor the tree opened, and presses Enter unless
// told not to.
void typeTitle(TTempEditForm& editor, const char* title, bool enter = true)
{
    // An editor closed before lingers hidden until it is deleted.
    QLineEdit* box = nullptr;
    for (QLineEdit* candidate : editor.tempTree()->findChildren<QLineEdit*>())
        if (candidate->isVisible())
            box = candidate;
    QVERIFY2(box != nullptr, title);
    box->selectAll();
    QTest::keyClicks(box, QString::fromUtf8(title));
    if (!enter)
        return;
    QTest::keyClick(box, Qt::Key_Return);
    QTRY_VERIFY(!editor.tempTree()->isEditingTitle());
}

void clickPage(TTempEditForm& editor, Node* node)
{
    TreePane* tree = editor.tempTree();
    QVERIFY(node != nullptr);
    tree->scrollTo(tree->documentModel()->indexFromNode(node));
    const QRect rect = tree->visualRect(tree->documentModel()->indexFromNode(node));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(tree->selectedNode(), node);
}

void choose(QAction* action)
{
    QVERIFY2(action != nullptr, "no such item");
    QVERIFY2(action->isEnabled(), qPrintable(action->objectName()));
    action->trigger();
}

} // namespace

class TemplateDialogsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;
    std::vector<TemplateEntry> inserted;

    TemplateDialogContext context(bool selectedIsTopLevel)
    {
        return TemplateDialogContext { &f->window(), f->services().services(), f->settings(),
            f->window().actions(), *f->window().memoPane(), selectedIsTopLevel,
            [this](const TemplateEntry& entry) { inserted.push_back(entry); } };
    }
    std::unique_ptr<TTempDlg> openList(std::vector<TemplateEntry> entries, bool selectedIsTopLevel = false)
    {
        auto dialog = std::make_unique<TTempDlg>(context(selectedIsTopLevel), std::move(entries));
        dialog->show();
        return dialog;
    }
    QString path(const char* name) { return f->path(QString::fromLatin1(name)); }

    // Runs drive on the editor the list opens next, while it is open. However drive ends, the
    // editor is closed afterwards, so a failed check cannot leave the test waiting.
    static void whileEditorOpen(
        TTempDlg& list, std::function<void(TTempEditForm&)> drive, bool* opened = nullptr)
    {
        QTimer::singleShot(0, &list, [&list, drive, opened] {
            auto* editor = list.findChild<TTempEditForm*>();
            if (opened)
                *opened = editor != nullptr && editor->isVisible();
            if (editor == nullptr)
                return;
            if (drive)
                drive(*editor);
            if (editor->isVisible())
                editor->reject();
        });
    }
    void chooseFile(TTempEditForm& editor, const QString& file)
    {
        f->services().files.scriptSave(file);
        child<QToolButton>(&editor, "TempFileButton")->click();
    }

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->start();
        inserted.clear();
    }
    void cleanup() { f.reset(); }

    void listButtonsFollowTheSelectionAndMovesMarkTheList()
    {
        const std::vector<TemplateEntry> rows { { "Daily", 0, "/t/daily.nmt" },
            { "Weekly", 1, "/t/weekly.nmt" }, { "Note", 0, "/t/note.nmt" } };
        auto list = openList(rows, true);
        QTreeWidget* view = list->templateList();
        auto* up = child<QToolButton>(list.get(), "sbDataUp");
        auto* down = child<QToolButton>(list.get(), "sbDataDn");
        QPushButton* insert = button(list.get(), "InsertButton");
        QCOMPARE(view->topLevelItemCount(), 3);
        QCOMPARE(view->topLevelItem(1)->text(1), QStringLiteral("/t/weekly.nmt"));
        QVERIFY(!view->topLevelItem(0)->icon(0).isNull());

        // The first row is selected at once; a text template needs a page in the main window.
        QCOMPARE(list->selectedRow(), std::optional<std::size_t>(0));
        QCOMPARE(list->focusWidget(), view);
        QVERIFY(button(list.get(), "EditButton")->isEnabled());
        QVERIFY(button(list.get(), "DeleteButton")->isEnabled());
        QVERIFY(!up->isEnabled());
        QVERIFY(down->isEnabled());
        QVERIFY(!insert->isEnabled());
        list->selectRow(1);
        QVERIFY(insert->isEnabled());
        QVERIFY(!list->changed());

        down->click();
        QCOMPARE(view->topLevelItem(2)->text(0), QStringLiteral("Weekly"));
        QCOMPARE(list->selectedRow(), std::optional<std::size_t>(2));
        QVERIFY(list->changed());
        QCOMPARE(list->focusWidget(), up); // the down button has nothing left to do
        up->click();
        QCOMPARE(list->focusWidget(), up);
        const std::vector<TemplateEntry> order { rows[0], rows[1], rows[2] };
        QVERIFY(list->entries() == order);

        button(list.get(), "HelpButton")->click();
        QCOMPARE(f->services().help.last(), 30);

        // With a page selected, Insert applies the row and closes the list.
        auto pageList = openList(rows, false);
        QVERIFY(button(pageList.get(), "InsertButton")->isEnabled());
        button(pageList.get(), "InsertButton")->click();
        QCOMPARE(inserted.size(), std::size_t(1));
        QCOMPARE(inserted.front(), rows[0]);
        QCOMPARE(pageList->result(), int(QDialog::Accepted));
        QVERIFY(!pageList->isVisible());
        QVERIFY(!pageList->changed());

        auto empty = openList({});
        QCOMPARE(empty->focusWidget(), button(empty.get(), "AddButton"));
    }

    void addsTemplatesThroughTheEditorAndRefusesWhatCannotBeKept()
    {
        // The person's own key for a new memo comes along.
        f->action("NewMemo")->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+M")));
        auto list = openList({ { "Daily", 0, local(path("daily.nmt")) } });

        whileEditorOpen(*list, [&](TTempEditForm& editor) {
            auto* includeTree = child<QCheckBox>(&editor, "cbIncludeTree");
            QPushButton* ok = button(&editor, "OKButton");
            QVERIFY(includeTree->isEnabled() && !includeTree->isChecked());
            QCOMPARE(editor.focusWidget(), includeTree);
            QVERIFY(!editor.tempTree()->isEnabled());
            QVERIFY(!item(editor, "TempMenu03")->isEnabled());
            QCOMPARE(item(editor, "TempMenu03")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Alt+M")));
            QCOMPARE(item(editor, "TempMenu08")->shortcut(), f->action("TreeDelete")->shortcut());
            QVERIFY(editor.tempEdit()->isInputMethodOpen());
            QVERIFY(!child<ImeLineEdit>(&editor, "TempFile")->isInputMethodOpen());

            QTest::keyClicks(child<QLineEdit>(&editor, "TempName"), QStringLiteral("Letter"));
            QVERIFY(!ok->isEnabled());
            chooseFile(editor, path("letter.nmt"));
            const ScriptedFileDialogService::Request request = f->services().files.last();
            QCOMPARE(request.title, QStringLiteral("テンプレートファイルの保存"));
            QCOMPARE(request.filter, QStringLiteral("Notarium Template File (*.nmt)"));
            QCOMPARE(request.defaultSuffix, QStringLiteral("nmt"));
            QCOMPARE(QFileInfo(request.folder).canonicalFilePath(), QFileInfo(path(".")).canonicalFilePath());
            QVERIFY(ok->isEnabled());
            QTest::keyClicks(editor.tempEdit(), QStringLiteral("Dear all"));
            ok->click();
            QVERIFY(!editor.isVisible());
        });
        button(list.get(), "AddButton")->click();
        QCOMPARE(readFile(path("letter.nmt")), QByteArray("Dear all\r\n"));
        QVERIFY(list->changed());
        QCOMPARE(list->entries().back(), (TemplateEntry { "Letter", 0, local(path("letter.nmt")) }));
        QCOMPARE(list->selectedRow(), std::optional<std::size_t>(1));

        // A tree template: a body typed into the new page and OK pressed at once is saved.
        whileEditorOpen(*list, [&](TTempEditForm& editor) {
            child<QCheckBox>(&editor, "cbIncludeTree")->click();
            QVERIFY(editor.tempTree()->isEnabled());
            QVERIFY(editor.tempEdit()->isReadOnly()); // the root has no body
            choose(item(editor, "TempMenu03")); // on the root: a page below it
            typeTitle(editor, "Agenda");
            QVERIFY(!editor.tempEdit()->isReadOnly());
            QTest::keyClicks(editor.tempEdit(), QStringLiteral("first"));
            QTest::keyClick(editor.tempEdit(), Qt::Key_Return);
            QTest::keyClicks(editor.tempEdit(), QStringLiteral("second"));
            child<QLineEdit>(&editor, "TempName")->setText(QStringLiteral("Meeting"));
            chooseFile(editor, path("meeting.nmt"));
            button(&editor, "OKButton")->click();
        });
        button(list.get(), "AddButton")->click();
        QCOMPARE(list->entries().size(), std::size_t(3));
        QCOMPARE(list->entries().back().includeTree, 1);
        Document read;
        newTemplateDocument(read);
        QVERIFY(loadTemplateTree(local(path("meeting.nmt")), read, read.documentNode()).ok());
        QCOMPARE(shapeOf(read), QStringLiteral("1:Agenda:2"));
        QCOMPARE(read.documentNode()->firstChild()->data()->MemoStr, std::string("first\r\nsecond\r\n"));

        // A name the store already holds, and a file that cannot be written: the editor says so
        // and stays open; nothing is registered.
        f->prompt().clear();
        bool stayedOpen = false;
        whileEditorOpen(*list, [&](TTempEditForm& editor) {
            child<QLineEdit>(&editor, "TempName")->setText(QStringLiteral("daily"));
            chooseFile(editor, path("other.nmt"));
            button(&editor, "OKButton")->click();
            QCOMPARE(f->prompt().count(), 1);
            QCOMPARE(f->prompt().last().text,
                QStringLiteral("「daily」という名前のテンプレートはすでに登録されています。\r\n別の名前を入力"
                               "してください。"));
            QVERIFY(!QFileInfo::exists(path("other.nmt")));

            child<QLineEdit>(&editor, "TempName")->setText(QStringLiteral("Other"));
            chooseFile(editor, path("no-such-folder/other.nmt"));
            button(&editor, "OKButton")->click();
            QCOMPARE(f->prompt().count(), 2);
            QVERIFY(
                f->prompt().last().text.startsWith(QStringLiteral("テンプレートを保存できませんでした。")));
            QCOMPARE(f->prompt().last().caption, QStringLiteral("ファイル I/O エラー"));
            stayedOpen = editor.isVisible();
        });
        button(list.get(), "AddButton")->click();
        QVERIFY(stayedOpen);
        QCOMPARE(list->entries().size(), std::size_t(3));
    }

    void anOutlineOfFiveLevelsRoundTripsAndTheRootStaysFixed()
    {
        auto list = openList({});
        whileEditorOpen(*list, [&](TTempEditForm& editor) {
            Document& doc = editor.templateDocument();
            child<QCheckBox>(&editor, "cbIncludeTree")->click();
            choose(item(editor, "TempMenu04"));
            typeTitle(editor, "L1");
            QTest::keyClicks(editor.tempEdit(), QStringLiteral("level one"));
            choose(item(editor, "TempMenu02"));
            typeTitle(editor, "L2");
            choose(item(editor, "TempMenu04"));
            typeTitle(editor, "L3");
            QTest::keyClicks(editor.tempEdit(), QStringLiteral("three"));
            choose(item(editor, "TempMenu05"));
            typeTitle(editor, "L4");
            choose(item(editor, "TempMenu04"));
            typeTitle(editor, "L5");
            QTest::keyClicks(editor.tempEdit(), QStringLiteral("deep"));
            clickPage(editor, findPage(doc, "L1"));
            QCOMPARE(editor.tempEdit()->toPlainText(), QStringLiteral("level one"));
            choose(item(editor, "TempMenu01")); // a category right after L1
            choose(item(editor, "TempMenu06")); // ... made a memo
            typeTitle(editor, "S", false); // OK keeps the title being typed
            child<QLineEdit>(&editor, "TempName")->setText(QStringLiteral("Outline"));
            chooseFile(editor, path("outline.nmt"));
            button(&editor, "OKButton")->click();
        });
        button(list.get(), "AddButton")->click();
        QCOMPARE(list->entries().size(), std::size_t(1));

        const QString shape = QStringLiteral("1:L1:2 2:L2:1 3:L3:2 4:L4:3 5:L5:2 1:S:2");
        Document read;
        newTemplateDocument(read);
        QVERIFY(loadTemplateTree(local(path("outline.nmt")), read, read.documentNode()).ok());
        QCOMPARE(shapeOf(read), shape);
        QCOMPARE(findPage(read, "L1")->data()->MemoStr, std::string("level one\r\n"));
        QCOMPARE(findPage(read, "L3")->data()->MemoStr, std::string("three\r\n"));
        QCOMPARE(findPage(read, "L5")->data()->MemoStr, std::string("deep\r\n"));
        QCOMPARE(findPage(read, "L4")->data()->MemoStr, std::string());
        const QByteArray written = readFile(path("outline.nmt"));

        // Edited again: the same outline, the kind fixed, and OK writes the same bytes.
        whileEditorOpen(*list, [&](TTempEditForm& editor) {
            auto* includeTree = child<QCheckBox>(&editor, "cbIncludeTree");
            QVERIFY(includeTree->isChecked());
            QVERIFY(!includeTree->isEnabled());
            QCOMPARE(child<QLineEdit>(&editor, "TempName")->text(), QStringLiteral("Outline"));
            QCOMPARE(shapeOf(editor.templateDocument()), shape);
            QCOMPARE(editor.tempTree()->selectedNode()->title(), std::string("L1"));
            QCOMPARE(editor.tempEdit()->toPlainText(), QStringLiteral("level one\n"));
            QCOMPARE(editor.focusWidget(), editor.tempTree());
            button(&editor, "OKButton")->click();
        });
        list->selectRow(0);
        button(list.get(), "EditButton")->click();
        QCOMPARE(readFile(path("outline.nmt")), written);

        // The root: no title edit, no delete, no move, no body. Moves with nowhere to go beep.
        f->prompt().clear();
        whileEditorOpen(*list, [&](TTempEditForm& editor) {
            Document& doc = editor.templateDocument();
            Node* root = doc.documentNode();
            clickPage(editor, root);
            QVERIFY(editor.tempEdit()->isReadOnly());
            QTest::keyClick(editor.tempTree(), Qt::Key_F2);
            QCOMPARE(f->prompt().beeps(), 1);
            QVERIFY(!editor.tempTree()->isEditingTitle());
            for (const char* name : { "TempMenu06", "TempMenu07", "TempMenu08", "TempMenu11", "TempMenu12",
                     "TempMenu13", "TempMenu14" })
                QVERIFY2(!item(editor, name)->isEnabled(), name);
            choose(item(editor, "TempMenu09")); // nothing before the root
            QCOMPARE(f->prompt().beeps(), 2);

            Node* first = findPage(doc, "L1");
            clickPage(editor, first);
            choose(item(editor, "TempMenu11")); // onto the root
            choose(item(editor, "TempMenu13")); // already at level 1
            choose(item(editor, "TempMenu14")); // no page before it
            QCOMPARE(f->prompt().beeps(), 5);
            QCOMPARE(shapeOf(doc), shape);
            choose(item(editor, "TempMenu12")); // L1 and S change places
            QCOMPARE(shapeOf(doc), QStringLiteral("1:S:2 1:L1:2 2:L2:1 3:L3:2 4:L4:3 5:L5:2"));

            // Deleting asks; No keeps the page, Yes takes it with its pages below.
            f->prompt().scriptAnswers({ PromptAnswer::No, PromptAnswer::Yes });
            choose(item(editor, "TempMenu08"));
            QCOMPARE(f->prompt().last().text,
                QStringLiteral(
                    "選択されたデータを削除してもいいですか？（下位のデータもすべて削除されます）"));
            QCOMPARE(f->prompt().last().caption, QStringLiteral("削除動作の確認"));
            QCOMPARE(doc.nodeCount(), std::size_t(7));
            choose(item(editor, "TempMenu08"));
            QCOMPARE(shapeOf(doc), QStringLiteral("1:S:2"));
            QCOMPARE(editor.tempTree()->selectedNode(), findPage(doc, "S"));
            button(&editor, "CancelButton")->click();
        });
        button(list.get(), "EditButton")->click();
        QCOMPARE(readFile(path("outline.nmt")), written);
    }

    void pastesABranchCopiedInTheMainWindow()
    {
        Document& main = f->document();
        Node* branch = main.createUserNode(main.documentNode(), 0, KindCategory, "branch");
        Node* leaf = main.createUserNode(branch, 0, KindResult, "leaf");
        leaf->data()->MemoStr = "kept\r\n";
        f->window().treePane()->setSelectedNode(branch);
        QGuiApplication::clipboard()->setText(QStringLiteral("plain text only"));

        auto list = openList({});
        whileEditorOpen(*list, [&](TTempEditForm& editor) {
            child<QCheckBox>(&editor, "cbIncludeTree")->click();
            QVERIFY(!item(editor, "TempMenu15")->isEnabled());
            f->trigger("TreeCopy");
            choose(item(editor, "TempMenu15"));
            Document& doc = editor.templateDocument();
            QCOMPARE(shapeOf(doc), QStringLiteral("1:branch:1 2:leaf:3"));
            QCOMPARE(findPage(doc, "leaf")->data()->MemoStr, std::string("kept\r\n"));
            QVERIFY(doc.documentNode()->isExpanded());
            // Pasted pages are pages like any other.
            clickPage(editor, findPage(doc, "leaf"));
            QCOMPARE(editor.tempEdit()->toPlainText(), QStringLiteral("kept\n"));
        });
        button(list.get(), "AddButton")->click();
        QCOMPARE(shapeOf(main), QStringLiteral("1:branch:1 2:leaf:3")); // the main tree is as it was
    }

    void deletesWithTheFileAndNeverOpensAnUnreadableOne()
    {
        writeFile(path("text.nmt"), "hello\r\n");
        writeFile(path("broken.nmt"),
            "Notarium Template File\r\nVersion "
            "1.10\r\n\r\n::Page::\r\n1\r\nfine\r\n2\r\n2\r\nbegin{{\r\n}}end\r\n"
            "\r\n::Page::\r\nnot a level\r\n");
        writeFile(path("alien.nmt"), "Some other file\r\n");
        auto list
            = openList({ { "Text", 0, local(path("text.nmt")) }, { "Broken", 1, local(path("broken.nmt")) },
                { "Gone", 0, local(path("gone.nmt")) }, { "Alien", 1, local(path("alien.nmt")) } });

        f->prompt().scriptAnswers({ PromptAnswer::No, PromptAnswer::Yes });
        button(list.get(), "DeleteButton")->click();
        QCOMPARE(f->prompt().last().text,
            QStringLiteral("選択したテンプレートの登録を削除してもいいですか？\r\n※ディスク上のテンプレートフ"
                           "ァイルも削除されます。"));
        QCOMPARE(f->prompt().last().caption, QStringLiteral("テンプレート削除"));
        QCOMPARE(list->entries().size(), std::size_t(4));
        QVERIFY(!list->changed());
        button(list.get(), "DeleteButton")->click();
        QCOMPARE(list->entries().size(), std::size_t(3));
        QVERIFY(!QFileInfo::exists(path("text.nmt")));
        QVERIFY(list->changed());
        QCOMPARE(list->selectedRow(), std::optional<std::size_t>(0));

        struct Case {
            std::size_t row;
            QString text;
        };
        const Case cases[] = {
            { 0,
                QStringLiteral("テンプレートファイルの読み込み中にエラーが発生しました。\r\nファイルが壊れて"
                               "いる可能性があります。") },
            { 1,
                QStringLiteral("テンプレートファイル ") + path("gone.nmt")
                    + QStringLiteral(" が見つかりません。") },
            { 2, QStringLiteral("Notarium のテンプレートファイルではありません。") },
        };
        for (const Case& c : cases) {
            f->prompt().clear();
            bool opened = false;
            whileEditorOpen(*list, {}, &opened);
            list->selectRow(c.row);
            button(list.get(), "EditButton")->click();
            QTest::qWait(10);
            QVERIFY2(!opened, qPrintable(c.text));
            QCOMPARE(f->prompt().count(), 1);
            QCOMPARE(f->prompt().last().text, c.text);
            QCOMPARE(f->prompt().last().caption, QStringLiteral("ファイルエラー"));
        }
        QCOMPARE(list->entries().size(), std::size_t(3));
    }
};

QTEST_MAIN(TemplateDialogsTest)
#include "TemplateDialogsTest.moc"
