// Instant memo and collection mode in the main window: memos made from the clipboard, clips
// collected into one memo or one memo each, the caption and the tool bar while collecting, and
// the notifications that are not clips (repeats, the program's own copies). One case takes its
// clips from a second program through a real display server.
#include "app/ActionRegistry.h"
#include "app/FileCommands.h"
#include "app/MainWindow.h"
#include "app/MenuBuilder.h"
#include "app/TreePane.h"
#include "core/document/Document.h"
#include "core/text/Cp932Codec.h"
#include "editor/TExtMemo.h"
#include "memo/MemoBinding.h"
#include "memo/MemoCommands.h"
#include "quickmemo/QuickMemoCommands.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QSocketNotifier>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include <cstdio>
#include <string>

using namespace notarium;

namespace {

const QString kCaption = QStringLiteral("Untitled - Notarium");

void setClipboard(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}

std::string body(const Node* node)
{
    return node->data()->MemoStr;
}

QString title(const Node* node)
{
    return QString::fromStdU16String(cp932::toUtf16(node->title()));
}

} // namespace

class QuickMemoTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    TMainForm1& win() const { return f->window(); }
    QToolBar* toolBar() const { return win().menus().toolBar(QStringLiteral("QuickMemoToolbar")); }
    Node* selected() const { return win().treePane()->selectedNode(); }
    int nodeCount() const { return static_cast<int>(f->document().nodeCount()); }

    // Opens the sample outline with memo A selected and the memo pane focused.
    void openSampleAtA()
    {
        QVERIFY(win().fileCommands().openDocument(f->writeSampleFile(), false));
        f->select("A");
        win().memoPane()->setFocus();
        QTRY_VERIFY(win().memoPane()->hasFocus());
    }

private slots:
    void init()
    {
        setClipboard(QString());
        f = std::make_unique<WindowFixture>();
        f->start(true);
    }
    void cleanup() { f.reset(); }

    void instantMemoMakesAMemoFromTheClipboardText()
    {
        openSampleAtA();
        Node* a = f->find("A");
        const int count = nodeCount();
        // Without text on the clipboard nothing happens.
        auto* picture = new QMimeData;
        picture->setData(QStringLiteral("image/png"), QByteArray("\x89PNG", 4));
        QGuiApplication::clipboard()->setMimeData(picture);
        f->trigger("InstantMemo");
        QCOMPARE(nodeCount(), count);
        QCOMPARE(selected(), a);

        setClipboard(QStringLiteral("  Shopping 表 list \nmilk\neggs\x1A"));
        f->trigger("tbInstantMemo");
        Node* memo = selected();
        QCOMPARE(nodeCount(), count + 1);
        QCOMPARE(memo->prevSibling(), a);
        QCOMPARE(memo->imageIndex(), int(KindMemo));
        QCOMPARE(title(memo), QStringLiteral("Shopping 表 list"));
        QCOMPARE(body(memo), std::string("  Shopping \x95\x5C list \r\nmilk\r\neggs\r\n"));
        // The memo pane shows it from the start; the title is ready to be typed over.
        QCOMPARE(win().memoPane()->bytes(), body(memo));
        QCOMPARE(win().memoPane()->textCursor().position(), 0);
        QVERIFY(win().titleEdit()->hasFocus());
        QCOMPARE(win().titleEdit()->selectedText(), QStringLiteral("Shopping 表 list"));
        QVERIFY(f->document().isModified());

        // Its key works where the editors have Ctrl+Ins as copy.
        win().memoPane()->setFocus();
        QTRY_VERIFY(win().memoPane()->hasFocus());
        QTest::keyClick(win().memoPane(), Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(nodeCount(), count + 2);
        QCOMPARE(selected()->prevSibling(), memo);

        // A read-only document makes no memos.
        QVERIFY(win().fileCommands().openDocument(f->path(QStringLiteral("plan.nmd")), true));
        QVERIFY(!f->isEnabled("InstantMemo"));
        QVERIFY(!f->isEnabled("CollectionMode"));
    }

    void collectionModeMarksTheCaptionAndShowsTheToolBarMeanwhile()
    {
        QCOMPARE(win().windowTitle(), kCaption);
        QVERIFY(toolBar()->isHidden());
        QVERIFY(!f->isEnabled("tbSingleMemoMode"));
        QVERIFY(!f->isEnabled("tbStackMemoMode"));

        f->trigger("CollectionMode");
        QCOMPARE(win().windowTitle(), kCaption + QStringLiteral(" [Collection]"));
        QVERIFY(!toolBar()->isHidden());
        QVERIFY(f->action("tbCollectionMode")->isChecked());
        QVERIFY(f->action("tbSingleMemoMode")->isChecked());
        f->trigger("tbStackMemoMode");
        QVERIFY(!f->action("tbSingleMemoMode")->isChecked());

        // Off from the button: the tool bar goes again, and the caption is as it was.
        f->trigger("tbCollectionMode");
        QCOMPARE(win().windowTitle(), kCaption);
        QVERIFY(toolBar()->isHidden());
        QVERIFY(!f->action("CollectionMode")->isChecked());
        QVERIFY(!f->isEnabled("tbStackMemoMode"));

        // A tool bar that was shown stays; the multi memo choice is kept.
        f->trigger("mnToolbar4");
        f->trigger("CollectionMode");
        QVERIFY(f->action("tbStackMemoMode")->isChecked());
        f->trigger("CollectionMode");
        QVERIFY(!toolBar()->isHidden());
        QCOMPARE(win().windowTitle(), kCaption);
        f->trigger("mnToolbar4");

        // Saving under another name keeps the mark; another document ends collecting (the
        // external editor does the same through the edit commands' handle).
        f->trigger("NewMemo");
        f->trigger("CollectionMode");
        const QString saved = f->path(QStringLiteral("saved.nmd"));
        f->services().files.scriptSave(saved);
        f->trigger("SaveAs1");
        QTRY_COMPARE(win().windowTitle(), win().fileCommands().caption() + QStringLiteral(" [Collection]"));
        f->trigger("Close1");
        QCOMPARE(win().windowTitle(), kCaption);
        QVERIFY(toolBar()->isHidden());
        QVERIFY(!f->action("CollectionMode")->isChecked());
        f->trigger("CollectionMode");
        QVERIFY(win().memoCommands().clipboardMonitor()->isCollecting());
        win().memoCommands().clipboardMonitor()->stopCollecting();
        QCOMPARE(win().windowTitle(), kCaption);
        // Exit ends collecting before the tool bars' places are saved.
        f->trigger("CollectionMode");
        QVERIFY(win().close());
        QVERIFY(toolBar()->isHidden());
        QVERIFY(!f->action("CollectionMode")->isChecked());
    }

    void singleMemoCollectsClipsSeparatedByEmptyLines()
    {
        // What is on the clipboard when collecting starts is not collected.
        setClipboard(QStringLiteral("was there before"));
        const int count = nodeCount();
        Node* documentNode = f->document().documentNode();
        QCOMPARE(selected(), documentNode);
        f->trigger("CollectionMode");
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&win(), &activate);
        QTest::qWait(50);
        QCOMPARE(nodeCount(), count);

        // The first clip makes a memo under the top-level node; the later ones go into it.
        setClipboard(QStringLiteral("abc"));
        QTRY_COMPARE(nodeCount(), count + 1);
        Node* memo = selected();
        QCOMPARE(memo->parent(), documentNode);
        setClipboard(QStringLiteral("def\n"));
        setClipboard(QStringLiteral("ghi\x1A"));
        const std::string expected = "abc\r\n\r\ndef\r\n\r\nghi\r\n\r\n";
        QTRY_COMPARE(body(memo), expected);
        QCOMPARE(nodeCount(), count + 1);
        QCOMPARE(selected(), memo);
        QCOMPARE(title(memo), QStringLiteral("Memo")); // a single memo keeps its title
        QCOMPARE(win().memoPane()->bytes(), expected);
        QCOMPARE(win().memoPane()->SelPos(), int(expected.size()));
    }

    void multiMemoMakesAMemoPerClipTitledByItsFirstLine()
    {
        openSampleAtA();
        Node* a = f->find("A");
        const int count = nodeCount();
        f->trigger("CollectionMode");
        f->trigger("tbStackMemoMode");
        setClipboard(QStringLiteral("one\nbody of one"));
        QTRY_COMPARE(nodeCount(), count + 1);
        setClipboard(QStringLiteral("two"));
        QTRY_COMPARE(nodeCount(), count + 2);
        setClipboard(QStringLiteral("\t three \n"));
        QTRY_COMPARE(nodeCount(), count + 3);

        // The same text announced again (a clipboard manager taking it over) is no new clip.
        setClipboard(QStringLiteral("\t three \n"));
        emit QGuiApplication::clipboard()->dataChanged();
        QTest::qWait(50);
        QCOMPARE(nodeCount(), count + 3);

        // In the order they came, after A, each titled by its first line.
        const std::pair<const char*, const char*> expected[]
            = { { "one", "one\r\nbody of one\r\n" }, { "two", "two\r\n" }, { "three", "\t three \r\n" } };
        Node* node = a;
        for (const auto& [memoTitle, text] : expected) {
            node = node->nextSibling();
            QCOMPARE(title(node), QString::fromUtf8(memoTitle));
            QCOMPARE(body(node), std::string(text));
        }
        QCOMPARE(selected(), node);
        QCOMPARE(win().memoPane()->textCursor().position(), 0);
    }

    void ownCopiesAndSubtreesAreNotCollectedButCutsAre()
    {
        openSampleAtA();
        Node* a = f->find("A");
        const std::string before = body(a);
        f->trigger("CollectionMode");
        TExtMemo* memo = win().memoPane();
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(0);
        cursor.setPosition(5, QTextCursor::KeepAnchor);
        memo->setTextCursor(cursor);

        f->trigger("Copy1");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("first"));
        QTest::qWait(50);
        win().memoBinding().store();
        QCOMPARE(body(a), before);

        // A branch copied to the clipboard carries its titles as text for other programs.
        const int count = nodeCount();
        f->trigger("TreeCopy");
        QTest::qWait(50);
        QCOMPARE(nodeCount(), count);

        // Cut text is collected, where it was cut from, once the cut is done.
        memo->setFocus();
        QTRY_VERIFY(memo->hasFocus());
        memo->setTextCursor(cursor);
        f->trigger("Cut1");
        QTRY_COMPARE(body(a), std::string("first\r\n\r\n line\r\n\x95\x5C second\r\n"));
        QCOMPARE(nodeCount(), count);
    }

    void aClipThatArrivedWhileAwayIsCollectedOnActivation()
    {
        // Where the platform tells only the focused program (Wayland), the window looks again
        // when it is activated, and takes the clip once.
        win().findChild<QuickMemoCommands*>()->monitor().setNotifiesOnlyWhileFocused(true);
        openSampleAtA();
        Node* a = f->find("A");
        f->trigger("CollectionMode");
        f->trigger("tbStackMemoMode");
        const int count = nodeCount();
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->blockSignals(true);
        setClipboard(QStringLiteral("copied elsewhere"));
        clipboard->blockSignals(false);
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&win(), &activate);
        QTRY_COMPARE(nodeCount(), count + 1);
        QCOMPARE(title(a->nextSibling()), QStringLiteral("copied elsewhere"));
        QApplication::sendEvent(&win(), &activate);
        // Each time the focus comes back the platform announces the same text again, long after
        // it was collected: still one clip.
        QTest::qWait(1100);
        emit clipboard->dataChanged();
        QTest::qWait(50);
        QCOMPARE(nodeCount(), count + 1);
        setClipboard(QStringLiteral("copied here"));
        QTRY_COMPARE(nodeCount(), count + 2);
    }

    void clipsFromAnotherProgram();
};

// Run as the peer: each line read sets the clipboard to it and answers "set"; the clipboard is
// served until the input ends.
static int runPeer()
{
    QTimer::singleShot(30000, qApp, &QCoreApplication::quit);
    QFile input;
    (void)input.open(stdin, QIODevice::ReadOnly);
    auto* notifier = new QSocketNotifier(0, QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [&input] {
        const QByteArray line = input.readLine();
        if (line.isEmpty()) {
            QCoreApplication::quit();
            return;
        }
        QGuiApplication::clipboard()->setText(QString::fromUtf8(line.trimmed()));
        std::puts("set");
        std::fflush(stdout);
    });
    return QApplication::exec();
}

void QuickMemoTest::clipsFromAnotherProgram()
{
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        QSKIP("needs a display server shared by two processes");
    f->trigger("CollectionMode");
    f->trigger("tbStackMemoMode");
    const int count = nodeCount();
    QProcess peer;
    peer.setProgram(QCoreApplication::applicationFilePath());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("NOTARIUM_CLIPBOARD_PEER"), QStringLiteral("1"));
    peer.setProcessEnvironment(env);
    peer.start();
    QVERIFY(peer.waitForStarted(10000));
    auto send = [&peer](const char* line) {
        peer.write(line);
        peer.write("\n");
        QVERIFY(peer.waitForReadyRead(10000));
        QCOMPARE(peer.readLine().trimmed(), QByteArray("set"));
    };

    send("from the peer");
    QTRY_COMPARE_WITH_TIMEOUT(nodeCount(), count + 1, 5000);
    QCOMPARE(title(selected()), QStringLiteral("from the peer"));
    // The same text taken over again at once (as a clipboard manager does) is the same clip.
    send("from the peer");
    QTest::qWait(300);
    QCOMPARE(nodeCount(), count + 1);
    send("second clip");
    QTRY_COMPARE_WITH_TIMEOUT(nodeCount(), count + 2, 5000);
    QCOMPARE(body(selected()), std::string("second clip\r\n"));

    peer.closeWriteChannel();
    QVERIFY(peer.waitForFinished(10000));
    QCOMPARE(peer.exitCode(), 0);
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("NOTARIUM_CLIPBOARD_PEER"))
        return runPeer();
    QuickMemoTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "QuickMemoTest.moc"
