#include "app/CommandLine.h"

#include <QTest>

using notarium::CommandLineRequest;
using notarium::parseCommandLine;

namespace {

const QString kFolder = QStringLiteral("/home/user/work");

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void parses_data();
    void parses();
};

void CommandLineTest::parses_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("fromOtherWindow");
    QTest::addColumn<bool>("obsoleteS");

    auto row
        = [](const char* name, QStringList arguments, const char* path, bool readOnly, bool other, bool s) {
              QTest::newRow(name) << arguments << QString::fromUtf8(path) << readOnly << other << s;
          };
    row("nothing", {}, "", false, false, false);
    row("absolute path", { QStringLiteral("/data/notes.nmd") }, "/data/notes.nmd", false, false, false);
    row("relative path", { QStringLiteral("notes.nmd") }, "/home/user/work/notes.nmd", false, false, false);
    row("path with parent folder", { QStringLiteral("../notes.nmd") }, "/home/user/notes.nmd", false, false,
        false);
    row("path cleaned", { QStringLiteral("/data//x/./notes.nmd") }, "/data/x/notes.nmd", false, false, false);
    row("Japanese name with blank", { QStringLiteral("/data/会議 メモ.nmd") }, "/data/会議 メモ.nmd", false,
        false, false);
    row("first path wins", { QStringLiteral("a.nmd"), QStringLiteral("/b.nmd") }, "/home/user/work/a.nmd",
        false, false, false);
    row("-R alone opens nothing", { QStringLiteral("-R") }, "", false, false, false);
    row("-R then path", { QStringLiteral("-R"), QStringLiteral("/data/notes.nmd") }, "/data/notes.nmd", true,
        false, false);
    row("path then -R", { QStringLiteral("/data/notes.nmd"), QStringLiteral("-R") }, "/data/notes.nmd", true,
        false, false);
    row("lower case /r", { QStringLiteral("/r"), QStringLiteral("notes.nmd") }, "/home/user/work/notes.nmd",
        true, false, false);
    row("lower case -r", { QStringLiteral("-r"), QStringLiteral("notes.nmd") }, "/home/user/work/notes.nmd",
        true, false, false);
    row("-N alone", { QStringLiteral("-N") }, "", false, true, false);
    row("/n alone", { QStringLiteral("/n") }, "", false, true, false);
    row("-N then path", { QStringLiteral("-N"), QStringLiteral("/data/notes.nmd") }, "/data/notes.nmd", false,
        true, false);
    row("open in another window read-only",
        { QStringLiteral("-R"), QStringLiteral("-N"), QStringLiteral("/data/notes.nmd") }, "/data/notes.nmd",
        true, true, false);
    row("-R -N without path", { QStringLiteral("-R"), QStringLiteral("-N") }, "", false, true, false);
    row("-S alone", { QStringLiteral("-S") }, "", false, false, true);
    row("-s with path", { QStringLiteral("-s"), QStringLiteral("notes.nmd") }, "/home/user/work/notes.nmd",
        false, false, true);
    row("unknown switch ignored", { QStringLiteral("-x"), QStringLiteral("notes.nmd") },
        "/home/user/work/notes.nmd", false, false, false);
    row("long option ignored", { QStringLiteral("--verbose") }, "", false, false, false);
    row("switch with more letters is no switch", { QStringLiteral("-RN"), QStringLiteral("notes.nmd") },
        "/home/user/work/notes.nmd", false, false, false);
    row("root folder name is a path", { QStringLiteral("/x") }, "/x", false, false, false);
    row("empty argument skipped", { QString(), QStringLiteral("notes.nmd") }, "/home/user/work/notes.nmd",
        false, false, false);
    row("double dash ends switches", { QStringLiteral("--"), QStringLiteral("-R") }, "/home/user/work/-R",
        false, false, false);
    row("switch before double dash counts",
        { QStringLiteral("-R"), QStringLiteral("--"), QStringLiteral("-n.nmd") }, "/home/user/work/-n.nmd",
        true, false, false);
    row("file URL", { QStringLiteral("file:///data/%E4%BC%9A%E8%AD%B0%20x.nmd") }, "/data/会議 x.nmd", false,
        false, false);
}

void CommandLineTest::parses()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, path);
    QFETCH(bool, readOnly);
    QFETCH(bool, fromOtherWindow);
    QFETCH(bool, obsoleteS);

    const CommandLineRequest request = parseCommandLine(arguments, kFolder);
    QCOMPARE(request.path, path);
    QCOMPARE(request.readOnly, readOnly);
    QCOMPARE(request.fromOtherWindow, fromOtherWindow);
    QCOMPARE(request.obsoleteS, obsoleteS);
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
