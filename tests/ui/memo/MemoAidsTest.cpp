// The character count and the memo wizard, driven through their menu items as a person would:
// what the count window shows (unsaved edits included), the wizard's series of new nodes, its
// Shift rule and its result button, and the default titles dialog.
#include "app/TreePane.h"
#include "core/document/Document.h"
#include "editor/TExtMemo.h"
#include "memo/TCountResult.h"
#include "support/WindowFixture.h"

#include <QLabel>
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
};

QTEST_MAIN(MemoAidsTest)
#include "MemoAidsTest.moc"
