// The document life cycle without a window: what is asked, what is opened, what is locked.
#include "app/FileCommands.h"
#include "core/datafile/DataFile.h"
#include "core/document/Document.h"
#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"
#include "core/text/Cp932Codec.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <deque>

using namespace notarium;

namespace {

struct Shown {
    QString text;
    QString caption;
    MessageIcon icon;
    PromptButtons buttons;
};

class Prompts : public PromptService {
public:
    PromptAnswer ask(QWidget*, const QString& text, const QString& caption, MessageIcon icon,
        PromptButtons buttons) override
    {
        shown.push_back({ text, caption, icon, buttons });
        if (answers.empty())
            return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::Yes;
        const PromptAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void beep() override { ++beeps; }

    std::vector<Shown> shown;
    std::deque<PromptAnswer> answers;
    int beeps = 0;
};

class Dialogs : public FileDialogService {
public:
    QString openFileName(QWidget*, const QString& title, const QString&, const QString&, bool* readOnly) override
    {
        titles << title;
        readOnlyBoxShown << (readOnly != nullptr);
        if (readOnly != nullptr)
            *readOnly = tickReadOnly;
        return next();
    }
    QString saveFileName(
        QWidget*, const QString& title, const QString&, const QString&, const QString&) override
    {
        titles << title;
        return next();
    }
    QString next() { return paths.isEmpty() ? QString() : paths.takeFirst(); }

    QStringList paths;
    QStringList titles;
    QList<bool> readOnlyBoxShown;
    bool tickReadOnly = false;
};

class Launcher : public ProcessLauncher {
public:
    bool startDetached(const QString& program, const QStringList& arguments) override
    {
        started << (QStringList { program } + arguments);
        return true;
    }
    QList<QStringList> started;
};

// The window's side: a memo pane reduced to one string for the selected node.
class Host : public FileCommandsHost {
public:
    explicit Host(Document& doc)
        : m_doc(doc)
    {
    }
    QWidget* dialogParent() override { return nullptr; }
    void storeMemo() override
    {
        ++stores;
        if (selected && selected->data() && memoModified) {
            selected->data()->MemoStr = memo;
            m_doc.setModified(true);
            memoModified = false;
        }
    }
    void showDocument(Node* select) override
    {
        selected = select;
        memo = select && select->data() ? select->data()->MemoStr : std::string();
    }
    void restorePanes() override { }
    void showProgress(quint64, quint64) override { }
    int selectedIndex() override { return m_doc.absoluteIndex(selected); }

    void type(const std::string& text)
    {
        memo = text;
        memoModified = true;
    }

    Node* selected = nullptr;
    std::string memo;
    bool memoModified = false;
    int stores = 0;

private:
    Document& m_doc;
};

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Document> m_doc;
    std::unique_ptr<IniFile> m_ini;
    std::unique_ptr<Settings> m_settings;
    Prompts m_prompts;
    Dialogs m_dialogs;
    Launcher m_launcher;
    std::unique_ptr<Host> m_host;
    std::unique_ptr<FileCommands> m_files;

    QString path(const QString& name) const { return m_dir.filePath(name); }

    // A document with one memo "m" under the document node, written to name.
    QString makeFile(const QString& name, const std::string& body = "text\r\n")
    {
        Document doc;
        doc.newDocument();
        doc.appendNode(doc.documentNode(), "m", KindMemo)->data()->MemoStr = body;
        const QString file = path(name);
        const WriteResult written = writeDataFile(QFile::encodeName(file).toStdString(), doc, 1);
        Q_ASSERT(written.ok);
        return file;
    }

    QString lastText() const { return m_prompts.shown.empty() ? QString() : m_prompts.shown.back().text; }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_doc = std::make_unique<Document>();
        m_doc->newDocument();
        m_ini = std::make_unique<IniFile>();
        PlatformDefaults platform;
        platform.documentsFolder = m_dir.path().toStdString();
        m_settings = std::make_unique<Settings>(*m_ini, platform);
        m_prompts = Prompts();
        m_dialogs = Dialogs();
        m_launcher = Launcher();
        m_host = std::make_unique<Host>(*m_doc);
        m_files = std::make_unique<FileCommands>(
            *m_doc, *m_settings, Services { &m_prompts, &m_dialogs, &m_launcher }, *m_host);
        m_files->setProgramPath(QStringLiteral("/usr/bin/notarium"));
        m_files->resetToUntitled();
    }

    void cleanup()
    {
        m_files.reset();
        m_host.reset();
    }

    void newDocumentIsUntitled()
    {
        QCOMPARE(m_files->caption(), QStringLiteral("Untitled - Notarium"));
        QCOMPARE(m_doc->nodeCount(), std::size_t(2));
        QCOMPARE(m_host->selected, m_doc->documentNode());
        QVERIFY(m_files->recentFiles().paths().isEmpty());
    }

    void openingShowsTheFileAndLocksIt()
    {
        const QString file = makeFile(QStringLiteral("plan.nmd"));
        m_dialogs.paths << file;
        m_files->open(false);
        QCOMPARE(m_files->currentPath(), file);
        QCOMPARE(m_files->caption(), file + QStringLiteral(" - Notarium"));
        QCOMPARE(QString::fromStdString(m_doc->documentNode()->title()), QStringLiteral("plan"));
        QVERIFY(m_files->lock().isLocked());
        QVERIFY(!FileLock::canOpenForWriting(file));
        QVERIFY(m_prompts.shown.empty());
        // The open file is not offered for reopening.
        QVERIFY(m_files->recentFiles().menuEntries().isEmpty());
        QCOMPARE(m_dialogs.titles, QStringList { QStringLiteral("Notarium文書を開く") });
    }

    void fileInUseIsOfferedReadOnly_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes opens it read-only") << true;
        QTest::newRow("No keeps the current document") << false;
    }

    void fileInUseIsOfferedReadOnly()
    {
        QFETCH(bool, yes);
        const QString file = makeFile(QStringLiteral("shared.nmd"));
        FileLock otherWindow;
        QCOMPARE(otherWindow.lock(file), FileLock::Result::Locked);
        m_dialogs.paths << file;
        m_prompts.answers.push_back(yes ? PromptAnswer::Yes : PromptAnswer::No);
        m_files->open(false);
        QCOMPARE(m_prompts.shown.size(), std::size_t(1));
        QCOMPARE(m_prompts.shown[0].caption, QStringLiteral("ファイルは使用中です..."));
        QCOMPARE(m_prompts.shown[0].text,
            QStringLiteral("ファイル ") + file
                + QStringLiteral(" は\r\n別の Notarium または他のユーザーによって編集されています。\r\n"
                                 "このファイルを読み取り専用で開きますか？"));
        QCOMPARE(m_prompts.shown[0].icon, MessageIcon::Warning);
        QCOMPARE(m_prompts.shown[0].buttons, PromptButtons::YesNo);
        if (yes) {
            QVERIFY(m_doc->isReadOnly());
            QVERIFY(m_files->caption().endsWith(QStringLiteral(" [ReadOnly] - Notarium")));
            QVERIFY(!m_files->lock().isLocked());
        } else {
            QVERIFY(m_files->isUntitled());
            QCOMPARE(m_doc->nodeCount(), std::size_t(2));
        }
    }

    void readOnlyFileIsOpenedReadOnlyWithANotice()
    {
        const QString file = makeFile(QStringLiteral("ro.nmd"));
        QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        m_dialogs.paths << file;
        m_files->open(false);
        QVERIFY(m_doc->isReadOnly());
        QCOMPARE(lastText(), QStringLiteral("選択されたファイルは読み取り専用です。"));
        QCOMPARE(m_prompts.shown.back().caption, QStringLiteral("お知らせ"));
        // With fewer confirmations the notice is not shown.
        m_prompts.shown.clear();
        m_settings->set(key::NoConfirm, true);
        m_files->reopen(file, false);
        QVERIFY(m_doc->isReadOnly());
        QVERIFY(m_prompts.shown.empty());
    }

    void modifiedDocumentIsSavedOrNot_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Yes") << int(PromptAnswer::Yes) << true << true;
        QTest::newRow("No") << int(PromptAnswer::No) << true << false;
        QTest::newRow("Cancel") << int(PromptAnswer::Cancel) << false << false;
    }

    void modifiedDocumentIsSavedOrNot()
    {
        QFETCH(int, answer);
        QFETCH(bool, closed);
        QFETCH(bool, saved);
        const QString file = makeFile(QStringLiteral("edit.nmd"), "old\r\n");
        m_files->reopen(file, false);
        m_host->type("new\r\n");
        m_prompts.answers.push_back(PromptAnswer(answer));
        QCOMPARE(m_files->closeDocument(), closed);
        QCOMPARE(m_prompts.shown.back().caption, QStringLiteral("ファイル保存の確認"));
        QCOMPARE(m_prompts.shown.back().text,
            QStringLiteral("ファイル ") + file
                + QStringLiteral(" の内容が変更されています。\r\n変更を保存しますか？"));
        QCOMPARE(m_prompts.shown.back().buttons, PromptButtons::YesNoCancel);
        QCOMPARE(m_files->isUntitled(), closed);
        Document back;
        QVERIFY(readDataFile(QFile::encodeName(file).toStdString(), back).ok());
        QCOMPARE(back.nodeAt(1)->data()->MemoStr, saved ? std::string("new\r\n") : std::string("old\r\n"));
        if (!closed)
            QVERIFY(m_doc->isModified());
    }

    void saveOnUntitledAsksForANameAndCancelChangesNothing()
    {
        m_doc->appendNode(m_doc->documentNode(), "m", KindMemo);
        m_doc->setModified(true);
        m_files->save();
        QCOMPARE(m_dialogs.titles, QStringList { QStringLiteral("Notarium文書に名前を付けて保存") });
        QVERIFY(m_files->isUntitled());
        QVERIFY(m_doc->isModified());
        const QString file = path(QStringLiteral("named.nmd"));
        m_dialogs.paths << file;
        QVERIFY(m_files->save());
        QCOMPARE(m_files->currentPath(), file);
        QVERIFY(!m_doc->isModified());
        QVERIFY(m_files->lock().isLocked());
        QVERIFY(QFile::exists(file));
    }

    void failedSaveKeepsTheChangesAndSaysWhy()
    {
        const QString file = makeFile(QStringLiteral("keep.nmd"));
        m_files->reopen(file, false);
        m_host->type("changed\r\n");
        m_dialogs.paths << path(QStringLiteral("no/such/folder/x.nmd"));
        QVERIFY(!m_files->saveAs());
        QVERIFY(m_doc->isModified());
        QCOMPARE(m_files->currentPath(), file);
        QCOMPARE(m_prompts.shown.back().caption, QStringLiteral("ファイル I/O エラー"));
        QVERIFY(m_prompts.shown.back().text.startsWith(QStringLiteral("ファイルを保存できませんでした。")));
        QVERIFY(m_prompts.shown.back().text.contains(QStringLiteral("No such file or directory")));
        QVERIFY(m_files->lock().isLocked());
    }

    void reopenMenuFollowsTheOpenFile()
    {
        const QString a = makeFile(QStringLiteral("a.nmd"));
        const QString b = makeFile(QStringLiteral("b.nmd"));
        m_files->reopen(a, false);
        QVERIFY(m_files->recentFiles().menuEntries().isEmpty());
        m_files->reopen(b, false);
        QCOMPARE(m_files->recentFiles().menuEntries(), QStringList { a });
        // A file that disappeared is reported and leaves the menu.
        QFile::remove(a);
        m_files->reopen(a, false);
        QCOMPARE(m_prompts.shown.back().text, FileCommands::fileMissingText(a));
        QCOMPARE(m_prompts.shown.back().caption, QStringLiteral("ファイルエラー"));
        QVERIFY(!m_files->recentFiles().paths().contains(a));
        QCOMPARE(m_files->currentPath(), b);
    }

    void badFileGivesItsMessageAndAnUntitledDocument()
    {
        const QString file = path(QStringLiteral("bad.nmd"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("not a data file\r\n");
        out.close();
        m_files->reopen(file, false);
        QCOMPARE(lastText(), QStringLiteral("Notarium のデータファイルではありません。"));
        QVERIFY(m_files->isUntitled());
        QVERIFY(!m_files->lock().isLocked());
        QVERIFY(!m_files->recentFiles().paths().contains(file));
    }

    void shiftNewStartsAnotherWindow()
    {
        m_doc->setModified(true);
        m_files->newDocument(true);
        QCOMPARE(m_launcher.started.size(), 1);
        QCOMPARE(m_launcher.started[0],
            (QStringList { QStringLiteral("/usr/bin/notarium"), QStringLiteral("-N") }));
        QVERIFY(m_prompts.shown.empty());
        QVERIFY(m_doc->isModified());
    }

    void readOnlyBoxOfTheOpenDialog()
    {
        // Ticked in the open dialog: the file opens read-only without the in-use question, and
        // the box is offered unticked again next time.
        const QString file = makeFile(QStringLiteral("ticked.nmd"));
        m_dialogs.paths << file;
        m_dialogs.tickReadOnly = true;
        m_files->open(false);
        QVERIFY(m_doc->isReadOnly());
        QVERIFY(!m_files->lock().isLocked());
        QVERIFY(m_prompts.shown.empty());
        QCOMPARE(m_files->caption(), file + QStringLiteral(" [ReadOnly] - Notarium"));
        QCOMPARE(m_dialogs.readOnlyBoxShown, QList<bool> { true });

        // Open in another window passes the choice on as -R.
        m_dialogs.paths << file << file;
        m_files->openInOtherWindow();
        m_dialogs.tickReadOnly = false;
        m_files->openInOtherWindow();
        QCOMPARE(m_launcher.started.size(), 2);
        QCOMPARE(m_launcher.started[0],
            (QStringList { QStringLiteral("/usr/bin/notarium"), QStringLiteral("-R"), QStringLiteral("-N"), file }));
        QCOMPARE(m_launcher.started[1],
            (QStringList { QStringLiteral("/usr/bin/notarium"), QStringLiteral("-N"), file }));
        QCOMPARE(m_dialogs.readOnlyBoxShown, (QList<bool> { true, true, true }));
    }

    void droppingTheOwnFileAsksTheInUseQuestion()
    {
        const QString file = makeFile(QStringLiteral("own.nmd"));
        m_files->reopen(file, false);
        m_prompts.answers.push_back(PromptAnswer::No);
        m_files->dropFile(file);
        QCOMPARE(m_prompts.shown.back().caption, QStringLiteral("ファイルは使用中です..."));
        QCOMPARE(m_files->currentPath(), file);
        QVERIFY(!m_doc->isReadOnly());
    }

    void openCancelledKeepsTheLock()
    {
        const QString file = makeFile(QStringLiteral("held.nmd"));
        m_files->reopen(file, false);
        m_files->open(false);
        QVERIFY(m_files->lock().isLocked());
        QVERIFY(!FileLock::canOpenForWriting(file));
    }
};

QTEST_MAIN(FileCommandsTest)
#include "FileCommandsTest.moc"
