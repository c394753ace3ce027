// The find window and find next/previous, driven through the window's actions and the find
// window's buttons: where hits are shown, the questions at the ends, the range, the history, the
// tree state and input methods.
#include "search/FindCommands.h"
#include "app/ActionRegistry.h"
#include "app/MainWindow.h"
#include "app/TreePane.h"
#include "core/document/Document.h"
#include "core/settings/IniFile.h"
#include "editor/ImeLineEdit.h"
#include "editor/TExtMemo.h"
#include "memo/MemoBinding.h"
#include "search/HistoryComboBox.h"
#include "search/TFindForm1.h"
#include "search/TSeekDialog.h"
#include "search/TWinRoller.h"
#include "support/WindowFixture.h"

#include <QCheckBox>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace notarium;

class FindWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;
    Node* a = nullptr; // "alpha", body "one cat"
    Node* b = nullptr; // category, closed, body ""
    Node* c = nullptr; // under b, body "cat and CAT"
    Node* d = nullptr; // title "the cat title", body "dog"

    TMainForm1& win() { return f->window(); }
    FindCommands& commands() { return *win().findChild<FindCommands*>(); }
    TFindForm1* form() { return commands().findWindow(); }
    template <typename T> T* control(const char* name) { return form()->findChild<T*>(QString::fromLatin1(name)); }
    TExtMemo& memo() { return *win().memoPane(); }
    Node* selected() { return win().treePane()->selectedNode(); }
    QString memoSelection() { return memo().textCursor().selectedText(); }

    void openWith(const QString& text)
    {
        f->trigger("Find1");
        QVERIFY(form() != nullptr);
        form()->findEdit()->setEditText(text);
    }
    void clickFind() { control<QPushButton>("FindButton")->click(); }

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->start();
        Document& doc = win().document();
        a = doc.createUserNode(doc.documentNode(), 0, KindMemo, "alpha");
        b = doc.createUserNode(doc.documentNode(), 1, KindCategory, "beta");
        c = doc.createUserNode(b, 0, KindMemo, "gamma");
        d = doc.createUserNode(doc.documentNode(), 2, KindMemo, "the cat title");
        a->data()->MemoStr = "one cat";
        c->data()->MemoStr = "cat and CAT";
        d->data()->MemoStr = "dog";
        doc.setExpanded(b, false);
        win().treePane()->setSelectedNode(a);
    }
    void cleanup() { f.reset(); }

    void opensWithTheSelectedTextAndComesBackRolledDown()
    {
        QVERIFY(!f->isEnabled("FindNext1"));
        memo().setSelPos(4);
        memo().setSelLen(3);
        f->trigger("Find1");
        QVERIFY(form());
        QCOMPARE(form()->findEdit()->currentText(), QStringLiteral("cat"));
        QVERIFY(control<QPushButton>("FindButton")->isEnabled());
        QVERIFY(!control<QCheckBox>("cbTitle")->isChecked());
        QVERIFY(control<QCheckBox>("cbBody")->isChecked());
        QVERIFY(control<QRadioButton>("rbForeward")->isChecked());
        QCOMPARE(form()->windowTitle(), QStringLiteral("検索"));

        form()->roller()->setRoller(true);
        TFindForm1* first = form();
        f->trigger("Find1");
        QCOMPARE(form(), first);
        QVERIFY(!form()->roller()->Roller());

        // Ctrl+Page Up and Ctrl+Page Down roll it up and down.
        form()->findChild<QAction*>(QStringLiteral("RollUp1"))->trigger();
        QVERIFY(form()->roller()->Roller());
        form()->findChild<QAction*>(QStringLiteral("RollDn1"))->trigger();
        QVERIFY(!form()->roller()->Roller());

        // Neither titles nor bodies: nothing can be searched.
        control<QCheckBox>("cbBody")->click();
        QVERIFY(!control<QPushButton>("FindButton")->isEnabled());
    }

    void stepsThroughBodiesInClosedBranchesBothWays()
    {
        openWith(QStringLiteral("cat"));
        clickFind();
        QCOMPARE(selected(), a);
        QCOMPARE(memo().SelPos(), 4);
        QCOMPARE(memoSelection(), QStringLiteral("cat"));
        QVERIFY(f->isEnabled("FindNext1"));
        QVERIFY(f->isEnabled("RestoreTreeState"));

        f->trigger("FindNext1");
        QCOMPARE(selected(), c); // inside the closed branch
        QCOMPARE(memo().SelPos(), 0);
        f->trigger("FindNext1");
        QCOMPARE(memo().SelPos(), 8); // "CAT": case is folded by default
        f->trigger("FindPrev1");
        QCOMPARE(selected(), c);
        QCOMPARE(memo().SelPos(), 0);
        f->trigger("FindPrev1");
        QCOMPARE(selected(), a);
        QCOMPARE(f->prompt().count(), 0);

        // The tree comes back as it was when the window opened.
        f->trigger("RestoreTreeState");
        QVERIFY(!b->isExpanded());
    }

    void asksAtTheEndAndGoesOnOnlyWhenTold()
    {
        openWith(QStringLiteral("CAT"));
        control<QCheckBox>("cbMatchCase")->click();
        clickFind();
        QCOMPARE(selected(), c);
        QCOMPARE(memo().SelPos(), 8);

        f->prompt().scriptAnswer(PromptAnswer::No);
        f->trigger("FindNext1");
        QCOMPARE(f->prompt().count(), 1);
        QCOMPARE(f->prompt().last().text,
            QStringLiteral("ファイルの終わりまで検索しました。 ファイルの先頭から検索を続行しますか？"));
        QCOMPARE(f->prompt().last().caption, QStringLiteral("確認"));
        QCOMPARE(f->prompt().beeps(), 1); // the beep before the question, none after No
        QVERIFY(form() == nullptr);

        // The next find starts again in the selected node's text; past its last hit the question
        // comes again, and yes goes on from the first node.
        f->prompt().clear();
        f->trigger("FindNext1");
        QCOMPARE(memo().SelPos(), 8);
        QCOMPARE(f->prompt().count(), 0);
        f->prompt().scriptAnswer(PromptAnswer::Yes);
        f->trigger("FindNext1");
        QCOMPARE(f->prompt().count(), 1);
        QCOMPARE(selected(), c);
        QCOMPARE(memo().SelPos(), 8);

        // Backwards from the first hit: the question names the other end.
        f->prompt().clear();
        f->prompt().scriptAnswer(PromptAnswer::No);
        f->trigger("FindPrev1");
        QCOMPARE(f->prompt().last().text,
            QStringLiteral("ファイルの先頭まで検索しました。 ファイルの終わりから検索を続行しますか？"));
    }

    void theShownPageOnlyEndsWithABeepAndNoQuestion()
    {
        openWith(QStringLiteral("cat"));
        control<QRadioButton>("rbCurrentPage")->click();
        QVERIFY(!control<QCheckBox>("cbTitle")->isEnabled());
        clickFind();
        QCOMPARE(memo().SelPos(), 4);
        f->trigger("FindNext1");
        QCOMPARE(f->prompt().count(), 0);
        QCOMPARE(f->prompt().beeps(), 1);
        QVERIFY(form() == nullptr);
        QCOMPARE(selected(), a);
    }

    void titleHitsShowInTheTitleBoxThenTheBodyFollows()
    {
        win().treePane()->setSelectedNode(c);
        openWith(QStringLiteral("cat"));
        control<QCheckBox>("cbTitle")->click();
        control<QCheckBox>("cbBody")->click();
        clickFind();
        QCOMPARE(selected(), d);
        QCOMPARE(win().titleEdit()->selectedText(), QStringLiteral("cat"));
        QCOMPARE(win().titleEdit()->selectionStart(), 4);
        QVERIFY(commands().titleHit());

        // Titles and bodies: the title of d, then its body ("dog": none), then round to a.
        form()->close();
        f->trigger("Find1");
        form()->findEdit()->setEditText(QStringLiteral("o"));
        control<QCheckBox>("cbTitle")->click();
        win().treePane()->setSelectedNode(d);
        f->prompt().scriptAnswer(PromptAnswer::Yes);
        clickFind();
        QCOMPARE(selected(), d);
        QCOMPARE(memo().SelPos(), 1); // "dog": d's title holds no "o"
        f->trigger("FindNext1");
        QCOMPARE(f->prompt().count(), 1);
        QCOMPARE(selected(), a);
        QCOMPARE(memo().SelPos(), 0);
    }

    void historyOfSixteenSharedThroughTheSettings()
    {
        openWith(QString());
        // No word is in the document: each search ends at the question, answered no.
        f->prompt().scriptAnswers(QList<PromptAnswer>(18, PromptAnswer::No));
        for (int i = 0; i < 17; ++i) {
            form()->findEdit()->setEditText(QStringLiteral("word%1").arg(i));
            clickFind();
            if (form() == nullptr)
                f->trigger("Find1");
        }
        form()->findEdit()->setEditText(QStringLiteral("WORD3"));
        clickFind();
        IniFile& ini = f->ini();
        QCOMPARE(QString::fromStdString(ini.readString("FindHistory", "Text0")), QStringLiteral("WORD3"));
        QCOMPARE(QString::fromStdString(ini.readString("FindHistory", "Text1")), QStringLiteral("word16"));
        QCOMPARE(QString::fromStdString(ini.readString("FindHistory", "TextF")), QStringLiteral("word2"));
        QVERIFY(!ini.valueExists("FindHistory", "Text10"));

        // The search-and-replace window offers the same list.
        f->trigger("Replace1");
        auto* seek = win().findChild<TSeekDialog*>();
        QVERIFY(seek);
        QCOMPARE(seek->findEdit()->itemText(0), QStringLiteral("WORD3"));
        QCOMPARE(seek->findEdit()->count(), 16);
    }

    void anInputMethodCompositionKeepsEnterAndF3()
    {
        openWith(QStringLiteral("cat"));
        HistoryComboBox* edit = form()->findEdit();
        QInputMethodEvent compose(QStringLiteral("ねこ"), {});
        QCoreApplication::sendEvent(edit->lineEdit(), &compose);
        QVERIFY(form()->isComposing());
        QTest::keyClick(edit->lineEdit(), Qt::Key_Return);
        QCOMPARE(memo().SelLen(), 0); // nothing was searched

        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("ねこ"));
        QCoreApplication::sendEvent(edit->lineEdit(), &commit);
        QCOMPARE(edit->currentText(), QStringLiteral("catねこ"));
        edit->setEditText(QStringLiteral("cat"));
        QTest::keyClick(edit->lineEdit(), Qt::Key_Return);
        QCOMPARE(memo().SelPos(), 4);

        QInputMethodEvent memoCompose(QStringLiteral("い"), {});
        QCoreApplication::sendEvent(&memo(), &memoCompose);
        f->trigger("FindNext1");
        QCOMPARE(selected(), a);
    }

    void closingTheMainWindowClosesTheFindWindow()
    {
        openWith(QStringLiteral("cat"));
        QPointer<TFindForm1> open = form();
        win().document().setModified(false);
        win().close();
        QTRY_VERIFY(open.isNull());
    }
};

QTEST_MAIN(FindWindowTest)
#include "FindWindowTest.moc"
