// The resident mode switched on and off with OK of the options dialog: the loader is started when
// it was not running, asked to close when it was, and its log-in entry follows the box.
#include "core/settings/IniFile.h"
#include "platform/LoaderControl.h"
#include "settings/TOptionDialog.h"
#include "support/WindowFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QProcess>
#include <QtTest>

using namespace notarium;

class ResidentModeTest : public QObject {
    Q_OBJECT

private slots:
    void okStartsAndStopsTheLoader()
    {
        QTemporaryDir xdg;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(xdg.filePath(QStringLiteral("config"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(xdg.filePath(QStringLiteral("data"))));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(xdg.path()));
        const QString autostart = xdg.filePath(QStringLiteral("config/autostart/Notarium Startup.desktop"));

        WindowFixture f;
        // The window's settings file stands beside a copy of the loader, which then runs portable
        // and keeps its state in that same file.
        const QString ini = f.path(QStringLiteral("notarium.ini"));
        const QString loaderPath = f.path(QStringLiteral("notarium-loader"));
        QVERIFY(QFile::copy(QStringLiteral(NOTARIUM_LOADER_PATH), loaderPath));
        f.useSettingsFile(ini);
        f.useProgramFolder(f.path(QString()));
        f.start();

        QVERIFY(f.whileModal<TOptionDialog>("Option1", [](TOptionDialog& dialog) {
            auto* box = dialog.findChild<QCheckBox*>(QStringLiteral("cbTaskTray"));
            QVERIFY(box->isEnabled());
            box->setChecked(true);
        }, "OKButton"));
        QCOMPARE(f.services().launcher.count(), 1);
        QCOMPARE(QFileInfo(f.services().launcher.last().program).canonicalFilePath(), QFileInfo(loaderPath).canonicalFilePath());
        QVERIFY(QFileInfo::exists(autostart));

        // The loader is started for real now, as the launcher would have.
        QProcess loader;
        loader.start(loaderPath, {});
        QVERIFY(loader.waitForStarted());
        const LoaderControl control(f.path(QString()), ini);
        QTRY_VERIFY_WITH_TIMEOUT(control.isRunning(), 10000);

        // Running, it is not started again; the key box waits for it to be stopped first.
        QFile::remove(autostart);
        QVERIFY(f.whileModal<TOptionDialog>("Option1", [](TOptionDialog& dialog) {
            QVERIFY(!dialog.findChild<QWidget*>(QStringLiteral("TrayHotKey"))->isEnabled());
        }, "OKButton"));
        QCOMPARE(f.services().launcher.count(), 1);
        QVERIFY(QFileInfo::exists(autostart));

        // Off: the log-in entry goes and the loader ends, clearing its state.
        QVERIFY(f.whileModal<TOptionDialog>("Option1", [](TOptionDialog& dialog) {
            dialog.findChild<QCheckBox*>(QStringLiteral("cbTaskTray"))->setChecked(false);
        }, "OKButton"));
        QVERIFY(!QFileInfo::exists(autostart));
        QVERIFY(loader.waitForFinished(10000));
        IniFile file;
        QVERIFY(file.load(QFile::encodeName(ini).toStdString()));
        QCOMPARE(file.readString("Notarium", "Loaded", "?"), std::string("0"));
        QCOMPARE(file.readString("Notarium", "InTaskTray", "?"), std::string("0"));
        QCOMPARE(f.services().launcher.count(), 1);
    }
};

QTEST_MAIN(ResidentModeTest)
#include "ResidentModeTest.moc"
