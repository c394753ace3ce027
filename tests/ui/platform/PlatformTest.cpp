#include "app/AboutBox.h"
#include "app/HelpWindow.h"
#include "app/QtFileDialogService.h"
#include "app/QtProcessLauncher.h"
#include "app/QtPromptService.h"
#include "core/io/FileIo.h"
#include "platform/AppPaths.h"
#include "platform/CapsLockWatch.h"
#include "platform/FileAttributes.h"
#include "platform/FileLock.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <csignal>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

using namespace notarium;

namespace {

// Sets an environment variable for the life of the object, then puts the old value back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const QByteArray& value)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnvironment()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray helpPage(const QUrl& url)
{
    QFile file(QLatin1Char(':') + url.path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Where the program keeps its files.
    void xdgFolders_data();
    void xdgFolders();
    void foldersCreatedOnDemand();
    void folderThatCannotBeCreated();
    void portableBesideExecutable();
    void documentsFolderExists();

    // The document lock.
    void secondOpenInProcessIsInUse();
    void lockFollowsTheObject();
    void lockingAnotherFileReleasesTheFirst();
    void missingFileCannotBeLocked();
    void otherProcessHoldsLockUntilItDies();
    void startedProgramDoesNotInheritLock();
    void relockAfterSaveReplacedTheFile();
    void relockWithoutReplacement();
    void readOnlyFiles();
    void capsLockFromKeyEvents();

    // The Qt services' pure parts.
    void fileDialogFilter_data();
    void fileDialogFilter();
    void messageBoxShowsTheMessage_data();
    void messageBoxShowsTheMessage();
    void launcherStartsPrograms();

    // Bundled help and the version box.
    void everyContextHasItsAnchor_data();
    void everyContextHasItsAnchor();
    void unknownContextOpensContents();
    void pagesLinkOnlyToExistingPages();
    void searchFindsVisibleTextOnly_data();
    void searchFindsVisibleTextOnly();
    void helpWindowOpensContextAndSearch();
    void aboutBoxShowsVersion();

private:
    std::optional<QTemporaryDir> m_dir;
    QString path(const QString& name) const { return m_dir->filePath(name); }
};

void PlatformTest::init()
{
    m_dir.emplace();
    QVERIFY(m_dir->isValid());
}

void PlatformTest::cleanup()
{
    m_dir.reset();
}

void PlatformTest::xdgFolders_data()
{
    QTest::addColumn<QString>("configHome"); // relative to the temporary folder; "" unset
    QTest::addColumn<QString>("cacheHome");
    QTest::addColumn<QString>("expectedConfig");
    QTest::addColumn<QString>("expectedTemp");

    QTest::newRow("both set") << "/cfg"
                              << "/cache"
                              << "/cfg/notarium"
                              << "/cache/notarium/Temp";
    QTest::newRow("unset: home folders") << ""
                                         << ""
                                         << "/home/.config/notarium"
                                         << "/home/.cache/notarium/Temp";
    QTest::newRow("trailing slash") << "/cfg/"
                                    << "/cache//"
                                    << "/cfg/notarium"
                                    << "/cache/notarium/Temp";
    QTest::newRow("relative values are ignored") << "!relative/cfg"
                                                 << "!relative/cache"
                                                 << "/home/.config/notarium"
                                                 << "/home/.cache/notarium/Temp";
}

void PlatformTest::xdgFolders()
{
    QFETCH(QString, configHome);
    QFETCH(QString, cacheHome);
    QFETCH(QString, expectedConfig);
    QFETCH(QString, expectedTemp);

    const QString root = m_dir->path();
    auto value = [&root](const QString& text) {
        if (text.startsWith(QLatin1Char('!')))
            return text.mid(1).toUtf8();
        return text.isEmpty() ? QByteArray() : (root + text).toUtf8();
    };
    ScopedEnvironment home("HOME", (root + QStringLiteral("/home")).toUtf8());
    ScopedEnvironment config("XDG_CONFIG_HOME", value(configHome));
    ScopedEnvironment cache("XDG_CACHE_HOME", value(cacheHome));

    const AppPaths paths = AppPaths::fromEnvironment(root + QStringLiteral("/bin"));
    QVERIFY(!paths.isPortable());
    QCOMPARE(paths.configFolder(), root + expectedConfig);
    QCOMPARE(paths.settingsFile(), root + expectedConfig + QStringLiteral("/notarium.ini"));
    QCOMPARE(paths.templateStore(), root + expectedConfig + QStringLiteral("/Template.ini"));
    QCOMPARE(paths.helperListFile(), root + expectedConfig + QStringLiteral("/HelpList.dat"));
    QCOMPARE(paths.tempFolder(), root + expectedTemp);
    QCOMPARE(paths.executableFolder(), root + QStringLiteral("/bin"));
}

void PlatformTest::foldersCreatedOnDemand()
{
    ScopedEnvironment config("XDG_CONFIG_HOME", path(QStringLiteral("cfg")).toUtf8());
    ScopedEnvironment cache("XDG_CACHE_HOME", path(QStringLiteral("cache")).toUtf8());
    const AppPaths paths = AppPaths::fromEnvironment(path(QStringLiteral("bin")));

    // Working out the paths creates nothing.
    QVERIFY(!QFileInfo::exists(paths.configFolder()));
    QVERIFY(!QFileInfo::exists(paths.tempFolder()));

    QString error;
    QVERIFY2(paths.ensureConfigFolder(&error), qPrintable(error));
    QVERIFY(QFileInfo(paths.configFolder()).isDir());
    QVERIFY(writeFile(paths.settingsFile(), "[Window]\n"));
    QVERIFY2(paths.ensureTempFolder(&error), qPrintable(error));
    QVERIFY(QFileInfo(paths.tempFolder()).isDir());
    // Work files hold memo text: only the owner may look into Temp.
    QCOMPARE(QFileInfo(paths.tempFolder()).permissions() & (QFile::ReadOther | QFile::ReadGroup),
        QFile::Permissions());
    // Asking again is harmless and keeps what is there.
    QVERIFY(paths.ensureConfigFolder());
    QVERIFY(QFileInfo::exists(paths.settingsFile()));
}

void PlatformTest::folderThatCannotBeCreated()
{
    QVERIFY(writeFile(path(QStringLiteral("blocker")), "a file, not a folder"));
    ScopedEnvironment config("XDG_CONFIG_HOME", path(QStringLiteral("blocker")).toUtf8());
    const AppPaths paths = AppPaths::fromEnvironment(path(QStringLiteral("bin")));
    QString error;
    QVERIFY(!paths.ensureConfigFolder(&error));
    QVERIFY(!error.isEmpty());
}

void PlatformTest::portableBesideExecutable()
{
    ScopedEnvironment config("XDG_CONFIG_HOME", path(QStringLiteral("cfg")).toUtf8());
    const QString bin = path(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));

    // A folder that happens to be called notarium.ini does not make the program portable.
    QVERIFY(QDir().mkpath(bin + QStringLiteral("/notarium.ini")));
    QVERIFY(!AppPaths::fromEnvironment(bin).isPortable());
    QVERIFY(QDir().rmdir(bin + QStringLiteral("/notarium.ini")));

    QVERIFY(writeFile(bin + QStringLiteral("/notarium.ini"), ""));
    const AppPaths paths = AppPaths::fromEnvironment(bin + QStringLiteral("/"));
    QVERIFY(paths.isPortable());
    QCOMPARE(paths.configFolder(), bin);
    QCOMPARE(paths.settingsFile(), bin + QStringLiteral("/notarium.ini"));
    QCOMPARE(paths.templateStore(), bin + QStringLiteral("/Template.ini"));
    QCOMPARE(paths.helperListFile(), bin + QStringLiteral("/HelpList.dat"));
    QCOMPARE(paths.tempFolder(), bin + QStringLiteral("/Temp"));
}

void PlatformTest::documentsFolderExists()
{
    const QString folder = AppPaths::documentsFolder();
    QVERIFY(QFileInfo(folder).isDir());
    QVERIFY(!folder.endsWith(QLatin1Char('/')) || folder == QStringLiteral("/"));
    QCOMPARE(QString::fromStdString(AppPaths::platformDefaults().documentsFolder), folder);
}

void PlatformTest::secondOpenInProcessIsInUse()
{
    const QString file = path(QStringLiteral("notes.nmd"));
    QVERIFY(writeFile(file, "Notarium Data File\r\n"));
    QVERIFY(FileLock::canOpenForWriting(file));

    FileLock window;
    QCOMPARE(window.lock(file), FileLock::Result::Locked);
    QVERIFY(window.isLocked());
    // The window's own hold makes the file in use, for the window itself too.
    QVERIFY(!FileLock::canOpenForWriting(file));

    FileLock other;
    QCOMPARE(other.lock(file), FileLock::Result::InUse);
    QVERIFY(!other.isLocked());
    QVERIFY(!other.errorString().isEmpty());

    // Locking again what is already held is no conflict with oneself.
    QCOMPARE(window.lock(file), FileLock::Result::Locked);

    window.unlock();
    QVERIFY(!window.isLocked());
    QCOMPARE(window.path(), file);
    QVERIFY(FileLock::canOpenForWriting(file));
    QCOMPARE(other.lock(file), FileLock::Result::Locked);
    QCOMPARE(window.lock(file), FileLock::Result::InUse);
}

void PlatformTest::lockFollowsTheObject()
{
    const QString file = path(QStringLiteral("notes.nmd"));
    QVERIFY(writeFile(file, "x"));
    {
        FileLock first;
        QCOMPARE(first.lock(file), FileLock::Result::Locked);
        FileLock moved(std::move(first));
        QVERIFY(!first.isLocked());
        QVERIFY(moved.isLocked());
        QVERIFY(!FileLock::canOpenForWriting(file));

        FileLock assigned;
        assigned = std::move(moved);
        QVERIFY(!moved.isLocked());
        QVERIFY(!FileLock::canOpenForWriting(file));
    }
    QVERIFY(FileLock::canOpenForWriting(file));
}

void PlatformTest::lockingAnotherFileReleasesTheFirst()
{
    const QString first = path(QStringLiteral("first.nmd"));
    const QString second = path(QStringLiteral("second.nmd"));
    QVERIFY(writeFile(first, "1"));
    QVERIFY(writeFile(second, "2"));

    FileLock lock;
    QCOMPARE(lock.lock(first), FileLock::Result::Locked);
    QCOMPARE(lock.lock(second), FileLock::Result::Locked);
    QVERIFY(FileLock::canOpenForWriting(first));
    QVERIFY(!FileLock::canOpenForWriting(second));
    QCOMPARE(lock.path(), second);

    // A second name of the held file (a link) is the same file: no conflict with our own hold.
    const QString link = path(QStringLiteral("link.nmd"));
    QVERIFY(QFile::link(second, link));
    QCOMPARE(lock.lock(link), FileLock::Result::Locked);
    QVERIFY(!FileLock::canOpenForWriting(second));
}

void PlatformTest::missingFileCannotBeLocked()
{
    const QString missing = path(QStringLiteral("missing.nmd"));
    FileLock lock;
    QCOMPARE(lock.lock(missing), FileLock::Result::CannotOpen);
    QVERIFY(!lock.isLocked());
    QVERIFY(!lock.errorString().isEmpty());
    QVERIFY(!FileLock::canOpenForWriting(missing));
    QVERIFY(!FileLock::canOpenForWriting(m_dir->path()));

    FileLock never;
    QCOMPARE(never.relock(), FileLock::Result::CannotOpen);
}

void PlatformTest::otherProcessHoldsLockUntilItDies()
{
    const QString file = path(QStringLiteral("shared.nmd"));
    QVERIFY(writeFile(file, "x"));

    int ready[2];
    QCOMPARE(::pipe(ready), 0);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // Another Notarium: takes the lock, reports, then waits to be killed.
        ::close(ready[0]);
        FileLock lock;
        const char answer = lock.lock(file) == FileLock::Result::Locked ? 'L' : 'F';
        if (::write(ready[1], &answer, 1) != 1)
            ::_exit(2);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char answer = 0;
    const ssize_t got = ::read(ready[0], &answer, 1);
    ::close(ready[0]);

    const bool freeWhileHeld = FileLock::canOpenForWriting(file);
    FileLock mine;
    const FileLock::Result whileHeld = mine.lock(file);

    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);

    QCOMPARE(got, ssize_t(1));
    QCOMPARE(answer, 'L');
    QVERIFY(!freeWhileHeld);
    QCOMPARE(whileHeld, FileLock::Result::InUse);
    // The kernel let go of the dead process's hold.
    QVERIFY(FileLock::canOpenForWriting(file));
    QCOMPARE(mine.lock(file), FileLock::Result::Locked);
}

void PlatformTest::startedProgramDoesNotInheritLock()
{
    const QString file = path(QStringLiteral("edited.nmd"));
    QVERIFY(writeFile(file, "x"));
    FileLock lock;
    QCOMPARE(lock.lock(file), FileLock::Result::Locked);

    // A program started from the window (the text editor, another window) must not hold the
    // document open: it would keep the lock alive after the window ends.
    QProcess program;
    program.start(QStringLiteral("sleep"), { QStringLiteral("30") });
    QVERIFY(program.waitForStarted());
    const QString canonical = QFileInfo(file).canonicalFilePath();
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(program.processId()));
    QStringList held;
    for (const QFileInfo& fd : fds.entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot)) {
        if (fd.symLinkTarget() == canonical)
            held.append(fd.fileName());
    }
    program.kill();
    program.waitForFinished();
    QVERIFY2(held.isEmpty(), qPrintable(held.join(QLatin1Char(' '))));
}

void PlatformTest::relockAfterSaveReplacedTheFile()
{
    const QString file = path(QStringLiteral("saved.nmd"));
    QVERIFY(writeFile(file, "old"));
    FileLock lock;
    QCOMPARE(lock.lock(file), FileLock::Result::Locked);

    // Saving writes a new file and renames it over the old one; the old hold stays on the old file.
    std::string error;
    QVERIFY2(writeFileAtomically(file.toStdString(), "new", &error), error.c_str());
    QVERIFY(FileLock::canOpenForWriting(file));

    QCOMPARE(lock.relock(), FileLock::Result::Locked);
    QVERIFY(!FileLock::canOpenForWriting(file));
    FileLock other;
    QCOMPARE(other.lock(file), FileLock::Result::InUse);
}

void PlatformTest::relockWithoutReplacement()
{
    const QString file = path(QStringLiteral("kept.nmd"));
    QVERIFY(writeFile(file, "x"));
    FileLock lock;
    QCOMPARE(lock.lock(file), FileLock::Result::Locked);
    // The same file still under the name: keep holding it rather than colliding with oneself.
    QCOMPARE(lock.relock(), FileLock::Result::Locked);
    QVERIFY(!FileLock::canOpenForWriting(file));

    lock.unlock();
    QVERIFY(FileLock::canOpenForWriting(file));
    QCOMPARE(lock.relock(), FileLock::Result::Locked);
    QVERIFY(!FileLock::canOpenForWriting(file));

    // The file went away meanwhile.
    lock.unlock();
    QVERIFY(QFile::remove(file));
    QCOMPARE(lock.relock(), FileLock::Result::CannotOpen);
    QVERIFY(!lock.isLocked());
}

void PlatformTest::readOnlyFiles()
{
    const QString writable = path(QStringLiteral("writable.nmd"));
    const QString readOnly = path(QStringLiteral("readonly.nmd"));
    QVERIFY(writeFile(writable, "x"));
    QVERIFY(writeFile(readOnly, "x"));
    QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));

    QVERIFY(!isReadOnlyFile(writable));
    QVERIFY(isReadOnlyFile(readOnly)); // even for root, who could write it
    QVERIFY(!isReadOnlyFile(path(QStringLiteral("missing.nmd"))));
    QVERIFY(!isReadOnlyFile(m_dir->path()));

    // A read-only document holds no lock, but it can still be locked for reading.
    FileLock lock;
    QCOMPARE(lock.lock(readOnly), FileLock::Result::Locked);
    lock.unlock();
    if (::geteuid() != 0)
        QVERIFY(!FileLock::canOpenForWriting(readOnly));
}

void PlatformTest::fileDialogFilter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");

    QTest::newRow("data file") << "Notarium File (*.nmd)|*.nmd"
                               << "Notarium File (*.nmd)";
    QTest::newRow("two filters") << "Notarium File (*.nmd)|*.nmd|すべてのファイル (*.*)|*.*"
                                 << "Notarium File (*.nmd);;すべてのファイル (*.*)";
    QTest::newRow("patterns not shown") << "Text|*.txt;*.text"
                                        << "Text (*.txt *.text)";
    QTest::newRow("shown patterns differ") << "Template (*.nmt)|*.nmt;*.txt"
                                           << "Template (*.nmt) (*.nmt *.txt)";
    QTest::newRow("Qt form passes") << "Notarium File (*.nmd);;All (*)"
                                    << "Notarium File (*.nmd);;All (*)";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("trailing bar") << "Text|*.txt|"
                                  << "Text (*.txt)";
}

void PlatformTest::fileDialogFilter()
{
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QCOMPARE(QtFileDialogService::qtFilter(filter), expected);
}

void PlatformTest::messageBoxShowsTheMessage_data()
{
    QTest::addColumn<PromptButtons>("buttons");
    QTest::addColumn<MessageIcon>("icon");
    QTest::addColumn<int>("key");
    QTest::addColumn<PromptAnswer>("expected");
    QTest::addColumn<QMessageBox::StandardButtons>("shownButtons");
    QTest::addColumn<QMessageBox::Icon>("shownIcon");

    QTest::newRow("notice, Enter") << PromptButtons::Ok << MessageIcon::Information << int(Qt::Key_Return)
                                   << PromptAnswer::Ok << QMessageBox::StandardButtons(QMessageBox::Ok)
                                   << QMessageBox::Information;
    QTest::newRow("in use question, Enter is Yes")
        << PromptButtons::YesNo << MessageIcon::Warning << int(Qt::Key_Return) << PromptAnswer::Yes
        << (QMessageBox::Yes | QMessageBox::No) << QMessageBox::Warning;
    QTest::newRow("in use question, Esc is No")
        << PromptButtons::YesNo << MessageIcon::Warning << int(Qt::Key_Escape) << PromptAnswer::No
        << (QMessageBox::Yes | QMessageBox::No) << QMessageBox::Warning;
    QTest::newRow("save question, Esc is Cancel")
        << PromptButtons::YesNoCancel << MessageIcon::Warning << int(Qt::Key_Escape) << PromptAnswer::Cancel
        << (QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) << QMessageBox::Warning;
    QTest::newRow("error, Esc") << PromptButtons::OkCancel << MessageIcon::Error << int(Qt::Key_Escape)
                                << PromptAnswer::Cancel << (QMessageBox::Ok | QMessageBox::Cancel)
                                << QMessageBox::Critical;
}

void PlatformTest::messageBoxShowsTheMessage()
{
    QFETCH(PromptButtons, buttons);
    QFETCH(MessageIcon, icon);
    QFETCH(int, key);
    QFETCH(PromptAnswer, expected);
    QFETCH(QMessageBox::StandardButtons, shownButtons);
    QFETCH(QMessageBox::Icon, shownIcon);

    // The real service is modal; read the box it shows and press the key, then check the answer.
    QString title;
    QString text;
    QMessageBox::StandardButtons seenButtons;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        title = box->windowTitle();
        text = box->text();
        seenButtons = box->standardButtons();
        seenIcon = box->icon();
        format = box->textFormat();
        QTest::keyClick(box, Qt::Key(key));
    });
    QtPromptService prompt;
    const PromptAnswer answer = prompt.ask(nullptr,
        QStringLiteral("ファイル <a&b>.nmd は\r\n別の Notarium または他のユーザーによって編集されています。"),
        QStringLiteral("ファイルは使用中です..."), icon, buttons);

    QCOMPARE(title, QStringLiteral("ファイルは使用中です..."));
    QCOMPARE(text,
        QStringLiteral("ファイル <a&b>.nmd は\n別の Notarium または他のユーザーによって編集されています。"));
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(seenButtons, shownButtons);
    QCOMPARE(seenIcon, shownIcon);
    QCOMPARE(answer, expected);
}

void PlatformTest::launcherStartsPrograms()
{
    QtProcessLauncher launcher;
    const QString marker = path(QStringLiteral("started"));
    QVERIFY(launcher.startDetached(QStringLiteral("touch"), { marker }));
    QTRY_VERIFY(QFileInfo::exists(marker));
    QVERIFY(!launcher.startDetached(path(QStringLiteral("no-such-program")), {}));
    QVERIFY(!launcher.startDetached(QString(), {}));
}

void PlatformTest::everyContextHasItsAnchor_data()
{
    QTest::addColumn<int>("context");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("heading");

    QTest::newRow("main window") << 9 << "mainwindow.html"
                                 << "メインウィンドウ";
    QTest::newRow("tree pane") << 10 << "treepane.html"
                               << "ツリーペイン";
    QTest::newRow("title box") << 11 << "titlebox.html"
                               << "タイトル編集ボックス";
    QTest::newRow("memo pane") << 12 << "memopane.html"
                               << "メモペイン";
    QTest::newRow("docks") << 13 << "toolbars.html"
                           << "ツールバー";
    QTest::newRow("status bar") << 14 << "statusbar.html"
                                << "ステータスバー";
    QTest::newRow("find window") << 27 << "search.html"
                                 << "検索ウィンドウ";
    QTest::newRow("search and replace") << 28 << "search.html"
                                        << "検索・置換ウィンドウ";
    QTest::newRow("bookmark list") << 33 << "bookmarks.html"
                                   << "ブックマーク一覧";
    QTest::newRow("template list") << 30 << "templates.html"
                                   << "テンプレートの一覧";
    QTest::newRow("template editor") << 31 << "templates.html"
                                     << "テンプレートの編集";
    QTest::newRow("memo wizard") << 34 << "memotools.html"
                                 << "新規メモ連続作成";
    QTest::newRow("text export options") << 35 << "textexport.html"
                                         << "テキスト出力の設定";
    QTest::newRow("options, first page") << 40 << "options.html"
                                         << "全般";
    QTest::newRow("options, last page") << 51 << "options.html"
                                        << "その他";
    QTest::newRow("key customisation") << 52 << "keys.html"
                                       << "キーカスタマイズ";
    QTest::newRow("command line") << 116 << "mainwindow.html"
                                  << "コマンドライン";
}

void PlatformTest::everyContextHasItsAnchor()
{
    QFETCH(int, context);
    QFETCH(QString, page);
    QFETCH(QString, heading);

    const QUrl url = HelpWindow::contextUrl(context);
    QCOMPARE(url.fileName(), page);
    QCOMPARE(url.fragment(), QStringLiteral("ctx%1").arg(context));
    const QString html = QString::fromUtf8(helpPage(url));
    QVERIFY2(!html.isEmpty(), qPrintable(url.toString()));
    // The anchor stands in the heading of the topic it names.
    const QRegularExpression anchored(QStringLiteral("<h[12]><a name=\"%1\"></a>[^<]*%2")
                                          .arg(url.fragment(), QRegularExpression::escape(heading)));
    QVERIFY2(anchored.match(html).hasMatch(), qPrintable(url.toString()));
}

void PlatformTest::unknownContextOpensContents()
{
    QCOMPARE(HelpWindow::contextUrl(152).fileName(), QStringLiteral("index.html"));
    QCOMPARE(HelpWindow::contextUrl(0).fileName(), QStringLiteral("index.html"));
    QVERIFY(HelpWindow::contextUrl(152).fragment().isEmpty());
}

void PlatformTest::pagesLinkOnlyToExistingPages()
{
    const QList<HelpWindow::Topic> topics = HelpWindow::topics();
    // Every page of the help is in the contents.
    QCOMPARE(topics.size(), QDir(QStringLiteral(":/help")).entryList({ QStringLiteral("*.html") }).size());
    QCOMPARE(topics.constFirst().url.fileName(), QStringLiteral("index.html"));
    const QRegularExpression link(QStringLiteral("href=\"([^\"#]*)(#[^\"]*)?\""));
    for (const HelpWindow::Topic& topic : topics) {
        QVERIFY2(!topic.title.isEmpty(), qPrintable(topic.url.toString()));
        const QString html = QString::fromUtf8(helpPage(topic.url));
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            const QUrl target = topic.url.resolved(QUrl(match.captured(1)));
            const QString targetHtml = QString::fromUtf8(helpPage(target));
            QVERIFY2(!targetHtml.isEmpty(),
                qPrintable(topic.url.fileName() + QStringLiteral(" -> ") + match.captured(0)));
            if (match.capturedLength(2) > 0)
                QVERIFY2(targetHtml.contains(QStringLiteral("name=\"%1\"").arg(match.captured(2).mid(1))),
                    qPrintable(match.captured(0)));
        }
    }
}

void PlatformTest::searchFindsVisibleTextOnly_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("pages");

    const QString index = QStringLiteral("index.html");
    const QString memoPane = QStringLiteral("memopane.html");
    const QString statusBar = QStringLiteral("statusbar.html");
    QTest::newRow("status bar panel") << "CAPS" << QStringList { index, statusBar };
    QTest::newRow("case ignored") << "caps" << QStringList { index, statusBar };
    // The contents name the overwrite mode too, but not the key that switches it.
    QTest::newRow("all words must occur") << "上書き  Insert" << QStringList { memoPane, statusBar };
    QTest::newRow("shortcut") << "Ctrl+Shift+R" << QStringList { QStringLiteral("treepane.html") };
    QTest::newRow("markup is not text") << "href" << QStringList {};
    QTest::newRow("nothing asked") << "   " << QStringList {};
    QTest::newRow("not there") << "スプレッドシート" << QStringList {};
}

void PlatformTest::searchFindsVisibleTextOnly()
{
    QFETCH(QString, query);
    QFETCH(QStringList, pages);

    QStringList found;
    for (const HelpWindow::Topic& topic : HelpWindow::search(query))
        found.append(topic.url.fileName());
    QCOMPARE(found, pages);
}

void PlatformTest::helpWindowOpensContextAndSearch()
{
    HelpWindow window;
    window.showContext(HelpWindow::MemoPaneContext);
    QVERIFY(window.isVisible());
    QCOMPARE(window.browser()->source().fileName(), QStringLiteral("memopane.html"));
    QVERIFY(window.browser()->toPlainText().contains(QStringLiteral("メモペイン")));

    window.showSearch();
    window.searchEdit()->setText(QStringLiteral("挿入"));
    QTest::keyClick(window.searchEdit(), Qt::Key_Return);
    QListWidget* results = window.searchResults();
    QVERIFY(results->count() >= 2);
    QListWidgetItem* statusBar = nullptr;
    for (int i = 0; i < results->count(); ++i) {
        if (results->item(i)->text() == QStringLiteral("ステータスバー"))
            statusBar = results->item(i);
    }
    QVERIFY(statusBar);
    emit results->itemActivated(statusBar);
    QCOMPARE(window.browser()->source().fileName(), QStringLiteral("statusbar.html"));
    QCOMPARE(window.browser()->textCursor().selectedText(), QStringLiteral("挿入"));

    window.searchEdit()->setText(QStringLiteral("存在しない言葉"));
    QTest::keyClick(window.searchEdit(), Qt::Key_Return);
    QCOMPARE(results->count(), 1);
    QCOMPARE(results->item(0)->flags(), Qt::NoItemFlags);
}

void PlatformTest::aboutBoxShowsVersion()
{
    AboutBox box;
    QCOMPARE(box.windowTitle(), QStringLiteral("バージョン情報"));
    auto* name = box.findChild<QLabel*>(QStringLiteral("ProgramName"));
    auto* version = box.findChild<QLabel*>(QStringLiteral("VersionLabel"));
    QVERIFY(name && version);
    QCOMPARE(name->text(), QStringLiteral("Notarium"));
    QVERIFY(version->text().endsWith(QStringLiteral(NOTARIUM_VERSION)));
    QVERIFY(!QStringLiteral(NOTARIUM_VERSION).isEmpty());
}

void PlatformTest::capsLockFromKeyEvents()
{
    CapsLockWatch watch(0x2);
    QSignalSpy changed(&watch, &CapsLockWatch::changed);
    QLineEdit target;
    auto send = [&target](QEvent::Type type, int key, quint32 native) {
        QKeyEvent event(type, key, Qt::NoModifier, 0, 0, native);
        QApplication::sendEvent(&target, &event);
    };
    QVERIFY(!watch.isOn());
    // Pressing Caps Lock turns it on although the state sent with the press is still off.
    send(QEvent::KeyPress, Qt::Key_CapsLock, 0x10);
    QVERIFY(watch.isOn());
    send(QEvent::KeyRelease, Qt::Key_CapsLock, 0x12);
    send(QEvent::KeyPress, Qt::Key_A, 0x12);
    QVERIFY(watch.isOn());
    QCOMPARE(changed.count(), 1);
    send(QEvent::KeyPress, Qt::Key_CapsLock, 0x12);
    QVERIFY(!watch.isOn());
    // Turned on elsewhere (another window had the keyboard): the next key tells.
    send(QEvent::KeyPress, Qt::Key_B, 0x2);
    QVERIFY(watch.isOn());
    QCOMPARE(changed.count(), 3);

    // Where the platform's native state is unknown, nothing is guessed.
    CapsLockWatch unknown(0);
    send(QEvent::KeyPress, Qt::Key_CapsLock, 0x2);
    QVERIFY(!unknown.isOn());
}

QTEST_MAIN(PlatformTest)
#include "PlatformTest.moc"
