// Save as text and print through a tool, driven through their menu items: the options window and
// its enabling table, the file written in both encodings (the same bytes the core writer gives
// for the options the window chose), the print tool started on a work file in Temp, and what the
// person is told when a tool is missing, cannot be started or the file cannot be written.
#include "app/FileCommands.h"
#include "app/StatusPanels.h"
#include "app/TreePane.h"
#include "core/document/Document.h"
#include "core/settings/Settings.h"
#include "core/textio/TextExportWriter.h"
#include "editor/TExtMemo.h"
#include "support/WindowFixture.h"
#include "textio/TTextOutOptions.h"
#include "textio/ToolMessages.h"

#include <QCheckBox>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

#include <functional>

using namespace notarium;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray bytes(const std::string& text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QCheckBox* box(const TTextOutOptions& options, const char* name)
{
    return options.findChild<QCheckBox*>(QString::fromLatin1(name));
}

// The range and switches a run picks in the options window.
struct Choice {
    ExportScope scope = ExportScope::WholeFile;
    bool contents = false;
    bool emptyLine = false;
    bool ignorePaperFolder = false;
    bool newPage = false;
};

} // namespace

class TextOutTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    TMainForm1& win() { return f->window(); }
    Document& doc() { return f->document(); }
    QString temp() { return f->context().tempFolder; }

    // Opens the sample document (A, B with C, D under the paper folder) saved under name.
    void openSample(const QString& name = QStringLiteral("plan.nmd"))
    {
        QVERIFY(win().fileCommands().openDocument(f->writeSampleFile(name), false));
    }

    // Triggers the action; while its options window is open, check runs on it and then OK (or
    // Cancel) closes it. False when no options window opened.
    bool run(const char* action, const std::function<void(TTextOutOptions&)>& check, bool ok = true)
    {
        bool shown = false;
        QObject guard; // a window that never opened leaves no timer behind
        QTimer::singleShot(0, &guard, [&] {
            auto* options = qobject_cast<TTextOutOptions*>(QApplication::activeModalWidget());
            if (options == nullptr)
                return;
            shown = true;
            check(*options);
            (ok ? options->okButton() : options->findChild<QPushButton*>(QStringLiteral("BitBtn2")))->click();
        });
        f->trigger(action);
        return shown;
    }
    bool run(const char* action, const Choice& choice)
    {
        return run(action, [&](TTextOutOptions& options) {
            options.scopeButton(choice.scope)->click();
            box(options, "cbMakeContents")->setChecked(choice.contents);
            box(options, "cbEmptyLine")->setChecked(choice.emptyLine);
            box(options, "cbIgnorePaperFolder")->setChecked(choice.ignorePaperFolder);
            box(options, "cbNewPage")->setChecked(choice.newPage);
        });
    }
    // What the core writer gives for the settings' marks and encoding with the window's switches.
    QByteArray expected(const Choice& choice, const Node* selected)
    {
        TextExportOptions options = TextExportOptions::fromSettings(f->settings());
        options.makeContents = choice.contents;
        options.emptyLine = choice.emptyLine;
        options.ignorePaperFolder = choice.ignorePaperFolder;
        options.newPage = choice.newPage;
        return bytes(TextExportWriter(doc(), options, choice.scope, selected).toString());
    }

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->start();
    }
    void cleanup() { f.reset(); }

    void saveWritesTheWholeFileExactly()
    {
        QVERIFY(!f->isEnabled("SaveAsText")); // nothing to write yet
        QVERIFY(!f->isEnabled("PrintByEditor"));
        openSample();
        QVERIFY(f->isEnabled("SaveAsText"));
        f->settings().set(key::SetOutlineNumber, true);
        const QString out = f->path(QStringLiteral("out.txt"));
        f->services().files.scriptSave(out);
        QSignalSpy progress(win().status().progressBar(), &QProgressBar::valueChanged);
        QVERIFY(run("SaveAsText", [](TTextOutOptions& options) {
            QCOMPARE(options.windowTitle(), QStringLiteral("テキストとして保存"));
            box(options, "cbMakeContents")->setChecked(true);
        }));

        const QByteArray text = "目次\r\n====\r\n\r\n"
                                "\t1. A\r\n\t2. B\r\n\t\t2.1 C\r\n\t====\r\n\t1. D\r\n\r\n\r\n"
                                "1. A\r\nfirst line\r\n表 second\r\n\r\n"
                                "2. B\r\n\r\n"
                                "2.1 C\r\nc\r\n\r\n"
                                "========\r\n\r\n"
                                "1. D\r\nd\r\n\r\n";
        QCOMPARE(fileBytes(out), text);
        const ScriptedFileDialogService::Request& dialog = f->services().files.last();
        QCOMPARE(dialog.title, QStringLiteral("テキストファイルに出力"));
        QCOMPARE(dialog.folder, f->path(QStringLiteral("plan.txt")));
        QCOMPARE(dialog.filter, QStringLiteral("Text File (*.txt)|*.txt"));
        QCOMPARE(dialog.defaultSuffix, QStringLiteral("txt"));
        QCOMPARE(f->prompt().last().text,
            QStringLiteral("テキストファイルへの出力を完了しました。\r\nファイル名：") + out);
        QCOMPARE(f->prompt().last().caption, QStringLiteral("お知らせ"));
        // The progress bar ran to its end and is gone again, with the wait cursor.
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.constLast().constFirst().toInt(), 100);
        QVERIFY(!win().status().progressBar()->isVisible());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(!doc().isModified());
    }

    void saveMatchesTheWriterInBothEncodings_data()
    {
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QString>("marks");
        QTest::addColumn<int>("scope");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("switchesOn");

        QTest::newRow("UTF-8, whole file, kind marks")
            << ""
            << "kind" << int(ExportScope::WholeFile) << "A" << true;
        QTest::newRow("CP932, whole file, level marks")
            << "CP932"
            << "level" << int(ExportScope::WholeFile) << "A" << false;
        QTest::newRow("CP932, selected tree, outline numbers")
            << "cp932"
            << "numbers" << int(ExportScope::SelectedTree) << "B" << true;
        QTest::newRow("UTF-8, selected memo, kind marks")
            << "UTF-8"
            << "kind" << int(ExportScope::SelectedMemo) << "A" << true;
    }

    void saveMatchesTheWriterInBothEncodings()
    {
        QFETCH(QString, encoding);
        QFETCH(QString, marks);
        QFETCH(int, scope);
        QFETCH(QString, selected);
        QFETCH(bool, switchesOn);

        openSample();
        Settings& settings = f->settings();
        if (!encoding.isEmpty())
            settings.set(key::ExchangeEncoding, encoding.toStdString());
        settings.set(key::SetIconMark, true);
        settings.set(key::CategoryMark, std::string("■"));
        settings.set(key::MemoMark, std::string("●"));
        settings.set(key::ResultMark, std::string("★"));
        settings.set(key::SeparateChar, std::string("-"));
        settings.set(key::LevelMark1, std::string("◆"));
        settings.set(key::LevelMark2, std::string("・"));
        settings.set(key::SetLevelMark, marks == QLatin1String("level"));
        settings.set(key::SetOutlineNumber, marks == QLatin1String("numbers"));
        f->select(selected.toStdString());
        // Typed into the memo pane, not yet stored: written too.
        if (scope == int(ExportScope::SelectedMemo))
            win().memoPane()->insertText(QStringLiteral("＋"));

        Choice choice;
        choice.scope = ExportScope(scope);
        choice.contents = choice.emptyLine = choice.ignorePaperFolder = choice.newPage = switchesOn;
        const QString out = f->path(QStringLiteral("out.txt"));
        f->services().files.scriptSave(out);
        QVERIFY(run("SaveAsText", choice));

        // The switches a range disables count as off.
        Choice effective = choice;
        effective.ignorePaperFolder = effective.newPage
            = choice.scope == ExportScope::WholeFile && switchesOn;
        effective.contents = choice.scope != ExportScope::SelectedMemo && switchesOn;
        const QByteArray written = fileBytes(out);
        QCOMPARE(written, expected(effective, f->find(selected.toStdString())));
        const bool cp932 = encoding.compare(QLatin1String("CP932"), Qt::CaseInsensitive) == 0;
        const QByteArray mark = cp932 ? QByteArray("\x81\x9C") : QByteArray("●");
        if (marks == QLatin1String("kind"))
            QVERIFY(written.contains(mark + "A\r\n"));
        if (scope != int(ExportScope::SelectedTree))
            QVERIFY(written.contains(cp932 ? QByteArray("\x95\x5C second") : QByteArray("表 second")));
        if (scope == int(ExportScope::SelectedMemo))
            QVERIFY(written.contains("＋first line"));
    }

    void optionsWindowFollowsTheRange()
    {
        Document document;
        document.newDocument();
        Node* parent = document.createUserNode(document.documentNode(), 0, KindCategory, "P");
        Node* leaf = document.createUserNode(parent, 0, KindMemo, "L");
        TextExportOptions initial;
        initial.makeContents = initial.emptyLine = initial.ignorePaperFolder = initial.newPage = true;
        RecordingHelpService help;

        TTextOutOptions options(TTextOutOptions::Mode::Print, initial, leaf, help, nullptr);
        QCOMPARE(options.windowTitle(), QStringLiteral("外部ツールで印刷"));
        QVERIFY(options.scopeButton(ExportScope::WholeFile)->isChecked());
        QVERIFY(options.okButton()->isDefault());
        const QList<QCheckBox*> boxes = { box(options, "cbMakeContents"), box(options, "cbEmptyLine"),
            box(options, "cbIgnorePaperFolder"), box(options, "cbNewPage") };
        const auto enabled = [&] {
            QString flags;
            for (const QCheckBox* b : boxes)
                flags += b->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
            return flags + (options.okButton()->isEnabled() ? QLatin1Char('1') : QLatin1Char('0'));
        };
        for (const QCheckBox* b : boxes)
            QVERIFY(b->isChecked()); // as the settings have them
        QCOMPARE(enabled(), QStringLiteral("11111"));
        QCOMPARE(box(options, "cbEmptyLine")->toolTip(), QStringLiteral("タイトルと本文の間を１行あけます"));
        QCOMPARE(options.scopeButton(ExportScope::SelectedTree)->toolTip(),
            QStringLiteral("選択されているツリーのテキストを\nテキストファイルに保存・印刷します"));

        options.scopeButton(ExportScope::SelectedTree)->click();
        QCOMPARE(enabled(), QStringLiteral("11000")); // a leaf has no tree to write
        options.scopeButton(ExportScope::SelectedMemo)->click();
        QCOMPARE(enabled(), QStringLiteral("01001"));
        QCOMPARE(options.scope(), ExportScope::SelectedMemo);
        // Checked but disabled is off.
        const TextExportOptions chosen = options.options();
        QVERIFY(!chosen.makeContents && chosen.emptyLine && !chosen.ignorePaperFolder && !chosen.newPage);

        TTextOutOptions onTop(TTextOutOptions::Mode::Save, initial, document.documentNode(), help, nullptr);
        onTop.scopeButton(ExportScope::SelectedTree)->click();
        QCOMPARE(onTop.okButton()->isEnabled(), true);
        onTop.scopeButton(ExportScope::SelectedMemo)->click();
        QCOMPARE(onTop.okButton()->isEnabled(), false); // the document node has no text
        onTop.scopeButton(ExportScope::WholeFile)->click();
        QCOMPARE(onTop.options().newPage, true);
    }

    void printStartsTheToolOnAWorkFileInTemp()
    {
        openSample(QStringLiteral("my \"plan\".v2.nmd"));
        QVERIFY(f->isEnabled("PrintByEditor"));
        f->settings().set(key::PrintTool, std::string("lp"));
        f->settings().set(key::PrintOption, std::string("  -d \"office printer\"  "));
        QVERIFY(run("PrintByEditor", Choice {}));

        const QString work = temp() + QStringLiteral("/my \"plan\".v2.txt");
        QCOMPARE(fileBytes(work), expected(Choice {}, nullptr));
        QCOMPARE(f->services().launcher.count(), 1);
        QCOMPARE(f->services().launcher.last().program, QStringLiteral("lp"));
        QCOMPARE(f->services().launcher.last().arguments,
            QStringList({ QStringLiteral("-d"), QStringLiteral("office printer"), work }));
        QCOMPARE(f->prompt().count(), 0); // no dialog, no message
        QCOMPARE(f->services().files.count(), 0);

        // A tool named by its path is that program, blanks and all; an untitled document prints
        // as Untitled.txt.
        QDir().mkpath(f->path(QStringLiteral("my tools")));
        const QString tool = f->path(QStringLiteral("my tools/print"));
        QFile(tool).open(QIODevice::WriteOnly);
        f->settings().set(key::PrintTool, tool.toStdString());
        f->settings().set(key::PrintOption, std::string());
        QVERIFY(win().fileCommands().closeDocument());
        doc().createUserNode(doc().documentNode(), 0, KindMemo, "only");
        win().treePane()->setSelectedNode(doc().nodeAt(1));
        QVERIFY(run("PrintByEditor", Choice {}));
        QCOMPARE(f->services().launcher.last().program, tool);
        QCOMPARE(f->services().launcher.last().arguments,
            QStringList({ temp() + QStringLiteral("/Untitled.txt") }));
        QCOMPARE(
            fileBytes(temp() + QStringLiteral("/Untitled.txt")), QByteArray("only\r\n\r\n========\r\n\r\n"));
    }

    void missingToolsFailuresAndPreview()
    {
        openSample();
        // No print tool: told so before anything else.
        QVERIFY(!run("PrintByEditor", Choice {}));
        QCOMPARE(f->prompt().last().text, QString::fromUtf8(tool_messages::kNoTool));
        QCOMPARE(f->prompt().last().caption, QStringLiteral("お知らせ"));
        QCOMPARE(f->prompt().last().icon, MessageIcon::Information);
        QCOMPARE(f->services().launcher.count(), 0);

        // A print tool that does not start.
        f->settings().set(key::PrintTool, std::string("no-such-printer --now"));
        f->services().launcher.setSucceeds(false);
        QVERIFY(run("PrintByEditor", Choice {}));
        QCOMPARE(f->prompt().count(), 2);
        QCOMPARE(f->prompt().last().text,
            QString::fromUtf8(tool_messages::kCannotStart).arg(QStringLiteral("no-such-printer --now")));
        QCOMPARE(f->services().launcher.last().program, QStringLiteral("no-such-printer"));
        f->services().launcher.setSucceeds(true);

        // Cancel in the options window or in the save dialog writes nothing.
        f->settings().set(key::TextEditor, std::string("mousepad"));
        QVERIFY(run(
            "SaveAsText", [](TTextOutOptions&) {}, false));
        QCOMPARE(f->services().files.count(), 0);
        QVERIFY(run("SaveAsText", Choice {}));
        QCOMPARE(f->services().files.count(), 1);
        QCOMPARE(f->prompt().count(), 2);

        // A file that cannot be written: told why; the status bar is as it was.
        f->services().files.scriptSave(f->path(QStringLiteral("no-folder/out.txt")));
        QVERIFY(run("SaveAsText", Choice {}));
        QCOMPARE(f->prompt().count(), 3);
        QVERIFY(f->prompt().last().text.startsWith(QStringLiteral("ファイル ")
            + f->path(QStringLiteral("no-folder/out.txt")) + QStringLiteral(" に書き込めませんでした。")));
        QCOMPARE(f->prompt().last().icon, MessageIcon::Error);
        QVERIFY(!win().status().progressBar()->isVisible());
        QVERIFY(QApplication::overrideCursor() == nullptr);

        // With the preview the editor opens the file instead of the message; NoConfirm keeps quiet.
        const QString out = f->path(QStringLiteral("preview.txt"));
        f->settings().set(key::PreviewText, true);
        f->services().files.scriptSave(out);
        QVERIFY(run("SaveAsText", Choice {}));
        QCOMPARE(f->prompt().count(), 3);
        QCOMPARE(f->services().launcher.last().program, QStringLiteral("mousepad"));
        QCOMPARE(f->services().launcher.last().arguments, QStringList({ out }));
        QVERIFY(QFileInfo::exists(out));
        f->settings().set(key::PreviewText, false);
        f->settings().set(key::NoConfirm, true);
        f->services().files.scriptSave(out);
        QVERIFY(run("SaveAsText", Choice {}));
        QCOMPARE(f->prompt().count(), 3);
    }
};

QTEST_MAIN(TextOutTest)
#include "TextOutTest.moc"
