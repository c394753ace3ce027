// A save the file system refuses part way (here a file size limit, as ulimit -f sets it): the old
// file stays as it was, the document keeps its changes and stays marked changed, and the message
// gives the reason in the program's words.
#include "app/FileCommands.h"
#include "app/StatusPanels.h"
#include "core/datafile/DataFile.h"
#include "core/document/Document.h"
#include "editor/TExtMemo.h"
#include "support/WindowFixture.h"

#include <QDir>
#include <QFile>
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

// Lowers the soft file size limit of this process while it lives. The signal the kernel sends
// past the limit is ignored, as the program's main does, so the write fails with EFBIG instead.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        m_set = ::getrlimit(RLIMIT_FSIZE, &m_previous) == 0;
        rlimit lowered = m_previous;
        lowered.rlim_cur = bytes;
        m_set = m_set && ::setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit()
    {
        if (m_set)
            ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool isSet() const { return m_set; }

private:
    rlimit m_previous { };
    void (*m_previousHandler)(int) = SIG_DFL;
    bool m_set = false;
};

} // namespace

class SaveErrorTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    TMainForm1& win() { return f->window(); }
    TExtMemo& memo() { return *win().memoPane(); }

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->start();
    }
    void cleanup() { f.reset(); }

    void aSaveOverTheFileSizeLimitKeepsTheOldFileAndTheChanges()
    {
        const QString path = f->writeSampleFile();
        QVERIFY(win().fileCommands().openDocument(path, false));
        const QByteArray before = readAll(path);
        QVERIFY(!before.isEmpty());
        const QString caption = win().windowTitle();

        // Typed into A's memo: a document far larger than the limit, the old file well within it.
        constexpr rlim_t kLimit = 64 * 1024;
        QVERIFY(static_cast<rlim_t>(before.size()) < kLimit);
        f->select("A");
        memo().setFocus();
        memo().setSelPos(0);
        QString typed;
        for (int line = 0; line < 4000; ++line)
            typed += QStringLiteral("line %1 of the long memo\r\n").arg(line);
        memo().insertText(typed);
        QVERIFY(f->document().isModified());
        QCOMPARE(win().status().text(StatusPanels::Modified), QStringLiteral("変更"));

        {
            FileSizeLimit limit(kLimit);
            QVERIFY(limit.isSet());
            f->trigger("Save1");
        }

        QCOMPARE(f->prompt().count(), 1);
        const RecordingPromptService::Prompt& shown = f->prompt().last();
        QCOMPARE(shown.caption, QStringLiteral("ファイル I/O エラー"));
        QCOMPARE(shown.icon, MessageIcon::Error);
        QVERIFY2(shown.text.startsWith(QStringLiteral("ファイルを保存できませんでした。")), qPrintable(shown.text));
        QVERIFY2(shown.text.contains(QStringLiteral("(ファイルが大きすぎて書き込めません。 (")), qPrintable(shown.text));
        // The old file is as it was, and nothing else is left beside it.
        QCOMPARE(readAll(path), before);
        QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden),
            QStringList { QFileInfo(path).fileName() });
        // The changes are still the window's, and it still says so.
        QVERIFY(f->document().isModified());
        QCOMPARE(win().status().text(StatusPanels::Modified), QStringLiteral("変更"));
        QCOMPARE(win().windowTitle(), caption);
        QVERIFY(memo().bytes().starts_with("line 0 of the long memo\r\n"));

        // Without the limit the same save goes through and holds every typed line.
        f->trigger("Save1");
        QCOMPARE(f->prompt().count(), 1);
        QVERIFY(!f->document().isModified());
        QCOMPARE(win().status().text(StatusPanels::Modified), QString());
        Document back;
        QVERIFY(readDataFile(QFile::encodeName(path).toStdString(), back).ok());
        const std::string& saved = back.nodeAt(1)->data()->MemoStr; // A
        QVERIFY(saved.starts_with("line 0 of the long memo\r\n"));
        QVERIFY(saved.find("line 3999 of the long memo\r\nfirst line\r\n") != std::string::npos);
    }
};

QTEST_MAIN(SaveErrorTest)
#include "SaveErrorTest.moc"
