// The options dialog driven as a person would: every key of its simple controls set, OK pressed,
// then the settings file and the running window checked; Apply against OK; Cancel; a settings file
// another window wrote meanwhile; the folder questions; the page tree's keys; the history buttons.
#include "app/Appearance.h"
#include "app/FileCommands.h"
#include "app/MenuBuilder.h"
#include "app/TreePane.h"
#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"
#include "editor/TExtMemo.h"
#include "settings/TOptionDialog.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

using namespace notarium;

namespace {

std::string fileValue(const QString& path, const char* section, const char* key)
{
    IniFile ini;
    if (!ini.load(QFile::encodeName(path).toStdString()))
        return "<unreadable>";
    return ini.readString(section, key, "<missing>");
}

// One control of the dialog, what the test puts into it and what the file and the window then hold.
struct KeyCase {
    const char* control;
    QVariant value; // a bool for check boxes, an int for spin boxes, a string for text boxes
    const char* section;
    const char* key;
    std::string written;
    std::function<bool(WindowFixture&)> window;
};

using WindowCheck = std::function<bool(WindowFixture&)>;

WindowCheck setting(SettingKey<SettingType::Bool> key, bool value)
{
    return [key, value](WindowFixture& f) { return f.window().context().settings.get(key) == value; };
}

} // namespace

Q_DECLARE_METATYPE(WindowCheck)

class OptionDialogTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;
    QString iniPath;

    // Opens the dialog through its menu item; act runs on it while it is open, then the button
    // closes it (none: act closes it itself).
    void run(const std::function<void(TOptionDialog&)>& act, const char* button = "OKButton")
    {
        QVERIFY(f->whileModal("Option1", act, button));
    }

    static void put(TOptionDialog& dialog, const char* control, const QVariant& value)
    {
        QWidget* widget = dialog.findChild<QWidget*>(QString::fromLatin1(control));
        QVERIFY2(widget != nullptr, control);
        if (auto* box = qobject_cast<QCheckBox*>(widget))
            box->setChecked(value.toBool());
        else if (auto* spin = qobject_cast<QSpinBox*>(widget))
            spin->setValue(value.toInt());
        else if (auto* edit = qobject_cast<QLineEdit*>(widget))
            edit->setText(value.toString());
        else
            QFAIL(control);
    }

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        iniPath = f->path(QStringLiteral("notarium.ini"));
        f->useSettingsFile(iniPath);
        f->start();
    }
    void cleanup() { f.reset(); }

    void everyKeyReachesTheFileAndTheWindow_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("written");
        QTest::addColumn<WindowCheck>("window");
        const auto row = [](const char* control, QVariant value, const char* section, const char* key,
                             const char* written, WindowCheck window) {
            QTest::newRow(key) << QString::fromLatin1(control) << value << QString::fromLatin1(section)
                               << QString::fromLatin1(key) << QString::fromUtf8(written) << window;
        };
        const char* n = "Notarium";
        const char* t = "TreePane";
        const char* m = "MemoPane";
        // 全般
        row("cbShowHint", false, n, "ShowHint", "0", [](WindowFixture& f) { return !f.window().appearance().hintsShown(); });
        row("seHintPauseTime", 600, n, "HintPauseTime", "600", [](WindowFixture&) {
            return QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay) == 600;
        });
        row("cbNoTreeIcon", true, n, "NoTreeIcons", "1", [](WindowFixture& f) { return !f.window().treePane()->imagesShown(); });
        row("cbNoMenuIcon", true, n, "NoMenuIcons", "1",
            [](WindowFixture& f) { return !f.action("Save1")->isIconVisibleInMenu(); });
        row("cbNoTitle", true, n, "NoTitle", "1", [](WindowFixture& f) {
            return f.window().findChild<QLabel*>(QStringLiteral("TitleLabel"))->isHidden();
        });
        row("cbNoConfDlg", true, n, "NoConfirm", "1", setting(key::NoConfirm, true));
        row("cbControlIME", true, n, "ControlIME", "1", setting(key::ControlIME, true));
        row("cbSaveData", true, n, "SaveData", "1", setting(key::SaveData, true));
        // フォルダ
        row("cbBackupFile", true, n, "BackupFile", "1", setting(key::BackupFile, true));
        // ツリーペイン
        row("cbSaveTreeState", false, t, "SaveTreeState", "0", setting(key::SaveTreeState, false));
        row("cbSaveCurrentNode", false, t, "SaveCurrentNode", "0", setting(key::SaveCurrentNode, false));
        row("cbSaveBookmark", false, t, "SaveBookmark", "0", setting(key::SaveBookmark, false));
        row("cbNoChipHint", true, t, "NoChipHint", "1", [](WindowFixture& f) { return !f.window().treePane()->titleTips(); });
        row("cbSkipClosedTree", false, t, "SkipClosedTree", "0", setting(key::SkipClosedTree, false));
        row("cbRowSelect", true, t, "RowSelect", "1", [](WindowFixture& f) { return f.window().treePane()->rowSelect(); });
        row("cbNoButtons", true, t, "NoButtons", "1", [](WindowFixture& f) { return !f.window().treePane()->buttonsShown(); });
        row("cbHotTrack", true, t, "HotTrack", "1", [](WindowFixture& f) { return f.window().treePane()->hotTrack(); });
        // メモペイン
        row("seIndentSize", 6, m, "TabSize", "6", [](WindowFixture& f) { return f.window().memoPane()->TabWidth() == 6; });
        row("cbAutoIndent", false, n, "AutoIndent", "0", setting(key::AutoIndent, false));
        row("cbBSUnindent", false, n, "BSUnindent", "0", setting(key::BSUnindent, false));
        row("cbControlTab", true, m, "TabControl", "1", [](WindowFixture& f) { return f.window().memoPane()->tabChangesFocus(); });
        // 外部ツール
        row("TextEditor", QStringLiteral("mousepad"), n, "TextEditor", "mousepad",
            [](WindowFixture& f) { return f.window().context().settings.get(key::TextEditor) == "mousepad"; });
        row("Parameter", QStringLiteral("--line"), n, "TextOption", "--line",
            [](WindowFixture& f) { return f.window().context().settings.get(key::TextOption) == "--line"; });
        row("seWaitTime", 700, n, "WaitTime", "700",
            [](WindowFixture& f) { return f.window().context().settings.get(key::WaitTime) == 700; });
        row("cbBadEnv", true, n, "TextBadEnv", "1", setting(key::TextBadEnv, true));
        row("PrintTool", QStringLiteral("lpr"), n, "PrintTool", "lpr",
            [](WindowFixture& f) { return f.window().context().settings.get(key::PrintTool) == "lpr"; });
        row("PrintParam", QStringLiteral("-#2"), n, "PrintOption", "-#2",
            [](WindowFixture& f) { return f.window().context().settings.get(key::PrintOption) == "-#2"; });
    }

    void everyKeyReachesTheFileAndTheWindow()
    {
        QFETCH(QString, control);
        QFETCH(QVariant, value);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, written);
        QFETCH(WindowCheck, window);
        QVERIFY(!window(*f));
        run([&](TOptionDialog& dialog) {
            // The print options are kept only with a print tool.
            if (key == QStringLiteral("PrintOption"))
                put(dialog, "PrintTool", QStringLiteral("lp"));
            put(dialog, control.toLatin1().constData(), value);
        });
        QCOMPARE(QString::fromStdString(fileValue(iniPath, section.toLatin1().constData(), key.toLatin1().constData())),
            written);
        QVERIFY(window(*f));
    }

    void foldersAreCheckedAndCreatedInOrder()
    {
        const QString missing = f->path(QStringLiteral("new/deeper"));
        f->prompt().scriptAnswers({ PromptAnswer::No });
        bool stayed = false;
        run(
            [&](TOptionDialog& dialog) {
                put(dialog, "TemplateFolder", missing);
                dialog.findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
                // No: the dialog stays on the folder page with the box focused, nothing written.
                stayed = dialog.isVisible() && dialog.currentPage() == TOptionDialog::FolderPage
                    && dialog.focusWidget() == dialog.findChild<QLineEdit*>(QStringLiteral("TemplateFolder"));
                put(dialog, "cbNoConfDlg", true);
                dialog.findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
            },
            nullptr);
        QVERIFY(stayed);
        QCOMPARE(f->prompt().count(), 2);
        QCOMPARE(f->prompt().last().text,
            QStringLiteral("テンプレートフォルダに指定されたフォルダは存在しません。\r\nフォルダを作成しますか？"));
        QCOMPARE(f->prompt().last().caption, QStringLiteral("お知らせ"));
        // Yes the second time: made with its parents, then everything written.
        QVERIFY(QDir(missing).exists());
        QCOMPARE(fileValue(iniPath, "Notarium", "TemplateFolder"), missing.toStdString());
        QCOMPARE(fileValue(iniPath, "Notarium", "NoConfirm"), std::string("1"));
        QCOMPARE(f->window().fileCommands().defaultFolder(), f->path(QString()));
    }

    void applyWritesOnlyItsKeysAndCancelKeepsThem()
    {
        QAction* save = f->action("Save1");
        run(
            [&](TOptionDialog& dialog) {
                auto* apply = dialog.findChild<QPushButton*>(QStringLiteral("ApplyButton"));
                QVERIFY(!apply->isEnabled());
                put(dialog, "cbNoConfDlg", true); // OK only: Apply stays off
                QVERIFY(!apply->isEnabled());
                put(dialog, "cbNoMenuIcon", true);
                put(dialog, "seIndentSize", 2);
                QVERIFY(apply->isEnabled());
                apply->click();
                QVERIFY(!apply->isEnabled());
                QVERIFY(dialog.isVisible());
                QVERIFY(!save->isIconVisibleInMenu());
            },
            "CancelButton");
        QCOMPARE(fileValue(iniPath, "Notarium", "NoMenuIcons"), std::string("1"));
        QCOMPARE(fileValue(iniPath, "MemoPane", "TabSize"), std::string("2"));
        QCOMPARE(f->window().memoPane()->TabWidth(), 2);
        QCOMPARE(fileValue(iniPath, "Notarium", "NoConfirm"), std::string("<missing>"));
        QVERIFY(!f->window().context().settings.get(key::NoConfirm));
    }

    void cancelChangesNothing()
    {
        const QByteArray before = [&] {
            QFile file(iniPath);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        run([&](TOptionDialog& dialog) { put(dialog, "cbRowSelect", true); }, "CancelButton");
        QFile file(iniPath);
        QCOMPARE(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), before);
        QVERIFY(!f->window().treePane()->rowSelect());
    }

    void anotherWindowsKeysSurvive()
    {
        run([&](TOptionDialog& dialog) {
            // Another window writes while this dialog is open.
            SettingsStore other(QFile::encodeName(iniPath).toStdString(), PlatformDefaults {});
            QVERIFY(other.load());
            QVERIFY(other.update([](Settings& settings) { settings.setRecentFiles({ "/tmp/other.nmd" }); }).ok);
            put(dialog, "cbHotTrack", true);
        });
        QCOMPARE(fileValue(iniPath, "FileMRU", "0"), std::string("/tmp/other.nmd"));
        QCOMPARE(fileValue(iniPath, "TreePane", "HotTrack"), std::string("1"));
    }

    void withoutAFileTheDialogShowsTheDefaultsAndOkWritesThemAll()
    {
        QVERIFY(!QFile::exists(iniPath));
        bool defaults = false;
        run([&](TOptionDialog& dialog) {
            const auto checked = [&](const char* name) { return dialog.findChild<QCheckBox*>(QString::fromLatin1(name))->isChecked(); };
            defaults = checked("cbShowHint") && checked("cbAutoIndent") && !checked("cbBSUnindent")
                && checked("cbSaveTreeState") && !checked("cbExpandAll")
                && !dialog.findChild<QCheckBox*>(QStringLiteral("cbExpandAll"))->isEnabled()
                && dialog.findChild<QSpinBox*>(QStringLiteral("seWaitTime"))->value() == 2000
                && dialog.findChild<QSpinBox*>(QStringLiteral("seHintPauseTime"))->value() == 300
                && dialog.findChild<QLineEdit*>(QStringLiteral("DefaultFolder"))->text() == f->path(QString());
            // The resident mode needs the loader, which is not beside the program.
            defaults = defaults && !dialog.findChild<QCheckBox*>(QStringLiteral("cbTaskTray"))->isEnabled();
        });
        QVERIFY(defaults);
        for (const SettingRow& row : settingRows()) {
            if (row.section == "Window" || row.id == SettingId::ExchangeEncoding || row.id == SettingId::ImTitleOff
                || row.id == SettingId::Loaded || row.id == SettingId::Handle || row.id == SettingId::EnableCtrlAltKey
                || row.id == SettingId::PrintTool || row.id == SettingId::PrintOption)
                continue;
            QVERIFY2(fileValue(iniPath, std::string(row.section).c_str(), std::string(row.key).c_str()) != "<missing>",
                std::string(row.key).c_str());
        }
        // No print tool given: neither it nor its options are written.
        QCOMPARE(fileValue(iniPath, "Notarium", "PrintTool"), std::string("<missing>"));
    }

    void anEmptiedPrintToolKeepsTheStoredOne()
    {
        QVERIFY(f->store().update([](Settings& s) {
            s.set(key::PrintTool, std::string("lpr"));
            s.set(key::PrintOption, std::string("-#1"));
        }).ok);
        run([&](TOptionDialog& dialog) {
            put(dialog, "PrintTool", QString());
            put(dialog, "PrintParam", QStringLiteral("-#9"));
        });
        QCOMPARE(fileValue(iniPath, "Notarium", "PrintTool"), std::string("lpr"));
        QCOMPARE(fileValue(iniPath, "Notarium", "PrintOption"), std::string("-#1"));
    }

    void pageTreeKeysGoRound()
    {
        QList<int> pages;
        run([&](TOptionDialog& dialog) {
            // The keys go to whatever has the focus: the page tree first, then a page's control.
            const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
                QWidget* focused = dialog.focusWidget();
                QTest::keyClick(focused != nullptr ? focused : &dialog, key, modifiers);
            };
            pages << dialog.currentPage();
            // Shift+Tab arrives as Backtab.
            press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
            pages << dialog.currentPage();
            press(Qt::Key_PageDown, Qt::ControlModifier);
            pages << dialog.currentPage();
            press(Qt::Key_Tab, Qt::ControlModifier);
            pages << dialog.currentPage();
            press(Qt::Key_PageUp, Qt::ControlModifier);
            pages << dialog.currentPage();
            dialog.findChild<QPushButton*>(QStringLiteral("HelpButton"))->click();
        }, "CancelButton");
        QCOMPARE(pages, (QList<int> { 0, 11, 0, 1, 0 }));
        QCOMPARE(f->services().help.shown(), QList<int> { TOptionDialog::kFirstHelpContext });
    }

    void historyButtonsEraseAtOnce()
    {
        QVERIFY(f->store().update([](Settings& s) {
            s.setRecentFiles({ "/tmp/a.nmd" });
            s.setHistory(Settings::History::Find, { "abc" });
            s.setHistory(Settings::History::Replace, { "xyz" });
        }).ok);
        f->window().fileCommands().setRecentFiles({ QStringLiteral("/tmp/a.nmd") });
        f->prompt().scriptAnswers({ PromptAnswer::No, PromptAnswer::Yes, PromptAnswer::Yes });
        run([&](TOptionDialog& dialog) {
            auto* files = dialog.findChild<QPushButton*>(QStringLiteral("ClearFileHistory"));
            files->click(); // No
            QCOMPARE(fileValue(iniPath, "FileMRU", "0"), std::string("/tmp/a.nmd"));
            files->click();
            dialog.findChild<QPushButton*>(QStringLiteral("ClearSearchHistory"))->click();
        }, "CancelButton");
        QCOMPARE(f->prompt().prompts().at(0).text, QStringLiteral("ファイルの編集履歴を削除しますか？"));
        QCOMPARE(f->prompt().prompts().at(2).text, QStringLiteral("検索・置換の履歴を削除しますか？"));
        QCOMPARE(f->prompt().last().caption, QStringLiteral("確認"));
        QCOMPARE(fileValue(iniPath, "FileMRU", "0"), std::string("<missing>"));
        QCOMPARE(fileValue(iniPath, "FindHistory", "Text0"), std::string("<missing>"));
        QCOMPARE(fileValue(iniPath, "ReplHistory", "Text0"), std::string("<missing>"));
        QVERIFY(f->window().fileCommands().recentFiles().paths().isEmpty());
        QVERIFY(!f->window().menus().menu(QStringLiteral("Reopen1"))->isEnabled());
    }
};

QTEST_MAIN(OptionDialogTest)
#include "OptionDialogTest.moc"
