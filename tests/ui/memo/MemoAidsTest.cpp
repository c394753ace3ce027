// The character count and the memo wizard, driven through their menu items as a person would:
// what the count window shows (unsaved edits included), the wizard's series of new nodes, its
// Shift rule and its result button, and the default titles dialog.
#include "app/TreePane.h"
#include "core/document/Document.h"
#include "editor/TExtMemo.h"
#include "memo/TCountResult.h"
#include "memo/TDefTitles.h"
#include "memo/TNewMemoDlg.h"
#include "memo/WizardCommands.h"
#include "editor/TRetEdit.h"
#include "support/WindowFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QLocale>
#include <QPushButton>
#include <QtTest>

#include <functional>

using namespace notarium;

class MemoAidsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    TMainForm1& win() { return f->window(); }
    Document& doc() { return f->document(); }
    TreePane& tree() { return *win().treePane(); }
    Node* add(Node* parent, const char* title, const char* body)
    {
        Node* node = doc().createUserNode(parent, parent->childCount(), KindMemo, title);
        node->data()->MemoStr = body;
        return node;
    }
    // Runs check on the count window the action opens, then closes it with its OK button.
    bool whileCountShown(const std::function<void(TCountResult&)>& check)
    {
        bool shown = false;
        QTimer::singleShot(0, &win(), [&] {
            auto* result = qobject_cast<TCountResult*>(QApplication::activeModalWidget());
            if (result == nullptr)
                return;
            shown = true;
            check(*result);
            result->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
        });
        f->trigger("CountChar");
        return shown;
    }
    TNewMemoDlg* openWizard()
    {
        f->trigger("MemoWizard");
        return win().findChild<WizardCommands*>()->wizard();
    }
    // Types a title into the wizard and confirms it with Enter (with Shift: the node is not selected).
    static void confirm(TNewMemoDlg* wizard, const QString& title, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClicks(wizard->titleBox(), title);
        QTest::keyClick(wizard->titleBox(), Qt::Key_Return, modifiers);
    }
    // The titles of the children, one blank between them.
    static std::string children(const Node* parent)
    {
        std::string titles;
        for (int row = 0; row < parent->childCount(); ++row)
            titles += (row > 0 ? " " : "") + parent->child(row)->title();
        return titles;
    }
    static QString number(TCountResult& result, const char* label)
    {
        return result.findChild<QLabel*>(QString::fromLatin1(label))->text().trimmed();
    }

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->start(true);
    }
    void cleanup() { f.reset(); }

    void countShowsNodeBranchAndTotalWithUnsavedEdits()
    {
        QVERIFY(!f->isEnabled("CountChar")); // only the two top-level nodes
        Node* a = add(doc().documentNode(), "A", "abc");
        Node* a1 = add(a, "A1", "\x82\xA0\x82\xA2\x82\xA4\r\n"); // three hiragana and a line break
        add(doc().paperFolderNode(), "P", "ab\r\ncd");
        tree().setSelectedNode(a);
        QVERIFY(f->isEnabled("CountChar"));
        // Typed but not yet stored into the node: counted.
        win().memoPane()->setFocus();
        QTest::keyClicks(win().memoPane(), QStringLiteral("de"));
        const bool shown = whileCountShown([](TCountResult& result) {
            QCOMPARE(result.windowTitle(), QStringLiteral("文字数カウント"));
            QCOMPARE(number(result, "SelNodeLabel"), QStringLiteral("5"));
            QCOMPARE(number(result, "SelTreeLabel"), QStringLiteral("8"));
            QCOMPARE(number(result, "OverallLabel"), QStringLiteral("14"));
        });
        QVERIFY(shown);
        QVERIFY(QApplication::activeModalWidget() == nullptr);

        tree().setSelectedNode(a1); // no children: node and branch alike
        QVERIFY(whileCountShown([](TCountResult& result) {
            QCOMPARE(number(result, "SelNodeLabel"), QStringLiteral("3"));
            QCOMPARE(number(result, "SelTreeLabel"), QStringLiteral("3"));
        }));
        tree().setSelectedNode(doc().documentNode()); // no text of its own
        QVERIFY(whileCountShown([](TCountResult& result) {
            QCOMPARE(number(result, "SelNodeLabel"), QStringLiteral("0"));
            QCOMPARE(number(result, "SelTreeLabel"), QStringLiteral("8"));
        }));
    }

    void countsAreGroupedAsTheLocaleGroupsThem()
    {
        QCOMPARE(TCountResult::formatCount(1234567, QLocale(QLocale::English)), QStringLiteral(" 1,234,567"));
        QCOMPARE(TCountResult::formatCount(1234567, QLocale(QLocale::German)), QStringLiteral(" 1.234.567"));
        QCOMPARE(TCountResult::formatCount(0, QLocale(QLocale::English)), QStringLiteral("         0"));
    }

    void wizardMakesASeriesOfMemosInTypingOrder()
    {
        Node* m = add(doc().documentNode(), "M", "");
        add(doc().documentNode(), "X", "");
        tree().setSelectedNode(m);
        TNewMemoDlg* wizard = openWizard();
        QVERIFY(wizard != nullptr && wizard->isVisible());
        QCOMPARE(wizard->windowTitle(), QStringLiteral("新規メモ連続作成"));
        QVERIFY(wizard->findChild<QRadioButton*>(QStringLiteral("cbMemo"))->isChecked());
        auto* ok = wizard->findChild<QPushButton*>(QStringLiteral("OKButton"));
        QVERIFY(!ok->isEnabled());
        for (const char* title : { "A", "B", "C", "D", "E" })
            confirm(wizard, QString::fromLatin1(title));
        QCOMPARE(children(doc().documentNode()), std::string("M A B C D E X"));
        QCOMPARE(tree().selectedNode()->title(), "E");
        QCOMPARE(tree().selectedNode()->imageIndex(), int(KindMemo));
        QCOMPARE(win().findChild<QLineEdit*>(QStringLiteral("TitleEdit"))->text(), QStringLiteral("E"));
        QVERIFY(wizard->titleBox()->text().isEmpty());
        QVERIFY(!ok->isEnabled());
        QVERIFY(doc().isModified());

        // A second command brings the same window back.
        QCOMPARE(openWizard(), wizard);
        wizard->findChild<QPushButton*>(QStringLiteral("CancelButton"))->click();
        QTRY_VERIFY(win().findChild<WizardCommands*>()->wizard() == nullptr);
        QTRY_VERIFY(win().memoPane()->hasFocus());
    }

    void wizardAtATopLevelNodeAndWithShift()
    {
        Node* a = add(doc().documentNode(), "A", "");
        add(a, "A1", "");
        add(doc().documentNode(), "B", "");
        tree().setSelectedNode(doc().documentNode());
        TNewMemoDlg* wizard = openWizard();
        auto* result = wizard->findChild<QRadioButton*>(QStringLiteral("cbResult"));
        QVERIFY(!result->isEnabled());
        confirm(wizard, QStringLiteral("Last")); // no place beside the document node: its last child
        QCOMPARE(children(doc().documentNode()), std::string("A B Last"));
        QCOMPARE(tree().selectedNode()->title(), "Last");
        QVERIFY(result->isEnabled()); // a user node is selected now

        // Shift: at the end of the siblings, the selection stays where it was, its branch open.
        tree().setSelectedNode(a);
        confirm(wizard, QStringLiteral("S1"), Qt::ShiftModifier);
        wizard->findChild<QRadioButton*>(QStringLiteral("cbChildCategory"))->setChecked(true);
        confirm(wizard, QStringLiteral("S2"), Qt::ShiftModifier);
        QCOMPARE(children(doc().documentNode()), std::string("A B Last S1"));
        QCOMPARE(children(a), std::string("A1 S2"));
        QCOMPARE(f->find("S2")->imageIndex(), int(KindCategory));
        QCOMPARE(tree().selectedNode(), a);
        QVERIFY(a->isExpanded());

        result->setChecked(true);
        confirm(wizard, QStringLiteral("R"));
        QCOMPARE(children(a), std::string("A1 S2 R"));
        QCOMPARE(f->find("R")->imageIndex(), int(KindResult));
    }

    void defaultTitleSetIsEditedAsCommaText()
    {
        TDefTitles dialog(&win());
        dialog.start(std::nullopt);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("デフォルトのタイトルを追加"));
        auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("OKButton"));
        auto* category = dialog.findChild<TRetEdit*>(QStringLiteral("CatEdit"));
        dialog.show();
        QTest::keyClicks(category, QStringLiteral("New idea"));
        QTest::keyClick(category, Qt::Key_Return); // moves on to the memo title
        QCOMPARE(dialog.focusWidget(), dialog.findChild<TRetEdit*>(QStringLiteral("MemEdit")));
        QTest::keyClicks(dialog.focusWidget(), QStringLiteral("Memo"));
        QVERIFY(!ok->isEnabled()); // every title is needed
        dialog.findChild<TRetEdit*>(QStringLiteral("ResEdit"))->setText(QStringLiteral("Result"));
        QVERIFY(ok->isEnabled());
        ok->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.commaText(), std::string("\"New idea\",Memo,Result"));

        // A set stored without its quotes reads as four items: editing it changes the first three
        // and keeps the fourth.
        dialog.start(std::string("New idea,Memo,Result"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("デフォルトのタイトルを編集"));
        QCOMPARE(category->text(), QStringLiteral("New"));
        category->setText(QStringLiteral("Idea"));
        ok->click();
        QCOMPARE(dialog.commaText(), std::string("Idea,idea,Memo,Result"));
    }
};

QTEST_MAIN(MemoAidsTest)
#include "MemoAidsTest.moc"
