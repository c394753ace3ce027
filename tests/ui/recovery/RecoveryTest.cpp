// The recovery copy of an unsaved document and its offer at the next start.
#include "app/FileCommands.h"
#include "app/MainWindow.h"
#include "app/TreePane.h"
#include "core/datafile/DataFile.h"
#include "core/document/Document.h"
#include "core/io/RecoveryStore.h"
#include "editor/TExtMemo.h"
#include "recovery/RecoveryCommands.h"
#include "support/WindowFixture.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using namespace notarium;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::string local(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// The file size limit of this process, lowered for a while (a full disk as the writer meets it).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit lowered = m_old;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &m_old); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old {};
};

} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;
    QString folder;

    RecoveryCommands& recovery() { return f->window().recovery(); }
    FileCommands& files() { return f->window().fileCommands(); }
    Document& doc() { return f->document(); }
    QStringList recoveryFiles() const { return QDir(folder).entryList(QDir::Files, QDir::Name); }

    void startWindow()
    {
        f->useRecoveryFolder(folder);
        f->start(true);
    }
    void type(const QString& text)
    {
        TExtMemo* memo = f->window().memoPane();
        memo->setFocus();
        memo->SelectAll();
        memo->insertText(text);
    }
    // Makes the copy and waits until it is on disk; its outcome.
    bool copyNow()
    {
        QSignalSpy written(&recovery(), &RecoveryCommands::copyWritten);
        recovery().writeCopyNow();
        if (!written.wait(20000))
            return false;
        return written.first().first().toBool();
    }
    // The document of a data file.
    static std::unique_ptr<Document> read(const QString& path)
    {
        auto read = std::make_unique<Document>();
        if (!readDataFile(local(path), *read).ok())
            return nullptr;
        return read;
    }
    // A copy that a session which is gone left of documentPath: memo A holds body.
    void leaveCopy(const QString& documentPath, const std::string& body)
    {
        Document left;
        left.newDocument();
        left.appendNode(left.documentNode(), "A", KindMemo)->data()->MemoStr = body;
        RecoveryCopy copy = RecoveryCopy::claim(local(folder), local(documentPath), 999999);
        QVERIFY(copy.write(serializeDataFile(left, 1)));
        copy.release();
    }
    QString memoText() const { return f->window().memoPane()->toPlainText(); }

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        folder = f->path(QStringLiteral("state/recovery"));
    }
    void cleanup() { f.reset(); }

    void theCopyHoldsTheTypedTextAndTheFileIsLeftAlone()
    {
        startWindow();
        const QString plan = f->writeSampleFile();
        const QByteArray onDisk = readAll(plan);
        QVERIFY(files().openDocument(plan, false));
        f->select("A");
        type(QStringLiteral("typed, not saved\r\n"));
        QVERIFY(copyNow());

        QCOMPARE(recoveryFiles().size(), 2); // the copy and its record
        const auto copy = read(recovery().copyPath());
        QVERIFY(copy != nullptr);
        QCOMPARE(copy->nodeAt(1)->data()->MemoStr, std::string("typed, not saved\r\n"));
        QCOMPARE(readAll(plan), onDisk);
        QVERIFY(doc().isModified());

        f->trigger("tbSave");
        QVERIFY(!doc().isModified());
        QVERIFY(recoveryFiles().isEmpty());
        QVERIFY(recovery().copyPath().isEmpty());
    }

    void closingWithoutSavingTakesTheCopyAway()
    {
        startWindow();
        // The untitled document gets a memo, typed into.
        doc().createUserNode(doc().documentNode(), 0, KindMemo, "m");
        f->select("m");
        type(QStringLiteral("scratch"));
        QVERIFY(copyNow());
        QVERIFY(recovery().copyPath().contains(QStringLiteral("untitled-")));
        f->prompt().scriptAnswer(PromptAnswer::No);
        f->trigger("tbClose");
        QVERIFY(recoveryFiles().isEmpty());

        // The same at the window's close: the person's answer decides, the copy goes either way.
        doc().createUserNode(doc().documentNode(), 0, KindMemo, "m");
        f->select("m");
        type(QStringLiteral("more"));
        QVERIFY(copyNow());
        f->prompt().scriptAnswer(PromptAnswer::No);
        f->window().close();
        QVERIFY(recoveryFiles().isEmpty());
    }

    void twoWindowsNeverShareACopy()
    {
        startWindow();
        doc().createUserNode(doc().documentNode(), 0, KindMemo, "m");
        QVERIFY(copyNow());
        TMainForm1 second(f->context());
        second.show();
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        second.document().createUserNode(second.document().documentNode(), 0, KindMemo, "x");
        QSignalSpy written(&second.recovery(), &RecoveryCommands::copyWritten);
        second.recovery().writeCopyNow();
        QVERIFY(written.wait(20000));
        QVERIFY(second.recovery().copyPath() != recovery().copyPath());
        QCOMPARE(recoveryFiles().size(), 4);
    }

    void aCopyLeftByAGoneSessionIsOfferedAndTaken()
    {
        const QString plan = f->writeSampleFile();
        const QByteArray onDisk = readAll(plan);
        leaveCopy(plan, "recovered line\r\n");
        startWindow();
        f->prompt().scriptAnswer(PromptAnswer::Yes);
        f->window().startWith({ plan });

        QCOMPARE(f->prompt().count(), 1);
        const auto& asked = f->prompt().last();
        QCOMPARE(asked.caption, QStringLiteral("復元の確認"));
        QVERIFY(asked.text.startsWith(QStringLiteral("前回の終了時に保存されていない変更があります。復元しますか？")));
        QVERIFY(asked.text.contains(plan));
        QCOMPARE(asked.buttons, PromptButtons::YesNoCancel);

        // The copy's text, under the file's own name, still to be saved; the file is untouched.
        QVERIFY(doc().isModified());
        QCOMPARE(files().currentPath(), plan);
        QVERIFY(files().caption().startsWith(plan));
        QCOMPARE(f->window().treePane()->selectedNode(), doc().nodeAt(1));
        QCOMPARE(memoText(), QStringLiteral("recovered line\n"));
        QCOMPARE(readAll(plan), onDisk);
        QVERIFY(files().lock().isLocked());
        // The window goes on with that copy, and a save ends it.
        QCOMPARE(recoveryFiles().size(), 2);
        QVERIFY(!recovery().copyPath().isEmpty());
        f->trigger("tbSave");
        QVERIFY(recoveryFiles().isEmpty());
        QCOMPARE(read(plan)->nodeAt(1)->data()->MemoStr, std::string("recovered line\r\n"));
    }

    void cancelKeepsTheCopyAndNoThrowsItAway()
    {
        const QString plan = f->writeSampleFile();
        leaveCopy(plan, "kept\r\n");
        startWindow();
        f->prompt().scriptAnswer(PromptAnswer::Cancel);
        f->window().startWith({ plan });
        // The file opens as it is; the copy waits for a later start.
        QVERIFY(!doc().isModified());
        QCOMPARE(doc().nodeAt(1)->data()->MemoStr, std::string("first line\r\n\x95\x5C second\r\n"));
        QCOMPARE(recoveryFiles().size(), 2);
        f->stop();

        f->prompt().clear();
        startWindow();
        f->prompt().scriptAnswer(PromptAnswer::No);
        f->window().startWith({ plan });
        QCOMPARE(f->prompt().count(), 1);
        QVERIFY(!doc().isModified());
        QVERIFY(recoveryFiles().isEmpty());
    }

    void onlyTheNamedFilesCopyIsOfferedWithAFile()
    {
        const QString plan = f->writeSampleFile();
        leaveCopy(QString(), "untitled work\r\n");
        startWindow();
        f->window().startWith({ plan });
        QCOMPARE(f->prompt().count(), 0);
        QCOMPARE(files().currentPath(), plan);
        f->stop();

        // Started without a file, the window offers it.
        startWindow();
        f->prompt().scriptAnswer(PromptAnswer::Yes);
        f->window().startWith({});
        QCOMPARE(f->prompt().count(), 1);
        QVERIFY(f->prompt().last().text.contains(QStringLiteral("Untitled")));
        QVERIFY(files().isUntitled());
        QVERIFY(doc().isModified());
        QCOMPARE(memoText(), QStringLiteral("untitled work\n"));
    }

    void aChangeDuringTheSlicesStartsTheCopyAgain()
    {
        startWindow();
        // Enough pages that the copy takes several slices.
        for (int i = 0; i < 3000; ++i)
            doc().createUserNode(doc().documentNode(), i, KindMemo, "page")->data()->MemoStr = std::string(4000, 'x');
        Node* first = doc().nodeAt(1);
        QSignalSpy written(&recovery(), &RecoveryCommands::copyWritten);
        recovery().writeCopyNow();
        QVERIFY(recovery().isCopying());
        QVERIFY(written.isEmpty());
        doc().setTitle(first, "renamed while copying");
        QVERIFY(written.wait(20000));
        QVERIFY(written.first().first().toBool());
        const auto copy = read(recovery().copyPath());
        QVERIFY(copy != nullptr);
        QCOMPARE(copy->nodeCount(), doc().nodeCount());
        QCOMPARE(copy->nodeAt(1)->title(), std::string("renamed while copying"));
        QVERIFY(recovery().longestSliceMs() < 200);
    }

    void aFullDiskIsToldOnce()
    {
        startWindow();
        Node* n = doc().createUserNode(doc().documentNode(), 0, KindMemo, "big");
        n->data()->MemoStr = std::string(64 * 1024, 'y');
        {
            const FileSizeLimit limit(16 * 1024);
            QVERIFY(!copyNow());
            QVERIFY(!copyNow());
        }
        QCOMPARE(f->prompt().count(), 1);
        QCOMPARE(f->prompt().last().caption, QStringLiteral("ファイル I/O エラー"));
        QVERIFY(f->prompt().last().text.startsWith(QStringLiteral("復元用のコピーを保存できませんでした。")));
        QVERIFY(doc().isModified());
        // No half copy was left; with room again the copy is made, and a later failure is told again.
        QCOMPARE(recoveryFiles().size(), 1); // the record only
        QVERIFY(copyNow());
        QVERIFY(read(recovery().copyPath()) != nullptr);
        {
            const FileSizeLimit limit(16 * 1024);
            QVERIFY(!copyNow());
        }
        QCOMPARE(f->prompt().count(), 2);
    }
};

QTEST_MAIN(RecoveryTest)
#include "RecoveryTest.moc"
