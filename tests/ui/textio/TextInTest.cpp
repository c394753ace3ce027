// Reading a text file into the memo pane through its menu item: UTF-8 and Shift-JIS files, the
// end-of-file mark, characters Shift-JIS lacks, and the files that are refused (binary,
// unreadable, too large for the person's taste or for the data file), each leaving the memo pane
// as it was.
#include "app/FileCommands.h"
#include "app/StatusPanels.h"
#include "app/TreePane.h"
#include "core/document/Document.h"
#include "editor/TExtMemo.h"
#include "memo/MemoBinding.h"
#include "support/WindowFixture.h"

#include <QFile>
#include <QtTest>

using namespace notarium;

class TextInTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;
    const std::string body = "first line\r\n\x95\x5C second\r\n"; // A's body in the sample

    TExtMemo& memo() { return *f->window().memoPane(); }
    QString write(const QString& name, const QByteArray& content)
    {
        const QString path = f->path(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            return {};
        return path;
    }
    // A with "line" of its first line selected.
    void selectInA()
    {
        f->select("A");
        memo().setSelPos(6);
        memo().setSelLen(4);
    }
    void importFile(const QString& path)
    {
        f->services().files.scriptOpen(path);
        f->trigger("TextIn");
    }

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->start(true);
        QVERIFY(f->window().fileCommands().openDocument(f->writeSampleFile(), false));
    }
    void cleanup() { f.reset(); }

    void insertsAtTheCaretAsTyping_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("inserted"); // CP932, as the memo stores it
        QTest::addColumn<QString>("status");

        const QString none;
        QTest::newRow("UTF-8 with its mark") << QByteArray("\xEF\xBB\xBF"
                                                           "あ\r\nb")
                                             << QByteArray("\x82\xA0\r\nb") << none;
        QTest::newRow("UTF-8 without a mark, LF line ends")
            << QByteArray("あ\nb\n") << QByteArray("\x82\xA0\r\nb\r\n") << none;
        QTest::newRow("Shift-JIS with a byte it does not define")
            << QByteArray("\x83\x81\x83\x82\x80z") << QByteArray("\x83\x81\x83\x82\x80z") << none;
        QTest::newRow("end-of-file mark") << QByteArray("a\x1A"
                                                        "b\x1A")
                                          << QByteArray("a\x1A"
                                                        "b")
                                          << none;
        QTest::newRow("characters Shift-JIS lacks")
            << QByteArray("é😀x〓")
            << QByteArray("\x81\xAC\x81\xAC"
                          "x\x81\xAC")
            << QStringLiteral("Shift-JIS で表せない 2 文字を「〓」に置き換えました");
        QTest::newRow("empty file") << QByteArray() << QByteArray() << none;
    }

    void insertsAtTheCaretAsTyping()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, inserted);
        QFETCH(QString, status);

        selectInA();
        QVERIFY(f->isEnabled("TextIn"));
        f->window().status().setMessage(QString());
        importFile(write(QStringLiteral("in.txt"), file));

        const ScriptedFileDialogService::Request& dialog = f->services().files.last();
        QCOMPARE(dialog.title, QStringLiteral("テキストファイルの読み込み"));
        QCOMPARE(dialog.filter, QStringLiteral("Text File (*.txt)|*.txt|All Files (*.*)|*.*"));
        QCOMPARE(dialog.folder, f->window().fileCommands().defaultFolder());
        QVERIFY(!dialog.readOnlyBoxShown);
        QCOMPARE(f->prompt().count(), 0);

        const std::string expected = "first " + inserted.toStdString() + body.substr(10);
        QCOMPARE(memo().bytes(), expected);
        QCOMPARE(f->window().status().text(StatusPanels::Message), status);
        // Through the memo pane: the node and the document are changed, and one undo takes it back.
        QVERIFY(f->document().isModified());
        f->window().memoBinding().store();
        QCOMPARE(f->find("A")->data()->MemoStr, expected);
        memo().Undo();
        QCOMPARE(memo().bytes(), body);
    }

    void refusedFilesChangeNothing()
    {
        selectInA();
        // Binary.
        importFile(write(QStringLiteral("image.png"), QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)));
        QCOMPARE(f->prompt().count(), 1);
        QCOMPARE(f->prompt().last().text,
            QStringLiteral("ファイル %1 はテキストファイルではないので読み込めません。")
                .arg(f->path(QStringLiteral("image.png"))));
        // Unreadable: the reason is given.
        const QString gone = f->path(QStringLiteral("gone.txt"));
        importFile(gone);
        QCOMPARE(f->prompt().count(), 2);
        QCOMPARE(f->prompt().last().text,
            QStringLiteral("ファイル %1 を読み込めませんでした。\r\n\r\n"
                           "(ファイルまたはフォルダーが見つかりません。 (No such file or directory))")
                .arg(gone));
        QCOMPARE(f->prompt().last().icon, MessageIcon::Error);

        // Over 16 MB: asked first. No reads nothing; Yes goes on (and meets the NUL bytes of this
        // sparse file).
        QFile large(f->path(QStringLiteral("large.txt")));
        QVERIFY(large.open(QIODevice::WriteOnly));
        QVERIFY(large.resize(16 * 1024 * 1024 + 1));
        large.close();
        f->prompt().scriptAnswers({ PromptAnswer::No, PromptAnswer::Yes });
        importFile(large.fileName());
        QCOMPARE(f->prompt().count(), 3);
        QCOMPARE(f->prompt().last().text,
            QStringLiteral("ファイル %1 の大きさは 16.0 MB です。\r\nこのまま読み込みますか？")
                .arg(large.fileName()));
        QCOMPARE(f->prompt().last().buttons, PromptButtons::YesNo);
        importFile(large.fileName());
        QCOMPARE(f->prompt().count(), 5);
        QVERIFY(f->prompt().last().text.contains(QStringLiteral("テキストファイルではない")));

        // Beyond what the data file can hold: refused at once, unread and without asking (a read
        // would meet the NUL bytes of this sparse file and say so instead).
        QVERIFY(large.resize(2147483648LL));
        f->prompt().scriptAnswers({ PromptAnswer::Yes });
        importFile(large.fileName());
        QCOMPARE(f->prompt().count(), 6);
        QCOMPARE(f->prompt().last().text,
            QStringLiteral("ファイル %1 は大きすぎるため読み込めません。\r\n"
                           "メモに読み込めるテキストファイルは 2 GB (2,147,483,647 バイト) までです。")
                .arg(large.fileName()));
        QCOMPARE(f->prompt().last().caption, QStringLiteral("テキストの読み込み"));
        QCOMPARE(f->prompt().last().icon, MessageIcon::Error);
        QCOMPARE(f->prompt().remainingAnswers(), 1);

        QCOMPARE(memo().bytes(), body);
        QCOMPARE(memo().SelLen(), 4);
        QVERIFY(!f->document().isModified());
    }

    void onlyWhereTheMemoCanBeChanged()
    {
        f->window().treePane()->setSelectedNode(f->document().documentNode());
        QVERIFY(!f->isEnabled("TextIn"));
        f->select("A");
        QVERIFY(f->isEnabled("TextIn"));
        QVERIFY(f->window().fileCommands().openDocument(f->window().fileCommands().currentPath(), true));
        f->select("A");
        QVERIFY(!f->isEnabled("TextIn"));
    }
};

QTEST_MAIN(TextInTest)
#include "TextInTest.moc"
