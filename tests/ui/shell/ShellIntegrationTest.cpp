// Making the program known to the desktop in temporary XDG folders: the file types with their
// database and default program, the shortcuts, taking everything away again, and the buttons of
// page その他 with their questions and reports.
#include "core/settings/Settings.h"
#include "settings/TOptionDialog.h"
#include "shell/ShellIntegration.h"
#include "support/WindowFixture.h"

#include <QDirIterator>
#include <QMimeDatabase>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace notarium;

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Every file and folder below the folder, with the contents of each file.
QStringList snapshot(const QString& folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries << path + (QFileInfo(path).isFile() ? QStringLiteral(" = ") + QString::fromUtf8(contents(path)) : QString());
    }
    entries.sort();
    return entries;
}

QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

} // namespace

class ShellIntegrationTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> home;
    QString data, config, systemData, desktopFolder, programFolder;

    ShellIntegration shell() const
    {
        return ShellIntegration(DesktopFolders::fromEnvironment(), programFolder + QStringLiteral("/notarium"), programFolder);
    }
    QString entry(const QString& file) const { return QString::fromUtf8(contents(file)); }

private slots:
    void init()
    {
        home = std::make_unique<QTemporaryDir>();
        data = home->filePath(QStringLiteral("data"));
        config = home->filePath(QStringLiteral("config"));
        systemData = home->filePath(QStringLiteral("system"));
        desktopFolder = home->filePath(QStringLiteral("デスクトップ"));
        // A folder with a blank in its name: the Exec lines must quote it.
        programFolder = home->filePath(QStringLiteral("my programs"));
        QDir().mkpath(config);
        QDir().mkpath(systemData);
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(systemData));
        qputenv("XDG_DESKTOP_DIR", QFile::encodeName(desktopFolder));
        qputenv("XDG_CURRENT_DESKTOP", "");
    }
    void cleanup() { home.reset(); }

    void associationRegistersTheTypesAndTheDefaultProgramOnce()
    {
        write(config + QStringLiteral("/mimeapps.list"), "[Default Applications]\ntext/plain=gedit.desktop\n");
        const QStringList before = snapshot(home->path());
        ShellIntegration::Association first = shell().associate();
        QVERIFY(!first.dataWasKnown);
        QVERIFY(!first.templateWasKnown);
        QVERIFY(first.error.isEmpty());
        QVERIFY(contents(data + QStringLiteral("/mime/packages/notarium-data.xml")).contains("*.nmd"));
        QVERIFY(!contents(data + QStringLiteral("/mime/packages/notarium-data.xml")).contains("*.nmt"));
        QVERIFY(contents(data + QStringLiteral("/mime/packages/notarium-template.xml")).contains("Notarium Template File"));
        const QString app = entry(data + QStringLiteral("/applications/io.notarium.Notarium.desktop"));
        QVERIFY2(app.contains(QStringLiteral("\nExec=\"%1/notarium\" %f\n").arg(programFolder)), qPrintable(app));
        QVERIFY(app.contains(QStringLiteral("MimeType=application/x-notarium-data;application/x-notarium-template;")));
        QCOMPARE(entry(config + QStringLiteral("/mimeapps.list")),
            QStringLiteral("[Default Applications]\ntext/plain=gedit.desktop\n"
                           "application/x-notarium-data=io.notarium.Notarium.desktop\n"));
        QVERIFY(QFileInfo::exists(data + QStringLiteral("/icons/hicolor/scalable/apps/notarium.svg")));

        if (!QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty()) {
            QVERIFY(contents(data + QStringLiteral("/mime/globs2")).contains("application/x-notarium-data:*.nmd"));
            // A data file is known by its contents too, whatever its name.
            QTemporaryDir elsewhere;
            const QString file = elsewhere.filePath(QStringLiteral("plan.txt"));
            write(file, QByteArray("Notarium Data File\r\n"));
            QCOMPARE(QMimeDatabase().mimeTypeForFile(file, QMimeDatabase::MatchContent).name(),
                QStringLiteral("application/x-notarium-data"));
        }
        const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
        if (!xdgMime.isEmpty())
            QCOMPARE(runTool(xdgMime, { QStringLiteral("query"), QStringLiteral("default"),
                                          QStringLiteral("application/x-notarium-data") }),
                QStringLiteral("io.notarium.Notarium.desktop"));

        // The second time both types are known and nothing changes.
        const QStringList registered = snapshot(home->path());
        ShellIntegration::Association second = shell().associate();
        QVERIFY(second.dataWasKnown);
        QVERIFY(second.templateWasKnown);
        QCOMPARE(snapshot(home->path()), registered);

        // Removal gives back exactly the folders as they were.
        QVERIFY(shell().removeRegistration());
        QCOMPARE(snapshot(home->path()), before);
        QVERIFY(!shell().removeRegistration());
    }

    void aTypeTheDesktopKnowsIsLeftAlone()
    {
        // The data type comes from an installed package; the template type does not.
        write(systemData + QStringLiteral("/mime/packages/other.xml"),
            "<mime-info><mime-type type=\"application/x-notarium-data\"/></mime-info>");
        ShellIntegration::Association done = shell().associate();
        QVERIFY(done.dataWasKnown);
        QVERIFY(!done.templateWasKnown);
        QVERIFY(!QFileInfo::exists(data + QStringLiteral("/mime/packages/notarium-data.xml")));
        QVERIFY(QFileInfo::exists(data + QStringLiteral("/mime/packages/notarium-template.xml")));
        QVERIFY(!QFileInfo::exists(config + QStringLiteral("/mimeapps.list")));
        QVERIFY(!QFileInfo::exists(data + QStringLiteral("/applications")));
    }

    void removalKeepsADefaultThePersonChangedSince()
    {
        shell().associate();
        const QString list = config + QStringLiteral("/mimeapps.list");
        write(list, "[Default Applications]\napplication/x-notarium-data=other.desktop\n");
        QVERIFY(shell().removeRegistration());
        QCOMPARE(contents(list), QByteArray("[Default Applications]\napplication/x-notarium-data=other.desktop\n"));
        QVERIFY(!QFileInfo::exists(data + QStringLiteral("/mime/packages/notarium-data.xml")));
    }

    void shortcutsArePlacedReplacedAndRemoved()
    {
        const QStringList before = snapshot(home->path());
        ShellIntegration integration = shell();
        QVERIFY(integration.placeShortcut(ShellIntegration::Place::Desktop));
        QVERIFY(integration.placeShortcut(ShellIntegration::Place::Startup));
        QVERIFY(integration.placeShortcut(ShellIntegration::Place::OpenWith));
        const QString onDesktop = desktopFolder + QStringLiteral("/Notarium.desktop");
        const QString atLogIn = config + QStringLiteral("/autostart/Notarium.desktop");
        QCOMPARE(integration.shortcutPath(ShellIntegration::Place::Desktop), onDesktop);
        QVERIFY(entry(onDesktop).contains(QStringLiteral("\nExec=\"%1/notarium\"\n").arg(programFolder)));
        QVERIFY(entry(onDesktop).contains(QStringLiteral("\nPath=%1\n").arg(programFolder)));
        QVERIFY(entry(onDesktop).contains(QStringLiteral("\nComment=Outline Text Editor - Notarium\n")));
        QVERIFY(QFileInfo(onDesktop).isExecutable());
        QVERIFY(entry(atLogIn).contains(QStringLiteral("\nExec=\"%1/notarium\" -N\n").arg(programFolder)));
        QVERIFY(entry(data + QStringLiteral("/applications/io.notarium.Notarium.desktop")).contains(QStringLiteral("MimeType=")));
        const QString validate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (!validate.isEmpty())
            for (const QString& file : { onDesktop, atLogIn })
                QCOMPARE(QProcess::execute(validate, { file }), 0);

        // An existing shortcut of the same name is written over.
        write(onDesktop, "stale");
        QVERIFY(integration.placeShortcut(ShellIntegration::Place::Desktop));
        QVERIFY(entry(onDesktop).startsWith(QStringLiteral("[Desktop Entry]")));

        QVERIFY(integration.removeRegistration());
        QCOMPARE(snapshot(home->path()), before);
    }

    void theLoadersLogInEntryComesAndGoesWithTheResidentMode()
    {
        ShellIntegration integration = shell();
        QVERIFY(integration.placeLoaderStartup());
        const QString path = config + QStringLiteral("/autostart/Notarium Startup.desktop");
        QCOMPARE(integration.loaderStartupPath(), path);
        QVERIFY(entry(path).contains(QStringLiteral("\nName=Notarium Startup\n")));
        QVERIFY(entry(path).contains(QStringLiteral("\nExec=\"%1/notarium-loader\"\n").arg(programFolder)));
        // The registration does not own it.
        QVERIFY(!integration.removeRegistration());
        QVERIFY(QFileInfo::exists(path));
        integration.removeLoaderStartup();
        QVERIFY(!QFileInfo::exists(path));
        integration.removeLoaderStartup(); // a missing entry is no error
    }

    void pageOtherAsksRegistersAndReports()
    {
        WindowFixture f;
        f.start();
        // The questions' answers; the reports take none.
        f.prompt().scriptAnswers({ PromptAnswer::No, PromptAnswer::Yes, PromptAnswer::Yes, PromptAnswer::No,
            PromptAnswer::Yes, PromptAnswer::Yes });
        QVERIFY(f.whileModal<TOptionDialog>("Option1", [&](TOptionDialog& dialog) {
            const auto click = [&](const char* name) {
                auto* button = dialog.findChild<QPushButton*>(QString::fromLatin1(name));
                QVERIFY2(button && button->isEnabled(), name);
                button->click();
            };
            click("BitBtn2"); // No
            QVERIFY(!QFileInfo::exists(data));
            click("BitBtn2");
            click("BitBtn2");
            click("BitBtn1"); // No
            QVERIFY(!QFileInfo::exists(desktopFolder));
            click("BitBtn1");
            QVERIFY(QFileInfo::exists(desktopFolder + QStringLiteral("/Notarium.desktop")));
            click("RemoveRegistration");
        }, "CancelButton"));
        const QList<RecordingPromptService::Prompt> prompts = f.prompt().prompts();
        QCOMPARE(prompts.size(), 11);
        QCOMPARE(prompts.at(0).text, QStringLiteral("関連付けを実行しますか？"));
        QCOMPARE(prompts.at(0).caption, QStringLiteral("確認"));
        QCOMPARE(prompts.at(0).icon, MessageIcon::Question);
        QCOMPARE(prompts.at(2).text, QStringLiteral("データファイルを Windowsに登録して関連付けを完了しました。"));
        QCOMPARE(prompts.at(2).caption, QStringLiteral("お知らせ"));
        QCOMPARE(prompts.at(4).text, QStringLiteral("Notariumのデータタイプ(*.nmd)はすでに登録されています。"));
        QCOMPARE(prompts.at(4).caption, QStringLiteral("関連付けを中止しました"));
        QCOMPARE(prompts.at(5).text, QStringLiteral("Notarium テンプレートのデータタイプ(*.nmt)はすでに登録されています。"));
        QCOMPARE(prompts.at(6).text, QStringLiteral("デスクトップにショートカットアイコンを作成しますか？"));
        QCOMPARE(prompts.at(7).text, QStringLiteral("デスクトップにショートカットアイコンを作成しますか？"));
        QCOMPARE(prompts.at(8).text, QStringLiteral("デスクトップにショートカットアイコンを作成しました。"));
        QCOMPARE(prompts.at(8).icon, MessageIcon::Information);
        QCOMPARE(prompts.at(9).text, QStringLiteral("関連付けとショートカットの登録を解除しますか？"));
        QCOMPARE(prompts.at(10).text, QStringLiteral("関連付けとショートカットの登録を解除しました。"));
        QVERIFY(!QFileInfo::exists(desktopFolder + QStringLiteral("/Notarium.desktop")));
        QVERIFY(!QFileInfo::exists(data + QStringLiteral("/mime/packages/notarium-data.xml")));
    }
};

QTEST_MAIN(ShellIntegrationTest)
#include "ShellIntegrationTest.moc"
