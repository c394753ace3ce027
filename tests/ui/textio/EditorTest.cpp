// Editing a memo in the external text editor, with small shell scripts standing in for the
// editor: what comes back into the node, what the window does while it waits, and the messages.
#include "app/TreePane.h"
#include "core/document/Document.h"
#include "core/settings/Settings.h"
#include "editor/TExtMemo.h"
#include "memo/MemoCommands.h"
#include "platform/OpenFiles.h"
#include "support/WindowFixture.h"
#include "textio/EditorCommands.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

#include <csignal>
#include <unistd.h>

using namespace notarium;

namespace {

constexpr const char* kDeleted
    = "作業ファイルが削除されています。 勝手に作業ファイルを削除してはいけません（ーー；";
constexpr const char* kWaitForOk
    = "メモのテキストを外部エディタで編集中です。\r\n編集が終了したら［ＯＫ］ボタンを押してください。";

class CollectingMonitor : public ClipboardMonitorControl {
public:
    bool collecting = true;
    bool isCollecting() const override { return collecting; }
    void pause() override { }
    void resume() override { }
    void stopCollecting() override { collecting = false; }
};

} // namespace

class EditorTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;
    Node* m_node = nullptr;
    QList<qint64> m_started;

    TMainForm1& win() { return f->window(); }
    Document& doc() { return f->document(); }
    TExtMemo& memo() { return *win().memoPane(); }
    RecordingPromptService& prompt() { return f->prompt(); }
    QString tempFolder() const { return f->path(QStringLiteral("Temp")); }

    // The editor: a script whose body gets the work file as $f.
    QString editor(const QByteArray& body)
    {
        const QString path = f->path(QStringLiteral("editor.sh"));
        QFile script(path);
        if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return {};
        script.write("#!/bin/sh\nfor f; do :; done\n" + body + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        f->settings().set(key::TextEditor, path.toStdString());
        return path;
    }
    // Runs the command; the scripts get 0.1 s to open the file.
    void edit() { f->trigger("EditByEditor"); }
    QStringList workFiles() const { return QDir(tempFolder()).entryList(QDir::Files); }
    void verifyWindowBack()
    {
        QVERIFY(win().isEnabled());
        QVERIFY(!win().windowTitle().contains(QStringLiteral("[Ext]")));
        QVERIFY(win().windowTitle().endsWith(QStringLiteral(" - Notarium")));
        QVERIFY(workFiles().isEmpty());
        QVERIFY(!win().findChild<EditorCommands*>()->isEditing());
    }

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->services().launcher.setRunsPrograms(true);
        f->settings().set(key::WaitTime, 100);
        f->start();
        m_node = doc().createUserNode(doc().documentNode(), 0, KindMemo, "A");
        m_node->data()->MemoStr = "one\r\ntwo\r\nthree";
        win().treePane()->setSelectedNode(m_node);
        doc().setModified(false);
    }
    void cleanup()
    {
        // An editor that would run on (it wrote its process id) is ended.
        QFile pid(f->path(QStringLiteral("editor.pid")));
        if (pid.open(QIODevice::ReadOnly))
            ::kill(static_cast<pid_t>(pid.readAll().trimmed().toLongLong()), SIGTERM);
        f.reset();
    }

    void enabledForTheTextOfAWritableUserNode()
    {
        QVERIFY(f->isEnabled("EditByEditor"));
        win().treePane()->setSelectedNode(doc().documentNode());
        QVERIFY(!f->isEnabled("EditByEditor"));
        doc().setReadOnly(true);
        win().treePane()->setSelectedNode(m_node);
        QVERIFY(!f->isEnabled("EditByEditor"));
    }

    // The editor changes the text and ends; while it runs, the window waits disabled with [Ext]
    // in its caption; the caret's line goes into the option.
    void editedTextComesBackIntoTheNode()
    {
        CollectingMonitor monitor;
        win().memoCommands().setClipboardMonitor(&monitor);
        editor("sleep 0.3; printf 'one\\r\\nTWO\\r\\nthree\\r\\nfour' > \"$f\"");
        f->settings().set(key::TextOption, std::string("-n%LN% --x"));
        memo().setSelPos(12); // in "three"
        bool disabled = false;
        QString waitingCaption;
        QTimer::singleShot(200, &win(), [&] {
            disabled = !win().isEnabled();
            waitingCaption = win().windowTitle();
        });
        edit();
        win().memoCommands().setClipboardMonitor(nullptr);

        QVERIFY(!monitor.collecting);
        QVERIFY(disabled);
        QCOMPARE(waitingCaption, QStringLiteral("Untitled - [Ext] Notarium"));
        const auto& start = f->services().launcher.last();
        QCOMPARE(start.arguments.size(), 3);
        QCOMPARE(start.arguments.mid(0, 2), QStringList({ QStringLiteral("-n3"), QStringLiteral("--x") }));
        QCOMPARE(start.arguments.at(2), QDir(tempFolder()).filePath(QStringLiteral("Untitled_1.nmp")));
        QCOMPARE(memo().bytes(), std::string("one\r\nTWO\r\nthree\r\nfour"));
        QCOMPARE(m_node->data()->MemoStr, std::string("one\r\nTWO\r\nthree\r\nfour"));
        QVERIFY(doc().isModified());
        QCOMPARE(prompt().count(), 0);
        verifyWindowBack();
        // One edit of the memo pane: undo brings the old text back.
        QVERIFY(memo().CanUndo());
        memo().Undo();
        QCOMPARE(memo().bytes(), std::string("one\r\ntwo\r\nthree"));
    }

    // Closed without saving, or saved again unchanged (here as a new file with LF line ends):
    // the node stays as it was.
    void unchangedTextIsNoChange_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("closed") << QByteArray("exit 0");
        QTest::newRow("saved again") << QByteArray("tr -d '\\r' < \"$f\" > \"$f.new\"; mv \"$f.new\" \"$f\"");
    }
    void unchangedTextIsNoChange()
    {
        QFETCH(QByteArray, body);
        editor(body);
        edit();
        QCOMPARE(memo().bytes(), std::string("one\r\ntwo\r\nthree"));
        QVERIFY(!memo().CanUndo());
        QVERIFY(!doc().isModified());
        QCOMPARE(prompt().count(), 0);
        verifyWindowBack();
    }

    // The editor's process ends at once, but what it left behind holds the file open for a second
    // and then writes: the window waits for that.
    void waitsWhileAProcessHoldsTheFileOpen()
    {
        editor("(exec 3>>\"$f\"; sleep 1; printf '\\r\\nlate' >&3) &");
        QElapsedTimer timer;
        timer.start();
        edit();
        QVERIFY(timer.elapsed() >= 1000);
        QVERIFY2(timer.elapsed() < 1000 + 100 + EditorCommands::kRetryMs + 500,
            qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(memo().bytes(), std::string("one\r\ntwo\r\nthree\r\nlate"));
        verifyWindowBack();
    }

    void deletedWorkFileAndMissingEditorAreReported()
    {
        editor("rm \"$f\"");
        edit();
        QCOMPARE(prompt().count(), 1);
        QCOMPARE(prompt().last().text, QString::fromUtf8(kDeleted));
        QCOMPARE(prompt().last().caption, QStringLiteral("お知らせ"));
        QCOMPARE(m_node->data()->MemoStr, std::string("one\r\ntwo\r\nthree"));
        QVERIFY(!doc().isModified());
        verifyWindowBack();

        prompt().clear();
        const QString missing = f->path(QStringLiteral("no-such-editor"));
        f->settings().set(key::TextEditor, missing.toStdString());
        edit();
        QCOMPARE(prompt().count(), 1);
        QVERIFY(prompt().last().text.contains(missing));
        QCOMPARE(prompt().last().icon, MessageIcon::Warning);
        QCOMPARE(memo().bytes(), std::string("one\r\ntwo\r\nthree"));
        QVERIFY(!doc().isModified());
        verifyWindowBack();
    }

    // With TextBadEnv the OK box decides; the window stays as it is meanwhile.
    void okBoxWaitsForThePerson()
    {
        f->settings().set(key::TextBadEnv, true);
        editor("printf 'edited' > \"$f\"; touch \"$f.done\"");
        bool enabled = false;
        prompt().whileAsking = [&] {
            enabled = win().isEnabled() && !win().windowTitle().contains(QStringLiteral("[Ext]"));
            QTRY_VERIFY(!QDir(tempFolder()).entryList({ QStringLiteral("*.done") }).isEmpty());
        };
        edit();
        prompt().whileAsking = nullptr;
        QFile::remove(QDir(tempFolder()).filePath(QStringLiteral("Untitled_1.nmp.done")));
        QVERIFY(enabled);
        QCOMPARE(prompt().count(), 1);
        QCOMPARE(prompt().last().text, QString::fromUtf8(kWaitForOk));
        QCOMPARE(memo().bytes(), std::string("edited"));
        QVERIFY(doc().isModified());
        verifyWindowBack();
    }

    // An editor that never lets go: Shift+Esc gives the window back at once, also when Shift is
    // let go before Esc. Esc alone does nothing.
    void shiftEscapeGivesTheWindowBack()
    {
        editor("printf 'kept' > \"$f\"; echo $$ > '"
            + QFile::encodeName(f->path(QStringLiteral("editor.pid"))) + "'; exec sleep 5");
        bool stillWaiting = false;
        QTimer::singleShot(400, &win(), [&] {
            QTest::keyClick(&win(), Qt::Key_Escape);
            stillWaiting = !win().isEnabled();
            QTest::keyPress(&win(), Qt::Key_Escape, Qt::ShiftModifier);
            QTest::keyRelease(&win(), Qt::Key_Shift);
            QTest::keyRelease(&win(), Qt::Key_Escape);
        });
        QElapsedTimer timer;
        timer.start();
        edit();
        QVERIFY(stillWaiting);
        QVERIFY(timer.elapsed() < 2000);
        QCOMPARE(memo().bytes(), std::string("kept"));
        verifyWindowBack();
    }

    void openFilesAreFoundInTheProcessTable()
    {
        const QString path = f->path(QStringLiteral("held.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(processesHoldingOpen(path).contains(QCoreApplication::applicationPid()));
        // Through another name of the same folder.
        const QString link = f->path(QStringLiteral("link"));
        QVERIFY(QFile::link(f->path(QString()), link));
        QVERIFY(processesHoldingOpen(link + QStringLiteral("/held.txt"))
                    .contains(QCoreApplication::applicationPid()));
        file.close();
        QVERIFY(processesHoldingOpen(path).isEmpty());
        QVERIFY(processesHoldingOpen(f->path(QStringLiteral("missing.txt"))).isEmpty());
    }
};

QTEST_MAIN(EditorTest)
#include "EditorTest.moc"
