// The document life cycle: what is asked, what is opened, what is locked.
#include "app/FileCommands.h"
#include "app/StatusPanels.h"
#include "app/TreePane.h"
#include "app/ViewCommands.h"
#include "editor/TExtMemo.h"
#include "support/WindowFixture.h"
#include "core/datafile/DataFile.h"
#include "core/datafile/Messages.h"
#include "core/document/Document.h"
#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"
#include "core/text/Cp932Codec.h"

#include <QFile>
#include <QProcess>
#include <QMimeData>
#include <QProgressBar>
#include <QUrl>
#include <cstdio>
#include <QTemporaryDir>
#include <QDateTime>
#include <QtTest>

#include <deque>

using namespace notarium;

namespace {

constexpr const char* kPeerVariable = "NOTARIUM_LOCK_PEER";

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Another running Notarium (this test program started again) with path open for editing, until
// the object goes.
class OtherWindow {
public:
    explicit OtherWindow(const QString& path)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kPeerVariable), path);
        m_process.setProcessEnvironment(env);
        m_process.setProgram(QCoreApplication::applicationFilePath());
        m_process.start();
        if (m_process.waitForStarted(10000) && m_process.waitForReadyRead(20000))
            m_holding = m_process.readLine().trimmed() == "holding";
    }
    ~OtherWindow()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
    }
    OtherWindow(const OtherWindow&) = delete;
    OtherWindow& operator=(const OtherWindow&) = delete;
    bool isHolding() const { return m_holding; }

private:
    QProcess m_process;
    bool m_holding = false;
};

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    FileCommands& files() { return f->window().fileCommands(); }
    Document& doc() { return f->document(); }
    RecordingPromptService& prompts() { return f->prompt(); }
    ScriptedFileDialogService& dialogs() { return f->services().files; }
    RecordingProcessLauncher& launcher() { return f->services().launcher; }
    QString path(const QString& name) const { return f->path(name); }

    // A document with one memo "m" under the document node, written to name.
    QString makeFile(const QString& name, const std::string& body = "text\r\n")
    {
        Document written;
        written.newDocument();
        written.appendNode(written.documentNode(), "m", KindMemo)->data()->MemoStr = body;
        const QString file = path(name);
        const bool ok = writeDataFile(QFile::encodeName(file).toStdString(), written, 1).ok;
        Q_ASSERT(ok);
        (void)ok;
        return file;
    }

    QString lastText() { return prompts().count() == 0 ? QString() : prompts().last().text; }
    QStringList dialogTitles()
    {
        QStringList titles;
        for (const auto& request : dialogs().requests())
            titles << request.title;
        return titles;
    }
    QList<bool> readOnlyBoxesShown()
    {
        QList<bool> shown;
        for (const auto& request : dialogs().requests())
            shown << request.readOnlyBoxShown;
        return shown;
    }
    QStringList started(int index) const
    {
        const auto& start = f->services().launcher.starts().at(index);
        return QStringList { start.program } + start.arguments;
    }
    // Replaces the selected memo's text the way typing over all of it would.
    void type(const std::string& text)
    {
        TExtMemo* memo = f->window().memoPane();
        memo->setFocus();
        memo->SelectAll();
        memo->insertText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    }

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->start(true);
        files().setProgramPath(QStringLiteral("/usr/bin/notarium"));
    }

    void cleanup() { f.reset(); }

    void newDocumentIsUntitled()
    {
        QCOMPARE(files().caption(), QStringLiteral("Untitled - Notarium"));
        QCOMPARE(doc().nodeCount(), std::size_t(2));
        QCOMPARE(f->window().treePane()->selectedNode(), doc().documentNode());
        QVERIFY(files().recentFiles().paths().isEmpty());
    }

    void openingShowsTheFileAndLocksIt()
    {
        const QString file = makeFile(QStringLiteral("plan.nmd"));
        dialogs().scriptOpen(file);
        files().open(false);
        QCOMPARE(files().currentPath(), file);
        QCOMPARE(files().caption(), file + QStringLiteral(" - Notarium"));
        QCOMPARE(QString::fromStdString(doc().documentNode()->title()), QStringLiteral("plan"));
        QVERIFY(files().lock().isLocked());
        QVERIFY(!FileLock::canOpenForWriting(file));
        QVERIFY(prompts().prompts().isEmpty());
        // The open file is not offered for reopening.
        QVERIFY(files().recentFiles().menuEntries().isEmpty());
        QCOMPARE(dialogTitles(), QStringList { QStringLiteral("Notarium文書を開く") });
    }

    // A large file is read on another thread: meanwhile the window's loop goes on over the empty
    // document that stands in for the old one, and afterwards the file shows as a small one would.
    void largeFileIsReadWhileTheWindowGoesOn()
    {
        Document written;
        written.newDocument();
        Node* category = written.appendNode(written.documentNode(), "category", KindCategory);
        category->data()->TrOpen = true;
        written.appendNode(category, "big", KindMemo)->data()->MemoStr = std::string(6 << 20, 'x') + "\r\nend";
        written.appendNode(written.documentNode(), "after", KindMemo);
        const QString file = path(QStringLiteral("large.nmd"));
        // Current node: "big", the third node in order.
        QVERIFY(writeDataFile(QFile::encodeName(file).toStdString(), written, 2).ok);
        QVERIFY(QFileInfo(file).size() >= FileCommands::kReadOffThreadFrom);
        makeFile(QStringLiteral("old.nmd"));
        QVERIFY(files().openDocument(path(QStringLiteral("old.nmd")), false));

        // A file dropped from a file manager meanwhile is refused.
        QMimeData dropped;
        dropped.setUrls({ QUrl::fromLocalFile(path(QStringLiteral("old.nmd"))) });
        bool dropAccepted = false;
        int ticks = 0;
        std::size_t nodesSeen = 0;
        bool treePainted = false;
        QTimer during;
        connect(&during, &QTimer::timeout, this, [&] {
            if (ticks++ == 0) {
                QWidget* target = f->window().memoPane()->viewport();
                QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(target, &enter);
                QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(target, &drop);
                dropAccepted = enter.isAccepted() || drop.isAccepted();
            }
            nodesSeen = doc().nodeCount();
            treePainted = treePainted || f->window().treePane()->updatesEnabled();
        });
        during.start(0);
        // A drop that was already on its way finds the window busy reading.
        QMetaObject::invokeMethod(
            this, [&] { files().dropFile(path(QStringLiteral("old.nmd"))); }, Qt::QueuedConnection);
        dialogs().scriptOpen(file);
        f->trigger("tbOpen");
        during.stop();
        QVERIFY(ticks > 0);
        QCOMPARE(nodesSeen, std::size_t(2));
        QVERIFY(!treePainted);
        QVERIFY(f->window().treePane()->updatesEnabled());
        QVERIFY(!dropAccepted);
        QCoreApplication::processEvents();

        QCOMPARE(files().currentPath(), file);
        QCOMPARE(doc().nodeCount(), std::size_t(5));
        QVERIFY(!doc().isModified());
        Node* big = f->window().treePane()->selectedNode();
        QVERIFY(big != nullptr);
        QCOMPARE(QString::fromStdString(big->title()), QStringLiteral("big"));
        QVERIFY(doc().documentNode()->child(0)->isExpanded());
        QVERIFY(f->window().treePane()->isExpanded(f->window().treePane()->currentIndex().parent()));
        const QString memo = f->window().memoPane()->toPlainText();
        QVERIFY(memo.size() > (6 << 20));
        QVERIFY(memo.right(10).contains(QStringLiteral("x\nend")));
        QVERIFY(!f->window().status().progressBar()->isVisible());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(prompts().prompts().isEmpty());
    }

    void largeFileThatCannotBeReadLeavesAnEmptyDocument()
    {
        const QString file = path(QStringLiteral("noise.nmd"));
        QFile noise(file);
        QVERIFY(noise.open(QIODevice::WriteOnly));
        noise.write(QByteArray(FileCommands::kReadOffThreadFrom + 10, '\x1f'));
        noise.close();
        QVERIFY(!files().openDocument(file, false));
        QCOMPARE(lastText(), QString::fromStdString(std::string(messages::NotDataFile.text)));
        QVERIFY(files().isUntitled());
        QCOMPARE(doc().nodeCount(), std::size_t(2));
        QCOMPARE(f->window().treePane()->selectedNode(), doc().documentNode());
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void fileInUseIsOfferedReadOnly_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes opens it read-only") << true;
        QTest::newRow("No keeps the current document") << false;
    }

    void fileInUseIsOfferedReadOnly()
    {
        QFETCH(bool, yes);
        const QString file = makeFile(QStringLiteral("shared.nmd"));
        FileLock otherWindow;
        QCOMPARE(otherWindow.lock(file), FileLock::Result::Locked);
        dialogs().scriptOpen(file);
        prompts().scriptAnswer(yes ? PromptAnswer::Yes : PromptAnswer::No);
        files().open(false);
        QCOMPARE(prompts().count(), 1);
        QCOMPARE(prompts().prompts()[0].caption, QStringLiteral("ファイルは使用中です..."));
        QCOMPARE(prompts().prompts()[0].text,
            QStringLiteral("ファイル ") + file
                + QStringLiteral(" は\r\n別の Notarium または他のユーザーによって編集されています。\r\n"
                                 "このファイルを読み取り専用で開きますか？"));
        QCOMPARE(prompts().prompts()[0].icon, MessageIcon::Warning);
        QCOMPARE(prompts().prompts()[0].buttons, PromptButtons::YesNo);
        if (yes) {
            QVERIFY(doc().isReadOnly());
            QVERIFY(files().caption().endsWith(QStringLiteral(" [ReadOnly] - Notarium")));
            QVERIFY(!files().lock().isLocked());
        } else {
            QVERIFY(files().isUntitled());
            QCOMPARE(doc().nodeCount(), std::size_t(2));
        }
    }

    void readOnlyFileIsOpenedReadOnlyWithANotice()
    {
        const QString file = makeFile(QStringLiteral("ro.nmd"));
        QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        dialogs().scriptOpen(file);
        files().open(false);
        QVERIFY(doc().isReadOnly());
        QCOMPARE(lastText(), QStringLiteral("選択されたファイルは読み取り専用です。"));
        QCOMPARE(prompts().last().caption, QStringLiteral("お知らせ"));
        // With fewer confirmations the notice is not shown.
        prompts().clear();
        f->settings().set(key::NoConfirm, true);
        files().reopen(file, false);
        QVERIFY(doc().isReadOnly());
        QVERIFY(prompts().prompts().isEmpty());
    }

    void modifiedDocumentIsSavedOrNot_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Yes") << int(PromptAnswer::Yes) << true << true;
        QTest::newRow("No") << int(PromptAnswer::No) << true << false;
        QTest::newRow("Cancel") << int(PromptAnswer::Cancel) << false << false;
    }

    void modifiedDocumentIsSavedOrNot()
    {
        QFETCH(int, answer);
        QFETCH(bool, closed);
        QFETCH(bool, saved);
        const QString file = makeFile(QStringLiteral("edit.nmd"), "old\r\n");
        files().reopen(file, false);
        type("new\r\n");
        prompts().scriptAnswer(PromptAnswer(answer));
        QCOMPARE(files().closeDocument(), closed);
        QCOMPARE(prompts().last().caption, QStringLiteral("ファイル保存の確認"));
        QCOMPARE(prompts().last().text,
            QStringLiteral("ファイル ") + file
                + QStringLiteral(" の内容が変更されています。\r\n変更を保存しますか？"));
        QCOMPARE(prompts().last().buttons, PromptButtons::YesNoCancel);
        QCOMPARE(files().isUntitled(), closed);
        Document back;
        QVERIFY(readDataFile(QFile::encodeName(file).toStdString(), back).ok());
        QCOMPARE(back.nodeAt(1)->data()->MemoStr, saved ? std::string("new\r\n") : std::string("old\r\n"));
        if (!closed)
            QVERIFY(doc().isModified());
    }

    void aSaveRemovesTheOldLeftoversOfKilledSaves()
    {
        const QString file = makeFile(QStringLiteral("plan.nmd"));
        QVERIFY(files().openDocument(file, false));
        const auto leftover = [&](const QString& name, int hoursOld) {
            QFile out(path(name));
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write("partial");
            out.flush();
            QVERIFY(out.setFileTime(QDateTime::currentDateTime().addSecs(-hoursOld * 3600), QFileDevice::FileModificationTime));
        };
        leftover(QStringLiteral("plan.nmd.Ab3xYz"), 30);
        leftover(QStringLiteral("plan.nmd.Q1w2E3"), 49);
        leftover(QStringLiteral("plan.nmd.Rr5tT6"), 2); // young: a save of another program may be writing it
        doc().setModified(true);
        QVERIFY(files().save());
        QVERIFY(!QFile::exists(path(QStringLiteral("plan.nmd.Ab3xYz"))));
        QVERIFY(!QFile::exists(path(QStringLiteral("plan.nmd.Q1w2E3"))));
        QVERIFY(QFile::exists(path(QStringLiteral("plan.nmd.Rr5tT6"))));
        QCOMPARE(f->window().status().text(StatusPanels::Message),
            QStringLiteral("以前の保存で残った一時ファイルを 2 個削除しました。"));
        // The next save finds none and says nothing of them.
        f->window().status().setMessage(QString());
        doc().setModified(true);
        QVERIFY(files().save());
        QCOMPARE(f->window().status().text(StatusPanels::Message), QString());
    }

    void saveOnUntitledAsksForANameAndCancelChangesNothing()
    {
        doc().appendNode(doc().documentNode(), "m", KindMemo);
        doc().setModified(true);
        files().save();
        QCOMPARE(dialogTitles(), QStringList { QStringLiteral("Notarium文書に名前を付けて保存") });
        QVERIFY(files().isUntitled());
        QVERIFY(doc().isModified());
        const QString file = path(QStringLiteral("named.nmd"));
        dialogs().scriptSave(file);
        QVERIFY(files().save());
        QCOMPARE(files().currentPath(), file);
        QVERIFY(!doc().isModified());
        QVERIFY(files().lock().isLocked());
        QVERIFY(QFile::exists(file));
    }

    void failedSaveKeepsTheChangesAndSaysWhy()
    {
        const QString file = makeFile(QStringLiteral("keep.nmd"));
        files().reopen(file, false);
        type("changed\r\n");
        dialogs().scriptSave(path(QStringLiteral("no/such/folder/x.nmd")));
        QVERIFY(!files().saveAs());
        QVERIFY(doc().isModified());
        QCOMPARE(files().currentPath(), file);
        QCOMPARE(prompts().last().caption, QStringLiteral("ファイル I/O エラー"));
        QVERIFY(prompts().last().text.startsWith(QStringLiteral("ファイルを保存できませんでした。")));
        QVERIFY(prompts().last().text.contains(QStringLiteral("No such file or directory")));
        QVERIFY(files().lock().isLocked());
    }

    void reopenMenuFollowsTheOpenFile()
    {
        const QString a = makeFile(QStringLiteral("a.nmd"));
        const QString b = makeFile(QStringLiteral("b.nmd"));
        files().reopen(a, false);
        QVERIFY(files().recentFiles().menuEntries().isEmpty());
        files().reopen(b, false);
        QCOMPARE(files().recentFiles().menuEntries(), QStringList { a });
        // A file that disappeared is reported and leaves the menu.
        QFile::remove(a);
        files().reopen(a, false);
        QCOMPARE(prompts().last().text, FileCommands::fileMissingText(a));
        QCOMPARE(prompts().last().caption, QStringLiteral("ファイルエラー"));
        QVERIFY(!files().recentFiles().paths().contains(a));
        QCOMPARE(files().currentPath(), b);
    }

    void badFileGivesItsMessageAndAnUntitledDocument()
    {
        const QString file = path(QStringLiteral("bad.nmd"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("not a data file\r\n");
        out.close();
        files().reopen(file, false);
        QCOMPARE(lastText(), QStringLiteral("Notarium のデータファイルではありません。"));
        QVERIFY(files().isUntitled());
        QVERIFY(!files().lock().isLocked());
        QVERIFY(!files().recentFiles().paths().contains(file));
    }

    void shiftNewStartsAnotherWindow()
    {
        doc().setModified(true);
        files().newDocument(true);
        QCOMPARE(launcher().count(), 1);
        QCOMPARE(started(0),
            (QStringList { QStringLiteral("/usr/bin/notarium"), QStringLiteral("-N") }));
        QVERIFY(prompts().prompts().isEmpty());
        QVERIFY(doc().isModified());
    }

    void readOnlyBoxOfTheOpenDialog()
    {
        // Ticked in the open dialog: the file opens read-only without the in-use question, and
        // the box is offered unticked again next time.
        const QString file = makeFile(QStringLiteral("ticked.nmd"));
        dialogs().scriptOpen(file, true);
        files().open(false);
        QVERIFY(doc().isReadOnly());
        QVERIFY(!files().lock().isLocked());
        QVERIFY(prompts().prompts().isEmpty());
        QCOMPARE(files().caption(), file + QStringLiteral(" [ReadOnly] - Notarium"));
        QCOMPARE(readOnlyBoxesShown(), QList<bool> { true });

        // Open in another window passes the choice on as -R.
        dialogs().scriptOpen(file, true);
        dialogs().scriptOpen(file, false);
        files().openInOtherWindow();
        files().openInOtherWindow();
        QCOMPARE(launcher().count(), 2);
        QCOMPARE(started(0),
            (QStringList { QStringLiteral("/usr/bin/notarium"), QStringLiteral("-R"), QStringLiteral("-N"), file }));
        QCOMPARE(started(1),
            (QStringList { QStringLiteral("/usr/bin/notarium"), QStringLiteral("-N"), file }));
        QCOMPARE(readOnlyBoxesShown(), (QList<bool> { true, true, true }));
    }

    void droppingTheOwnFileAsksTheInUseQuestion()
    {
        const QString file = makeFile(QStringLiteral("own.nmd"));
        files().reopen(file, false);
        prompts().scriptAnswer(PromptAnswer::No);
        files().dropFile(file);
        QCOMPARE(prompts().last().caption, QStringLiteral("ファイルは使用中です..."));
        QCOMPARE(files().currentPath(), file);
        QVERIFY(!doc().isReadOnly());
    }

    void openCancelledKeepsTheLock()
    {
        const QString file = makeFile(QStringLiteral("held.nmd"));
        files().reopen(file, false);
        files().open(false);
        QVERIFY(files().lock().isLocked());
        QVERIFY(!FileLock::canOpenForWriting(file));
    }

    // ---- Two windows on one file: the second window is another running program ------------

    void saveAsOverAFileAnotherWindowHoldsIsRefused()
    {
        const QString mine = makeFile(QStringLiteral("mine.nmd"), "mine\r\n");
        const QString theirs = makeFile(QStringLiteral("theirs.nmd"), "theirs\r\n");
        const QByteArray before = readAll(theirs);
        OtherWindow other(theirs);
        QVERIFY(other.isHolding());
        files().reopen(mine, false);
        type("changed\r\n");
        dialogs().scriptSave(theirs);
        QVERIFY(!files().saveAs());
        QCOMPARE(prompts().last().text, QString::fromUtf8(messages::CannotSaveFile.text.data()));
        QCOMPARE(prompts().last().caption, QStringLiteral("ファイル I/O エラー"));
        QCOMPARE(readAll(theirs), before);
        QCOMPARE(files().currentPath(), mine);
        QVERIFY(files().lock().isLocked());
        QVERIFY(doc().isModified());
        QCOMPARE(QString::fromStdString(doc().documentNode()->title()), QStringLiteral("mine"));
    }

    void holdLostWhileTheOpenDialogWasShownMakesTheDocumentReadOnly()
    {
        const QString file = makeFile(QStringLiteral("taken.nmd"));
        files().reopen(file, false);
        // While the dialog is open this window does not hold the file, and another one takes it.
        std::unique_ptr<OtherWindow> other;
        dialogs().whileShown = [&] { other = std::make_unique<OtherWindow>(file); };
        files().open(false);
        QVERIFY(other && other->isHolding());
        QCOMPARE(prompts().count(), 1);
        QCOMPARE(prompts().last().text, FileCommands::lockLostText(file, false));
        QCOMPARE(prompts().last().caption, QStringLiteral("ファイルは使用中です..."));
        QVERIFY(doc().isReadOnly());
        QVERIFY(files().caption().endsWith(QStringLiteral(" [ReadOnly] - Notarium")));
        QVERIFY(!f->isEnabled("Save1"));
    }

    void holdLostWithChangesKeepsThemToBeSavedElsewhere()
    {
        const QString file = makeFile(QStringLiteral("busy.nmd"), "old\r\n");
        files().reopen(file, false);
        type("kept\r\n");
        std::unique_ptr<OtherWindow> other;
        dialogs().whileShown = [&] { other = std::make_unique<OtherWindow>(file); };
        prompts().scriptAnswer(PromptAnswer::No); // do not save before opening another file
        files().open(false);
        QCOMPARE(prompts().count(), 2);
        QCOMPARE(prompts().last().text, FileCommands::lockLostText(file, true));
        QVERIFY(!doc().isReadOnly());
        QVERIFY(doc().isModified());
        dialogs().whileShown = nullptr;
        // Saving over the file the other window edits is refused; another name takes the changes.
        QVERIFY(!files().save());
        QCOMPARE(prompts().last().caption, QStringLiteral("ファイル I/O エラー"));
        QCOMPARE(readAll(file), readAll(makeFile(QStringLiteral("reference.nmd"), "old\r\n")));
        const QString elsewhere = path(QStringLiteral("elsewhere.nmd"));
        dialogs().scriptSave(elsewhere);
        QVERIFY(files().saveAs());
        Document back;
        QVERIFY(readDataFile(QFile::encodeName(elsewhere).toStdString(), back).ok());
        QCOMPARE(back.nodeAt(1)->data()->MemoStr, std::string("kept\r\n"));
        QVERIFY(files().lock().isLocked());
        QCOMPARE(files().lock().path(), elsewhere);
    }

    void saveAsWritesTheNewNameIntoTheDocumentPage()
    {
        const QString file = makeFile(QStringLiteral("first.nmd"));
        files().reopen(file, false);
        const QString renamed = path(QStringLiteral("second name.nmd"));
        dialogs().scriptSave(renamed);
        QVERIFY(files().saveAs());
        Document back;
        QVERIFY(readDataFile(QFile::encodeName(renamed).toStdString(), back).ok());
        QCOMPARE(QString::fromStdString(back.documentNode()->title()), QStringLiteral("second name"));
    }

    void openingUndoesAMaximisedPane_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("tree") << QStringLiteral("TreeMaximize1");
        QTest::newRow("memo") << QStringLiteral("MemoMaximize1");
    }

    void openingUndoesAMaximisedPane()
    {
        QFETCH(QString, command);
        const QString file = makeFile(QStringLiteral("max.nmd"));
        f->trigger(command.toLatin1().constData());
        QVERIFY(!f->window().viewCommands().treeShown() || !f->window().viewCommands().memoSideShown());
        files().dropFile(file);
        QVERIFY(f->window().viewCommands().treeShown());
        QVERIFY(f->window().viewCommands().memoSideShown());
        QVERIFY(!f->action(command.toLatin1().constData())->isChecked());
        QCOMPARE(files().currentPath(), file);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // As the other window: open the file for editing, say so, and hold it until told to go.
    if (qEnvironmentVariableIsSet(kPeerVariable)) {
        WindowFixture peer;
        peer.start();
        peer.window().fileCommands().openDocument(qEnvironmentVariable(kPeerVariable), false);
        std::printf(peer.window().fileCommands().lock().isLocked() ? "holding\n" : "failed\n");
        std::fflush(stdout);
        char line[16];
        while (std::fgets(line, sizeof line, stdin) != nullptr) {
        }
        return 0;
    }
    FileCommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FileCommandsTest.moc"
