// The key customisation, driven through its menu item and the dialog's buttons and key box: the
// menu tree, assigning, removing and refusing keys, what reaches the window and the settings file,
// restoring the default key set, and Default.key agreeing with the command table.
#include "app/ActionRegistry.h"
#include "app/CommandTable.h"
#include "app/HelpWindow.h"
#include "app/MenuBuilder.h"
#include "app/ShortcutNumber.h"
#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"
#include "editor/ImeLineEdit.h"
#include "editor/TExtMemo.h"
#include "platform/AppPaths.h"
#include "settings/KeyCustomizeCommands.h"
#include "settings/TCustomizeForm.h"
#include "settings/THotKeyEdit.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

using namespace notarium;

namespace {

constexpr int kCtrl = 0x4000;
constexpr int kShift = 0x2000;
constexpr int kAlt = 0x8000;

QPushButton* button(const TCustomizeForm& form, const char* name)
{
    return form.findChild<QPushButton*>(QString::fromLatin1(name));
}

QString text(const TCustomizeForm& form, const char* name)
{
    if (auto* edit = form.findChild<QLineEdit*>(QString::fromLatin1(name)))
        return edit->text();
    return form.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

bool warningShown(const TCustomizeForm& form)
{
    return form.findChild<QLabel*>(QStringLiteral("WarningLabel"))->isVisible();
}

// A click on the command's node, as the person makes it.
void select(TCustomizeForm& form, const char* name)
{
    QTreeWidgetItem* item = form.itemFor(QString::fromLatin1(name));
    QVERIFY2(item, name);
    QTreeWidget* tree = form.menuTree();
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
    QCOMPARE(tree->currentItem(), item);
}

// Selects the command, types the key into the key box and presses Assign.
void assign(TCustomizeForm& form, const char* name, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    select(form, name);
    QTest::keyClick(form.newHotKey(), key, modifiers);
    button(form, "DefineButton")->click();
}

int tableDefault(const char* name)
{
    const CommandRow* row = CommandTable::row(name);
    if (row == nullptr || *row->shortcut == '\0')
        return 0;
    return shortcutFromKeySequence(
        QKeySequence::fromString(QString::fromUtf8(row->shortcut), QKeySequence::PortableText));
}

} // namespace

class KeyCustomizeTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    TMainForm1& win() { return f->window(); }
    QKeySequence keyOf(const char* name) { return f->action(name)->shortcut(); }
    KeyCustomizeCommands& commands() { return *win().findChild<KeyCustomizeCommands*>(); }

    // Opens the dialog through its menu item; check runs on it while it is open, then the button
    // named closeWith closes it unless check did. False when no dialog opened.
    bool run(const std::function<void(TCustomizeForm&)>& check, const char* closeWith = "OKButton")
    {
        return f->whileModal("KeyCustomize", check, closeWith);
    }

    void startWithFile()
    {
        f->useSettingsFile(f->path(QStringLiteral("notarium.ini")));
        f->start();
    }
    IniFile settingsFile()
    {
        IniFile ini;
        ini.load(QFile::encodeName(f->path(QStringLiteral("notarium.ini"))).toStdString());
        return ini;
    }

private slots:
    void init() { f = std::make_unique<WindowFixture>(); }
    void cleanup() { f.reset(); }

    void theTreeShowsTheMainMenu()
    {
        f->start();
        // The records take the menu's keys as they are now, not the table's.
        win().actions().applyShortcuts({ { QStringLiteral("CollapseTree"), QKeySequence(Qt::CTRL | Qt::Key_Plus) } });
        QVERIFY(run(
            [&](TCustomizeForm& form) {
                QCOMPARE(form.windowTitle(), QStringLiteral("キーカスタマイズ"));
                QVERIFY(QApplication::overrideCursor() == nullptr);
                QVERIFY(!win().titleEdit()->isInputMethodOpen());
                QVERIFY(!win().memoPane()->isInputMethodOpen());
                QVERIFY(qAbs(form.frameGeometry().center().x() - win().frameGeometry().center().x()) <= 1);

                QTreeWidget* tree = form.menuTree();
                QCOMPARE(tree->topLevelItemCount(), 1);
                QTreeWidgetItem* root = tree->topLevelItem(0);
                QCOMPARE(root->text(0), QStringLiteral("Notarium"));
                QStringList menus;
                for (int i = 0; i < root->childCount(); ++i)
                    menus << root->child(i)->text(0);
                QCOMPARE(menus,
                    QStringList({ QStringLiteral("ファイル"), QStringLiteral("編集"), QStringLiteral("メモ"),
                        QStringLiteral("表示"), QStringLiteral("ツール"), QStringLiteral("ヘルプ") }));
                // Every item of each menu in its order, separators left out; of the submenus'
                // items only the two with keys of their own.
                QList<QMenu*> mainMenus = win().menus().mainMenus();
                QStringList third;
                for (int m = 0; m < root->childCount(); ++m) {
                    QStringList expected;
                    for (QAction* item : mainMenus[m]->actions())
                        if (!item->isSeparator())
                            expected << item->objectName();
                    QStringList listed;
                    for (int i = 0; i < root->child(m)->childCount(); ++i) {
                        QTreeWidgetItem* item = root->child(m)->child(i);
                        listed << item->data(0, TCustomizeForm::NameRole).toString();
                        for (int j = 0; j < item->childCount(); ++j)
                            third << item->data(0, TCustomizeForm::NameRole).toString() + QLatin1Char('/')
                                    + item->child(j)->data(0, TCustomizeForm::NameRole).toString();
                    }
                    QCOMPARE(listed, expected);
                }
                QCOMPARE(third,
                    QStringList({ QStringLiteral("Template1/TemplateReg"), QStringLiteral("BookmarkMenu/BookList") }));
                QCOMPARE(form.itemFor(QStringLiteral("Open1"))->text(0), QStringLiteral("開く..."));
                QVERIFY(form.itemFor(QStringLiteral("Template1"))->isExpanded());
                QCOMPARE(tree->verticalScrollBar()->value(), 0);

                // The root, the menus and the items that open a submenu take no key.
                const auto takesKey = [&form] {
                    const bool on = form.newHotKey()->isEnabled();
                    for (const char* name : { "DefineButton", "RemoveButton" })
                        if (button(form, name)->isEnabled() != on)
                            return false;
                    return on && form.findChild<QLabel*>(QStringLiteral("Label3"))->isEnabled();
                };
                QCOMPARE(tree->currentItem(), root);
                QVERIFY(!takesKey());
                tree->setCurrentItem(root->child(1));
                QVERIFY(!takesKey());
                QCOMPARE(text(form, "CurrentKey"), QString());
                select(form, "Template1");
                QVERIFY(!takesKey());
                QCOMPARE(text(form, "MenuInfo"), QStringLiteral("テンプレートを登録・挿入します"));

                select(form, "NewChildCategory");
                QVERIFY(takesKey());
                QCOMPARE(text(form, "CurrentKey"), QStringLiteral("Ctrl + Shift + B"));
                QCOMPARE(text(form, "MenuInfo"), QStringLiteral("メモをまとめるカテゴリーを下の階層に作成します"));
                select(form, "CollapseTree");
                QCOMPARE(text(form, "CurrentKey"), QStringLiteral("Ctrl + +"));
                select(form, "TemplateReg");
                QVERIFY(takesKey());

                button(form, "HelpButton")->click();
                QCOMPARE(HelpWindow::contextUrl(f->services().help.last()).toString(),
                    QStringLiteral("qrc:/help/keys.html#ctx52"));
            },
            "CancelButton"));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(win().titleEdit()->isInputMethodOpen());
        QVERIFY(win().memoPane()->isInputMethodOpen());
    }

    void theKeyBoxTakesEveryKey()
    {
        f->start();
        QVERIFY(run([&](TCustomizeForm& form) {
            select(form, "NewMemo");
            THotKeyEdit* box = form.newHotKey();
            QCOMPARE(box->text(), QString());
            QTest::keyClick(box, Qt::Key_J, Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(box->text(), QStringLiteral("Ctrl + Shift + J"));
            QCOMPARE(box->shortcut(), kCtrl | kShift | 'J');
            // Keys that would close the dialog, press its buttons or edit are keys here.
            QTest::keyClick(box, Qt::Key_Escape);
            QCOMPARE(box->shortcut(), 0x1B);
            QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
            QCOMPARE(box->shortcut(), kCtrl | 0x0D);
            QTest::keyClick(box, Qt::Key_Backspace, Qt::AltModifier);
            QCOMPARE(box->shortcut(), kAlt | 0x08);
            QTest::keyClick(box, Qt::Key_Space, Qt::ShiftModifier);
            QCOMPARE(box->shortcut(), kShift | 0x20);
            QTest::keyClick(box, Qt::Key_Delete);
            QCOMPARE(box->shortcut(), 0x2E);
            QVERIFY(form.isVisible());
            // Alt+D is a key, not the assign button's mnemonic.
            QTest::keyClick(box, Qt::Key_D, Qt::AltModifier);
            QCOMPARE(box->shortcut(), kAlt | 'D');
            QCOMPARE(text(form, "CurrentKey"), QStringLiteral("Ctrl + M"));
            // Ctrl and Alt together are refused: the box keeps its key.
            QTest::keyClick(box, Qt::Key_J, Qt::ControlModifier | Qt::AltModifier);
            QCOMPARE(box->text(), QStringLiteral("Alt + D"));
            // Moving to another node empties the box.
            select(form, "Save1");
            QCOMPARE(box->shortcut(), 0);
        }, "CancelButton"));
        QCOMPARE(keyOf("NewMemo"), QKeySequence(Qt::CTRL | Qt::Key_M));

        // With the setting, read as the dialog opens, Ctrl and Alt together are taken.
        f->settings().set(key::EnableCtrlAltKey, true);
        QVERIFY(run([&](TCustomizeForm& form) {
            assign(form, "NewMemo", Qt::Key_J, Qt::ControlModifier | Qt::AltModifier);
            QCOMPARE(text(form, "CurrentKey"), QStringLiteral("Ctrl + Alt + J"));
        }));
        QCOMPARE(keyOf("NewMemo"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_J));
    }

    void assignAndRemoveReachTheWindowAndTheFile()
    {
        startWithFile();
        std::vector<CommandRecord> records;
        QVERIFY(run([&](TCustomizeForm& form) {
            // An empty box assigns nothing and shows no other command.
            select(form, "NewChildMemo");
            button(form, "DefineButton")->click();
            QCOMPARE(f->prompt().beeps(), 1);
            QCOMPARE(form.menuTree()->currentItem(), form.itemFor(QStringLiteral("NewChildMemo")));
            QVERIFY(!warningShown(form));
            QCOMPARE(text(form, "CurrentKey"), QStringLiteral("Ctrl + Shift + M"));

            assign(form, "NewChildMemo", Qt::Key_J, Qt::ControlModifier);
            QCOMPARE(text(form, "CurrentKey"), QStringLiteral("Ctrl + J"));
            QVERIFY(!warningShown(form));
            assign(form, "BookList", Qt::Key_F5, Qt::ShiftModifier);
            select(form, "Save1");
            button(form, "RemoveButton")->click();
            QCOMPARE(text(form, "CurrentKey"), QString());
            // The key Remove freed can be given to another command at once.
            assign(form, "SaveAs1", Qt::Key_S, Qt::ControlModifier);
            QVERIFY(!warningShown(form));
            records = form.records();
        }));
        QCOMPARE(keyOf("NewChildMemo"), QKeySequence(Qt::CTRL | Qt::Key_J));
        QCOMPARE(keyOf("BookList"), QKeySequence(Qt::SHIFT | Qt::Key_F5));
        QCOMPARE(keyOf("Save1"), QKeySequence());
        QCOMPARE(keyOf("SaveAs1"), QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(keyOf("N51"), QKeySequence(Qt::CTRL | Qt::Key_5));
        QCOMPARE(f->prompt().beeps(), 1);

        // Every listed command is in the file, the untouched ones with their keys.
        const IniFile ini = settingsFile();
        QStringList written;
        for (const auto& [name, value] : ini.values("ShortCutKeys"))
            written << QString::fromStdString(name);
        QStringList listed;
        for (const CommandRecord& record : records)
            listed << record.name;
        QCOMPARE(written, listed);
        QCOMPARE(ini.readString("ShortCutKeys", "NewChildMemo"), std::to_string(kCtrl | 'J'));
        QCOMPARE(ini.readString("ShortCutKeys", "Save1"), std::string("0"));
        QCOMPARE(ini.readString("ShortCutKeys", "New1"), std::to_string(kCtrl | 'N'));
        QCOMPARE(ini.readString("ShortCutKeys", "Reopen1"), std::string("0"));
    }

    void reservedAndUsedKeysAreRefused_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("holder"); // the command that has the key; empty for reserved
        QTest::newRow("Ctrl+5") << int(Qt::Key_5) << int(Qt::ControlModifier) << QString();
        QTest::newRow("Ctrl+Shift+0") << int(Qt::Key_0) << int(Qt::ControlModifier | Qt::ShiftModifier) << QString();
        QTest::newRow("Ctrl+S of Save1") << int(Qt::Key_S) << int(Qt::ControlModifier) << QStringLiteral("Save1");
        QTest::newRow("Ctrl+K of BookList") << int(Qt::Key_K) << int(Qt::ControlModifier) << QStringLiteral("BookList");
    }

    void reservedAndUsedKeysAreRefused()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, holder);
        f->start();
        QVERIFY(run([&](TCustomizeForm& form) {
            assign(form, "Find1", Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            QVERIFY(warningShown(form));
            QCOMPARE(f->prompt().beeps(), 1);
            QCOMPARE(form.findChild<QLabel*>(QStringLiteral("WarningLabel"))->text(),
                QStringLiteral("指定のキーは使われています"));
            if (holder.isEmpty()) {
                QCOMPARE(form.menuTree()->currentItem(), form.itemFor(QStringLiteral("Find1")));
                QCOMPARE(form.newHotKey()->shortcut(), 0);
                QCOMPARE(text(form, "CurrentKey"), QStringLiteral("Ctrl + F"));
            } else {
                // The command that has the key is shown.
                QCOMPARE(form.menuTree()->currentItem(), form.itemFor(holder));
                QCOMPARE(text(form, "CurrentKey"), THotKeyEdit::displayText(tableDefault(holder.toLatin1())));
            }
            // The warning goes with the next move.
            select(form, "New1");
            QVERIFY(!warningShown(form));
        }));
        QCOMPARE(keyOf("Find1"), QKeySequence(Qt::CTRL | Qt::Key_F));
    }

    void cancelChangesNothing()
    {
        startWithFile();
        QVERIFY(run([&](TCustomizeForm& form) {
            assign(form, "NewMemo", Qt::Key_J, Qt::ControlModifier);
            select(form, "New1");
            button(form, "RemoveButton")->click();
        }, "CancelButton"));
        QCOMPARE(keyOf("NewMemo"), QKeySequence(Qt::CTRL | Qt::Key_M));
        QCOMPARE(keyOf("New1"), QKeySequence(Qt::CTRL | Qt::Key_N));
        QVERIFY(!settingsFile().sectionExists("ShortCutKeys"));
    }

    void keysSurviveARestart()
    {
        startWithFile();
        QVERIFY(run([&](TCustomizeForm& form) { assign(form, "NewMemo", Qt::Key_J, Qt::ControlModifier); }));
        // A command the section does not name starts without a key.
        IniFile ini = settingsFile();
        ini.deleteKey("ShortCutKeys", "Find1");
        QVERIFY(ini.save(QFile::encodeName(f->path(QStringLiteral("notarium.ini"))).toStdString()));
        f->stop();
        f->useSettingsFile(f->path(QStringLiteral("notarium.ini")));
        f->start();
        QCOMPARE(keyOf("NewMemo"), QKeySequence(Qt::CTRL | Qt::Key_J));
        QCOMPARE(keyOf("Find1"), QKeySequence());
        QCOMPARE(keyOf("New1"), QKeySequence(Qt::CTRL | Qt::Key_N));
        QCOMPARE(keyOf("N110"), QKeySequence(Qt::CTRL | Qt::Key_1));
    }

    void restoringDefaultsWithoutTheFileTellsSo()
    {
        f->start();
        commands().setDefaultKeyFile(f->path(QStringLiteral("missing/Default.key")));
        f->prompt().scriptAnswers({ PromptAnswer::No, PromptAnswer::Yes });
        QVERIFY(run([&](TCustomizeForm& form) {
            assign(form, "NewMemo", Qt::Key_J, Qt::ControlModifier);
            button(form, "DefaultButton")->click(); // No
            QCOMPARE(f->prompt().count(), 1);
            const RecordingPromptService::Prompt question = f->prompt().last();
            QCOMPARE(question.text, QStringLiteral("キー定義をデフォルトに戻しますか？"));
            QCOMPARE(question.caption, QStringLiteral("キー定義を標準に戻す"));
            QCOMPARE(question.icon, MessageIcon::Question);
            QCOMPARE(question.buttons, PromptButtons::YesNo);
            button(form, "DefaultButton")->click(); // Yes, but there is no file
            QCOMPARE(f->prompt().count(), 3);
            QCOMPARE(f->prompt().last().text,
                QStringLiteral("デフォルトのキー設定ファイル \"Default.key\" が見つかりません。\r\n"
                               "このファイルは Notariumの配布アーカイブに含まれています。"));
            QCOMPARE(f->prompt().last().caption, QStringLiteral("エラー"));
            QCOMPARE(f->prompt().last().icon, MessageIcon::Error);
            QVERIFY(form.isVisible());
            QCOMPARE(text(form, "CurrentKey"), QStringLiteral("Ctrl + J"));
        }, "CancelButton"));
        QCOMPARE(keyOf("NewMemo"), QKeySequence(Qt::CTRL | Qt::Key_M));
    }

    void restoringDefaultsBringsTheKeysBackAtOnce()
    {
        startWithFile();
        QVERIFY(run([&](TCustomizeForm& form) {
            assign(form, "NewMemo", Qt::Key_J, Qt::ControlModifier);
            assign(form, "TemplateReg", Qt::Key_F6, Qt::NoModifier);
            select(form, "Save1");
            button(form, "RemoveButton")->click();
        }));
        QCOMPARE(keyOf("TemplateReg"), QKeySequence(Qt::Key_F6));
        QVERIFY(QFileInfo::exists(commands().defaultKeyFile()));
        bool closed = false;
        QVERIFY(run([&](TCustomizeForm& form) {
            button(form, "DefaultButton")->click();
            closed = !form.isVisible();
        }));
        QVERIFY(closed);
        QCOMPARE(keyOf("NewMemo"), QKeySequence(Qt::CTRL | Qt::Key_M));
        QCOMPARE(keyOf("Save1"), QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(keyOf("TemplateReg"), QKeySequence(Qt::CTRL | Qt::Key_T));
        QVERIFY(QApplication::overrideCursor() == nullptr);
        // The section is Default.key's, line for line.
        IniFile defaults;
        QVERIFY(defaults.load(QFile::encodeName(commands().defaultKeyFile()).toStdString()));
        QCOMPARE(settingsFile().values("ShortCutKeys"), defaults.values("ShortCutKeys"));
    }

    void theDefaultKeyFileHoldsTheCommandTable()
    {
        f->start();
        const QString path = AppPaths::dataFile(QStringLiteral("Default.key"));
        QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
        IniFile file;
        QVERIFY(file.load(QFile::encodeName(path).toStdString()));
        QCOMPARE(file.sections(), std::vector<std::string>({ "ShortCutKeys" }));
        // The same commands as the dialog lists, in its order, each with the table's key.
        IniFile::KeyValues expected;
        QVERIFY(run([&](TCustomizeForm& form) {
            for (const CommandRecord& record : form.records())
                expected.emplace_back(record.name.toStdString(),
                    std::to_string(tableDefault(record.name.toLatin1().constData())));
        }, "CancelButton"));
        QCOMPARE(file.values("ShortCutKeys"), expected);
        QCOMPARE(file.readString("ShortCutKeys", "TreeDelete"), std::to_string(kCtrl | 0x2E));
        QCOMPARE(file.readString("ShortCutKeys", "BookList"), std::to_string(kCtrl | 'K'));
    }
};

QTEST_MAIN(KeyCustomizeTest)
#include "KeyCustomizeTest.moc"
