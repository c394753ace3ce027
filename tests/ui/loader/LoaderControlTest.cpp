#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsStore.h"
#include "platform/LoaderControl.h"
#include "support/RecordingProcessLauncher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <optional>
#include <vector>

using namespace notarium;

namespace {

// A loader under the sanitizers takes a moment to start on a busy machine.
constexpr int kStartTimeout = 20000;

QString loaderFolder()
{
    return QFileInfo(QStringLiteral(NOTARIUM_LOADER_PATH)).absolutePath();
}

// One configuration: its own XDG folders, the settings file inside.
struct Configuration {
    QString root;

    QString configHome() const { return root + QStringLiteral("/config"); }
    QString settingsFile() const { return configHome() + QStringLiteral("/notarium/notarium.ini"); }
    LoaderControl control() const { return LoaderControl(loaderFolder(), settingsFile()); }

    void write(const QByteArray& text) const
    {
        QDir().mkpath(QFileInfo(settingsFile()).absolutePath());
        QFile file(settingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
    QString read(const char* section, const char* key) const
    {
        IniFile ini;
        ini.load(QFile::encodeName(settingsFile()).toStdString());
        return QString::fromStdString(ini.readString(section, key, "<missing>"));
    }
    bool recordIs(const QString& loaded, qint64 handle) const
    {
        return read("Notarium", "Loaded") == loaded && read("Notarium", "Handle") == QString::number(handle);
    }
};

} // namespace

class LoaderControlTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    // The running loader as the program sees it.
    void loaderRunsAndClosesOnRequest();
    void secondLoaderLeavesTheFirstAlone();
    void configurationsNeverMeet();
    void endingBySignal();
    void killedLoaderIsReplaced();
    void silentListenerIsGivenUpOn();

    // Records that do not name a running loader.
    void staleRecords_data();
    void staleRecords();
    void recordRule();
    void loaderExecutable_data();
    void loaderExecutable();

    // The program's part at start-up.
    void startForResidentMode();

private:
    Configuration configuration(const QString& name);
    QProcess* startLoader(const Configuration& config);
    static bool finishes(QProcess* loader);

    std::optional<QTemporaryDir> m_dir;
    std::vector<std::unique_ptr<QProcess>> m_loaders;
};

void LoaderControlTest::initTestCase()
{
    // A settings file beside the built programs would make every loader of the test portable.
    QVERIFY2(!QFile::exists(loaderFolder() + QStringLiteral("/notarium.ini")),
        "a notarium.ini beside the build's programs makes them portable");
    QVERIFY(LoaderControl::isInstalled(loaderFolder()));
}

void LoaderControlTest::init()
{
    m_dir.emplace();
    QVERIFY(m_dir->isValid());
    // The test's own runtime folder holds the sockets and locks; the loaders inherit it.
    const QString runtime = m_dir->filePath(QStringLiteral("run"));
    QVERIFY(QDir().mkpath(runtime));
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
}

void LoaderControlTest::cleanup()
{
    for (auto& loader : m_loaders) {
        if (loader->state() != QProcess::NotRunning) {
            loader->kill();
            loader->waitForFinished(5000);
        }
    }
    m_loaders.clear();
    m_dir.reset();
}

Configuration LoaderControlTest::configuration(const QString& name)
{
    Configuration config { m_dir->filePath(name) };
    for (const char* folder : { "config", "cache", "data", "state", "home" })
        QDir().mkpath(config.root + QLatin1Char('/') + QLatin1String(folder));
    return config;
}

QProcess* LoaderControlTest::startLoader(const Configuration& config)
{
    auto loader = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.configHome());
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), config.root + QStringLiteral("/cache"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), config.root + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), config.root + QStringLiteral("/state"));
    environment.insert(QStringLiteral("HOME"), config.root + QStringLiteral("/home"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    loader->setProcessEnvironment(environment);
    loader->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    loader->start(QStringLiteral(NOTARIUM_LOADER_PATH), {});
    if (!loader->waitForStarted(5000))
        return nullptr;
    m_loaders.push_back(std::move(loader));
    return m_loaders.back().get();
}

bool LoaderControlTest::finishes(QProcess* loader)
{
    return loader->state() == QProcess::NotRunning || loader->waitForFinished(kStartTimeout);
}

void LoaderControlTest::loaderRunsAndClosesOnRequest()
{
    const Configuration config = configuration(QStringLiteral("a"));
    config.write("[Notarium]\nInTaskTray=1\nHotKey=0\n[FileMRU]\n0=/home/someone/plan.nmd\n");
    QProcess* loader = startLoader(config);
    QVERIFY(loader);
    QTRY_VERIFY_WITH_TIMEOUT(config.recordIs(QStringLiteral("1"), loader->processId()), kStartTimeout);
    QVERIFY(config.control().isRunning());

    // The program writes its own keys while the loader runs; the loader's last write keeps them.
    SettingsStore program(QFile::encodeName(config.settingsFile()).toStdString(), PlatformDefaults {});
    QVERIFY(program.load());
    QVERIFY(LoaderControl::isRunning(program.settings()));
    QVERIFY(program.update([](Settings& settings) { settings.set(key::TreeFontSize, 12); }).ok);

    QVERIFY(config.control().requestClose());
    // The answer comes once the record is clear, so the program may start a new loader at once.
    QVERIFY(config.recordIs(QStringLiteral("0"), 0));
    QVERIFY(!config.control().isRunning());
    QVERIFY(finishes(loader));
    QCOMPARE(loader->exitStatus(), QProcess::NormalExit);
    QCOMPARE(loader->exitCode(), 0);
    QCOMPARE(config.read("Notarium", "InTaskTray"), QStringLiteral("1"));
    QCOMPARE(config.read("FileMRU", "0"), QStringLiteral("/home/someone/plan.nmd"));
    QCOMPARE(config.read("TreePane", "FontSize"), QStringLiteral("12"));
    QVERIFY(!QFile::exists(config.control().serverPath()));
    QVERIFY(!config.control().requestClose(500));
}

void LoaderControlTest::secondLoaderLeavesTheFirstAlone()
{
    const Configuration config = configuration(QStringLiteral("a"));
    QProcess* first = startLoader(config);
    QVERIFY(first);
    QTRY_VERIFY_WITH_TIMEOUT(config.recordIs(QStringLiteral("1"), first->processId()), kStartTimeout);

    QProcess* second = startLoader(config);
    QVERIFY(second);
    QVERIFY(finishes(second));
    QCOMPARE(second->exitCode(), 0);
    QVERIFY(config.recordIs(QStringLiteral("1"), first->processId()));
    QCOMPARE(first->state(), QProcess::Running);
    QVERIFY(config.control().requestClose());
    QVERIFY(finishes(first));
}

void LoaderControlTest::configurationsNeverMeet()
{
    const Configuration one = configuration(QStringLiteral("one"));
    const Configuration two = configuration(QStringLiteral("two"));
    QVERIFY(one.control().serverPath() != two.control().serverPath());
    QProcess* first = startLoader(one);
    QProcess* second = startLoader(two);
    QVERIFY(first && second);
    QTRY_VERIFY_WITH_TIMEOUT(one.recordIs(QStringLiteral("1"), first->processId()), kStartTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(two.recordIs(QStringLiteral("1"), second->processId()), kStartTimeout);

    QVERIFY(one.control().requestClose());
    QVERIFY(finishes(first));
    QCOMPARE(second->state(), QProcess::Running);
    QVERIFY(two.recordIs(QStringLiteral("1"), second->processId()));
    QVERIFY(two.control().requestClose());
    QVERIFY(finishes(second));
}

void LoaderControlTest::endingBySignal()
{
    const Configuration config = configuration(QStringLiteral("a"));
    config.write("[Notarium]\nInTaskTray=1\n");
    for (const int signal : { SIGTERM, SIGINT }) {
        QProcess* loader = startLoader(config);
        QVERIFY(loader);
        QTRY_VERIFY_WITH_TIMEOUT(config.recordIs(QStringLiteral("1"), loader->processId()), kStartTimeout);
        ::kill(static_cast<pid_t>(loader->processId()), signal);
        QVERIFY(finishes(loader));
        QCOMPARE(loader->exitStatus(), QProcess::NormalExit);
        QVERIFY(config.recordIs(QStringLiteral("0"), 0));
        QCOMPARE(config.read("Notarium", "InTaskTray"), QStringLiteral("1"));
    }
}

void LoaderControlTest::silentListenerIsGivenUpOn()
{
    // Something listens at the loader's address but never answers (a loader that hangs): the
    // request gives up at its time limit instead of holding the window.
    const Configuration config = configuration(QStringLiteral("a"));
    QLocalServer silent;
    QVERIFY(silent.listen(config.control().serverPath()));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!config.control().requestClose(300));
    QVERIFY2(clock.elapsed() >= 250 && clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
}

void LoaderControlTest::killedLoaderIsReplaced()
{
    // A loader that cannot clear up leaves its record and its socket file; the lock goes with it.
    const Configuration config = configuration(QStringLiteral("a"));
    QProcess* killed = startLoader(config);
    QVERIFY(killed);
    const qint64 killedPid = killed->processId();
    QTRY_VERIFY_WITH_TIMEOUT(config.recordIs(QStringLiteral("1"), killedPid), kStartTimeout);
    killed->kill();
    QVERIFY(finishes(killed));
    QVERIFY(config.recordIs(QStringLiteral("1"), killedPid));
    QVERIFY(!config.control().isRunning());
    QVERIFY(!config.control().requestClose(500));

    QProcess* next = startLoader(config);
    QVERIFY(next);
    QTRY_VERIFY_WITH_TIMEOUT(config.recordIs(QStringLiteral("1"), next->processId()), kStartTimeout);
    QVERIFY(config.control().isRunning());
    QVERIFY(config.control().requestClose());
    QVERIFY(finishes(next));
    QVERIFY(config.recordIs(QStringLiteral("0"), 0));
}

void LoaderControlTest::staleRecords_data()
{
    QTest::addColumn<QString>("loaded");
    QTest::addColumn<QString>("handle"); // "gone": no such process; "other": a process that is no loader

    QTest::newRow("process gone") << "1"
                                  << "gone";
    QTest::newRow("id now another program's") << "1"
                                               << "other";
    QTest::newRow("no id") << "1"
                           << "0";
    QTest::newRow("not a number") << "1"
                                  << "abc";
    QTest::newRow("Loaded off") << "0"
                                << "other";
}

void LoaderControlTest::staleRecords()
{
    QFETCH(QString, loaded);
    QFETCH(QString, handle);
    // No process has an id as large as the largest the system gives out.
    QFile pidMax(QStringLiteral("/proc/sys/kernel/pid_max"));
    QVERIFY(pidMax.open(QIODevice::ReadOnly));
    const QString gone = QString::fromLatin1(pidMax.readAll().trimmed());
    if (handle == QLatin1String("gone"))
        handle = gone;
    else if (handle == QLatin1String("other"))
        handle = QString::number(QCoreApplication::applicationPid());

    const Configuration config = configuration(QStringLiteral("a"));
    config.write(QStringLiteral("[Notarium]\nLoaded=%1\nHandle=%2\nShowHint=0\n").arg(loaded, handle).toUtf8());
    QVERIFY(!config.control().isRunning());

    // A loader started on such a record takes it over.
    QProcess* loader = startLoader(config);
    QVERIFY(loader);
    QTRY_VERIFY_WITH_TIMEOUT(config.recordIs(QStringLiteral("1"), loader->processId()), kStartTimeout);
    QVERIFY(config.control().isRunning());
    QVERIFY(config.control().requestClose());
    QVERIFY(finishes(loader));
    QCOMPARE(config.read("Notarium", "ShowHint"), QStringLiteral("0"));
}

void LoaderControlTest::recordRule()
{
    const auto everyoneIsALoader = [](qint64) { return true; };
    QVERIFY(loaderRecordIsLive(true, 4242, everyoneIsALoader));
    QVERIFY(!loaderRecordIsLive(false, 4242, everyoneIsALoader));
    QVERIFY(!loaderRecordIsLive(true, 0, everyoneIsALoader));
    QVERIFY(!loaderRecordIsLive(true, -1, everyoneIsALoader));
    // A loader whose id a crashed loader had does not count itself as the other.
    QVERIFY(!loaderRecordIsLive(true, 4242, everyoneIsALoader, 4242));
    QVERIFY(!loaderRecordIsLive(true, 4242, [](qint64) { return false; }));
    // The process itself is looked at, for the id alone proves nothing.
    QVERIFY(!LoaderControl::isLoaderProcess(QCoreApplication::applicationPid()));
}

void LoaderControlTest::loaderExecutable_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("isLoader");
    QTest::newRow("installed") << "/usr/bin/notarium-loader" << true;
    QTest::newRow("replaced by an update") << "/usr/bin/notarium-loader (deleted)" << true;
    QTest::newRow("the program") << "/usr/bin/notarium" << false;
    QTest::newRow("longer name") << "/usr/bin/notarium-loader-old" << false;
    QTest::newRow("folder of that name") << "/opt/notarium-loader/bin/sleep" << false;
}

void LoaderControlTest::loaderExecutable()
{
    QFETCH(QString, path);
    QFETCH(bool, isLoader);
    QCOMPARE(isLoaderExecutablePath(path), isLoader);
}

void LoaderControlTest::startForResidentMode()
{
    const Configuration config = configuration(QStringLiteral("a"));
    const QString folder = m_dir->filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(folder));
    const LoaderControl control(folder, config.settingsFile());
    IniFile ini;
    Settings settings(ini, PlatformDefaults {});
    RecordingProcessLauncher launcher;

    settings.set(key::InTaskTray, true);
    QVERIFY(!control.startForResidentMode(settings, launcher)); // not installed
    QFile file(control.programPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(!control.isInstalled()); // not executable
    QVERIFY(!control.startForResidentMode(settings, launcher));
    QCOMPARE(launcher.count(), 0);
    QVERIFY(file.setPermissions(file.permissions() | QFile::ExeOwner));
    QVERIFY(control.isInstalled());

    settings.set(key::InTaskTray, false);
    QVERIFY(!control.startForResidentMode(settings, launcher));
    QCOMPARE(launcher.count(), 0);
    settings.set(key::InTaskTray, true);
    QVERIFY(control.startForResidentMode(settings, launcher));
    QCOMPARE(launcher.count(), 1);
    QCOMPARE(launcher.last().program, control.programPath());
    QVERIFY(launcher.last().arguments.isEmpty());

    // A loader that runs is not started again; a record left by one that has gone is.
    QProcess* loader = startLoader(config);
    QVERIFY(loader);
    QTRY_VERIFY_WITH_TIMEOUT(config.recordIs(QStringLiteral("1"), loader->processId()), kStartTimeout);
    settings.set(key::Loaded, true);
    settings.set(key::Handle, static_cast<int>(loader->processId()));
    QVERIFY(!control.startForResidentMode(settings, launcher));
    QCOMPARE(launcher.count(), 1);
    QVERIFY(config.control().requestClose());
    QVERIFY(finishes(loader));
    QVERIFY(control.startForResidentMode(settings, launcher));
    QCOMPARE(launcher.count(), 2);
}

QTEST_MAIN(LoaderControlTest)
#include "LoaderControlTest.moc"
