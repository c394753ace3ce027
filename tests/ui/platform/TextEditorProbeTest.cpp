#include "platform/TextEditorProbe.h"
#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <initializer_list>
#include <optional>

using namespace notarium;

namespace {

QStringList names(std::initializer_list<const char*> list)
{
    QStringList result;
    for (const char* name : list)
        result << QString::fromUtf8(name);
    return result;
}

} // namespace

class TextEditorProbeTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Looking the editors up on PATH.
    void firstInstalledEditorWins_data();
    void firstInstalledEditorWins();
    void onlyExecutableFilesCount();
    void everyPathFolderIsSearchedAtEachCall();

    // The lookup handed in.
    void lookupIsAskedInOrderUntilOneIsFound();

    // The setting and the probe together.
    void settingDecidesWhetherToProbe_data();
    void settingDecidesWhetherToProbe();

private:
    // A folder of PATH: a fresh folder below the temporary one.
    QString pathFolder(const QString& name) const;
    // A program that does nothing, executable by everyone.
    static bool install(const QString& folder, const QString& program);
    static void usePath(const QStringList& folders);

    std::optional<QTemporaryDir> m_dir;
    bool m_hadPath = false;
    QByteArray m_oldPath;
};

void TextEditorProbeTest::init()
{
    m_dir.emplace();
    QVERIFY(m_dir->isValid());
    m_hadPath = qEnvironmentVariableIsSet("PATH");
    m_oldPath = qgetenv("PATH");
}

void TextEditorProbeTest::cleanup()
{
    if (m_hadPath)
        qputenv("PATH", m_oldPath);
    else
        qunsetenv("PATH");
    m_dir.reset();
}

QString TextEditorProbeTest::pathFolder(const QString& name) const
{
    const QString folder = m_dir->filePath(name);
    QDir().mkpath(folder);
    return folder;
}

bool TextEditorProbeTest::install(const QString& folder, const QString& program)
{
    QFile file(folder + QLatin1Char('/') + program);
    if (!file.open(QIODevice::WriteOnly) || file.write("#!/bin/sh\nexit 0\n") < 0)
        return false;
    file.close();
    return file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
        | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
}

void TextEditorProbeTest::usePath(const QStringList& folders)
{
    qputenv("PATH", QFile::encodeName(folders.join(QLatin1Char(':'))));
}

void TextEditorProbeTest::firstInstalledEditorWins_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("command");

    QTest::newRow("none: the desktop's choice") << QStringList() << "xdg-open";
    QTest::newRow("all") << names({ "mousepad", "kate", "gedit", "gnome-text-editor" })
                         << "gnome-text-editor --standalone";
    QTest::newRow("gedit before kate") << names({ "kate", "gedit" }) << "gedit --wait";
    QTest::newRow("kate before mousepad") << names({ "mousepad", "kate" }) << "kate --block";
    QTest::newRow("mousepad alone") << names({ "mousepad" }) << "mousepad";
    QTest::newRow("other editors do not count")
        << names({ "vim", "nano", "gnome-text-editor-2" }) << "xdg-open";
}

void TextEditorProbeTest::firstInstalledEditorWins()
{
    QFETCH(QStringList, installed);
    QFETCH(QString, command);

    const QString bin = pathFolder(QStringLiteral("bin"));
    for (const QString& program : installed)
        QVERIFY(install(bin, program));
    usePath({ bin });
    QCOMPARE(probeTextEditor(), command);
}

void TextEditorProbeTest::onlyExecutableFilesCount()
{
    const QString bin = pathFolder(QStringLiteral("bin"));
    // A leftover file without execute permission, and a folder named like an editor.
    QFile plain(bin + QStringLiteral("/gnome-text-editor"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write("#!/bin/sh\n");
    plain.close();
    QVERIFY(plain.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    QVERIFY(QDir(bin).mkdir(QStringLiteral("gedit")));
    QVERIFY(install(bin, QStringLiteral("kate")));
    usePath({ bin });
    QCOMPARE(probeTextEditor(), QStringLiteral("kate --block"));
}

void TextEditorProbeTest::everyPathFolderIsSearchedAtEachCall()
{
    const QString first = pathFolder(QStringLiteral("first"));
    const QString second = pathFolder(QStringLiteral("second"));
    QVERIFY(install(second, QStringLiteral("mousepad")));
    usePath({ first, second });
    QCOMPARE(probeTextEditor(), QStringLiteral("mousepad"));

    // Installing an editor while the program runs is seen at the next use.
    QVERIFY(install(first, QStringLiteral("gedit")));
    QCOMPARE(probeTextEditor(), QStringLiteral("gedit --wait"));
    usePath({ second });
    QCOMPARE(probeTextEditor(), QStringLiteral("mousepad"));
}

void TextEditorProbeTest::lookupIsAskedInOrderUntilOneIsFound()
{
    QStringList asked;
    const auto lookup = [&asked](const QString& program) {
        asked << program;
        return program == QStringLiteral("kate") ? QStringLiteral("/opt/kde/bin/kate") : QString();
    };
    QCOMPARE(probeTextEditor(lookup), QStringLiteral("kate --block"));
    QCOMPARE(asked, names({ "gnome-text-editor", "gedit", "kate" }));

    asked.clear();
    QCOMPARE(probeTextEditor([&asked](const QString& program) {
        asked << program;
        return QString();
    }),
        QStringLiteral("xdg-open"));
    QCOMPARE(asked, names({ "gnome-text-editor", "gedit", "kate", "mousepad" }));
}

void TextEditorProbeTest::settingDecidesWhetherToProbe_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("probed");

    QTest::newRow("missing") << QByteArray("[Notarium]\nPrintTool=lp\n") << "mousepad" << true;
    QTest::newRow("written by an earlier version")
        << QByteArray("[Notarium]\nTextEditor=xdg-open\n") << "mousepad" << true;
    // A chosen editor is started as it is, installed or not (the start then reports the failure).
    QTest::newRow("chosen") << QByteArray("[Notarium]\nTextEditor=kate --block\n") << "kate --block" << false;
}

void TextEditorProbeTest::settingDecidesWhetherToProbe()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, command);
    QFETCH(bool, probed);

    IniFile ini;
    ini.parse(file.toStdString());
    const Settings settings(ini, PlatformDefaults());
    int lookups = 0;
    const auto onlyMousepad = [&lookups](const QString& program) {
        ++lookups;
        return program == QStringLiteral("mousepad") ? QStringLiteral("/usr/bin/mousepad") : QString();
    };
    QCOMPARE(textEditorCommand(settings, onlyMousepad), command);
    QCOMPARE(lookups > 0, probed);
}

QTEST_MAIN(TextEditorProbeTest)
#include "TextEditorProbeTest.moc"
