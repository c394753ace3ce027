// The search-and-replace window driven through its action and buttons: the list of hits and its
// status texts, showing a hit, replacing the selected hits and all of them, read-only documents,
// rows that no longer match, and the list model with many rows.
#include "search/SeekCommands.h"
#include "app/MainWindow.h"
#include "app/TreePane.h"
#include "core/document/Document.h"
#include "core/settings/IniFile.h"
#include "editor/TExtMemo.h"
#include "memo/MemoBinding.h"
#include "search/HistoryComboBox.h"
#include "search/SeekResultModel.h"
#include "search/TSeekDialog.h"
#include "search/TWinRoller.h"
#include "support/WindowFixture.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QtTest>

using namespace notarium;

class SeekDialogTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;
    Node* a = nullptr; // "aaaa aa"
    Node* b = nullptr; // category with child c
    Node* c = nullptr; // "x aa y aa"

    TMainForm1& win() { return f->window(); }
    SeekCommands& commands() { return *win().findChild<SeekCommands*>(); }
    TSeekDialog* dialog() { return commands().seekDialog(); }
    SeekResultModel& results() { return commands().results(); }
    template <typename T> T* control(const char* name) { return dialog()->findChild<T*>(QString::fromLatin1(name)); }
    QString status() { return dialog()->statusLabel()->text(); }
    TExtMemo& memo() { return *win().memoPane(); }

    void seek(const QString& text)
    {
        if (dialog() == nullptr)
            f->trigger("Replace1");
        QVERIFY(dialog());
        dialog()->findEdit()->setEditText(text);
        dialog()->seekButton()->click();
    }
    void selectRows(std::initializer_list<int> rows)
    {
        QItemSelectionModel* selection = dialog()->resultList()->selectionModel();
        selection->clearSelection();
        for (int row : rows)
            selection->select(results().index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->start();
        Document& doc = win().document();
        a = doc.createUserNode(doc.documentNode(), 0, KindMemo, "alpha");
        b = doc.createUserNode(doc.documentNode(), 1, KindCategory, "beta");
        c = doc.createUserNode(b, 0, KindMemo, "gamma");
        a->data()->MemoStr = "aaaa aa";
        c->data()->MemoStr = "x aa y aa";
        win().treePane()->setSelectedNode(a);
    }
    void cleanup() { f.reset(); }

    void listsEveryHitWithoutOverlapsAndSaysHowMany()
    {
        seek(QStringLiteral("aa"));
        QCOMPARE(results().rowCount(), 5); // "aaaa" gives two rows, not three
        QCOMPARE(results().hits()[1].offset, 2);
        QCOMPARE(status(), QStringLiteral("5ヶ所あります"));
        QCOMPARE(dialog()->selectedRows(), QList<int> { 0 });
        QVERIFY(dialog()->replAllButton()->isEnabled());
        QCOMPARE(results().data(results().index(3, 0), Qt::DisplayRole).toString(), QStringLiteral("gamma"));
        QCOMPARE(results().headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("テキスト"));

        // The selected tree only; then the shown page, with what is typed into it.
        control<QRadioButton>("rbCurrentTree")->click();
        win().treePane()->setSelectedNode(b);
        seek(QStringLiteral("aa"));
        QCOMPARE(results().rowCount(), 2);
        win().treePane()->setSelectedNode(a);
        memo().selectAll();
        memo().insertPlainText(QStringLiteral("aa"));
        control<QRadioButton>("rbCurrentPage")->click();
        seek(QStringLiteral("aa"));
        QCOMPARE(results().rowCount(), 1);

        seek(QStringLiteral("zz"));
        QCOMPARE(status(), QStringLiteral("“zz” は見つかりませんでした"));
        QCOMPARE(f->prompt().beeps(), 1);
        QCOMPARE(f->prompt().count(), 0);
        QVERIFY(!dialog()->replAllButton()->isEnabled());
        QCOMPARE(QString::fromStdString(f->ini().readString("FindHistory", "Text0")), QStringLiteral("zz"));
    }

    void showingAHitSelectsItInTheMemoPaneAndRollsTheWindowUp()
    {
        seek(QStringLiteral("aa"));
        selectRows({ 4 });
        dialog()->viewButton()->click();
        QCOMPARE(win().treePane()->selectedNode(), c);
        QCOMPARE(memo().SelPos(), 7);
        QCOMPARE(memo().SelLen(), 2);
        QVERIFY(dialog()->roller()->Roller());
        QVERIFY(f->isEnabled("RestoreTreeState"));
    }

    void replacingTheSelectionFromTheLastKeepsEarlierOffsetsAndSearchesAgain()
    {
        seek(QStringLiteral("aa"));
        dialog()->replEdit()->setEditText(QStringLiteral("bbb"));
        selectRows({ 0, 1, 3 });
        dialog()->replaceButton()->click();
        QCOMPARE(a->data()->MemoStr, std::string("bbbbbb aa"));
        QCOMPARE(c->data()->MemoStr, std::string("x bbb y aa"));
        QCOMPARE(memo().bytes(), std::string("bbbbbb aa")); // the pane shows the new text
        QVERIFY(win().document().isModified());
        QCOMPARE(results().rowCount(), 2);
        QCOMPARE(status(), QStringLiteral("2ヶ所あります"));
        QCOMPARE(QString::fromStdString(f->ini().readString("ReplHistory", "Text0")), QStringLiteral("bbb"));

        // An empty replacement deletes the hits; nothing left: the window is cleared.
        dialog()->replEdit()->setEditText(QString());
        selectRows({ 0, 1 });
        dialog()->replaceButton()->click();
        QCOMPARE(a->data()->MemoStr, std::string("bbbbbb "));
        QCOMPARE(status(), QStringLiteral("すべてを置き換えました"));
        QCOMPARE(f->prompt().beeps(), 1);
        QVERIFY(dialog()->findEdit()->currentText().isEmpty());
        QVERIFY(!dialog()->seekButton()->isEnabled());
    }

    void replaceAllThenRowsThatNoLongerMatchAreRefused()
    {
        seek(QStringLiteral("aa"));
        dialog()->replEdit()->setEditText(QStringLiteral("ー"));
        dialog()->replAllButton()->click();
        QCOMPARE(a->data()->MemoStr, std::string("\x81\x5B\x81\x5B \x81\x5B"));
        QCOMPARE(c->data()->MemoStr, std::string("x \x81\x5B y \x81\x5B"));
        QCOMPARE(status(), QStringLiteral("すべてを置き換えました"));
        QCOMPARE(results().rowCount(), 0);

        // The text changed after the search, and a node went away: neither row is used.
        a->data()->MemoStr = "aa";
        c->data()->MemoStr = "aa";
        win().memoBinding().reload();
        seek(QStringLiteral("aa"));
        a->data()->MemoStr = "ba";
        win().memoBinding().reload();
        win().document().removeNode(c);
        f->prompt().clear();
        selectRows({ 0 });
        dialog()->viewButton()->click();
        QCOMPARE(f->prompt().beeps(), 1);
        QVERIFY(!dialog()->roller()->Roller());
        dialog()->replEdit()->setEditText(QStringLiteral("q"));
        dialog()->replAllButton()->click();
        QCOMPARE(a->data()->MemoStr, std::string("ba"));
        QVERIFY(status().startsWith(QStringLiteral("0ヶ所を置き換えました")));
    }

    void aReplacementTheDocumentCannotHoldIsRefusedBeforeAnythingChanges()
    {
        seek(QStringLiteral("aa"));
        dialog()->replEdit()->setEditText(QStringLiteral("é😀"));
        dialog()->replAllButton()->click();
        QCOMPARE(f->prompt().count(), 1);
        QVERIFY(f->prompt().last().text.contains(QStringLiteral("Shift-JIS で表せない文字")));
        QCOMPARE(a->data()->MemoStr, std::string("aaaa aa"));
        QCOMPARE(results().rowCount(), 5);
    }

    void aReadOnlyDocumentOffersNoReplacing()
    {
        win().document().setReadOnly(true);
        win().treePane()->setSelectedNode(win().document().documentNode());
        f->trigger("Replace1");
        QVERIFY(!dialog()->replEdit()->isEnabled());
        QVERIFY(!control<QRadioButton>("rbCurrentTree")->isEnabled());
        QVERIFY(!control<QRadioButton>("rbCurrentPage")->isEnabled());
        seek(QStringLiteral("aa"));
        QCOMPARE(results().rowCount(), 5);
        QVERIFY(!dialog()->replaceButton()->isEnabled());
        QVERIFY(!dialog()->replAllButton()->isEnabled());
        QVERIFY(dialog()->viewButton()->isEnabled());

        control<QPushButton>("HelpButton")->click();
        QCOMPARE(f->services().help.last(), 28);
    }

    void theListIsAModelOverManyHits()
    {
        std::vector<SeekHit> hits(100000);
        for (std::size_t i = 0; i < hits.size(); ++i)
            hits[i] = SeekHit { i % 2 == 0 ? 1 : 3, static_cast<std::int32_t>(i), 2, "x\r\naa", "aa" };
        f->trigger("Replace1");
        QAbstractItemModelTester tester(&results(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        results().setHits(std::move(hits));
        QCOMPARE(results().rowCount(), 100000);
        QCOMPARE(results().data(results().index(99999, 1), Qt::DisplayRole).toString(), QStringLiteral("x  aa"));
        QVERIFY(!results().data(results().index(0, 0), Qt::DecorationRole).isNull());

        // Rows follow their node when the tree changes; rows of a deleted node lose it.
        win().document().moveNode(a, b, 1);
        SeekHit hit;
        QVERIFY(results().currentHit(0, hit));
        QCOMPARE(hit.nodeIndex, win().document().absoluteIndex(a));
        win().document().removeNode(c);
        QVERIFY(!results().currentHit(1, hit));
        QVERIFY(results().currentHit(2, hit));
    }
};

QTEST_MAIN(SeekDialogTest)
#include "SeekDialogTest.moc"
