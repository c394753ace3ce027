// The window as a host of command sets: every command of the table is handled by a set or
// visibly not built yet, a new subsystem plugs in with one registration, and the help opens at
// the context of the focused control, in the window and in dialogs.
#include "app/ActionRegistry.h"
#include "app/ActionState.h"
#include "app/CommandSet.h"
#include "app/ContextHelp.h"
#include "app/HelpWindow.h"
#include "app/MainWindow.h"
#include "app/MenuBuilder.h"
#include "app/TreePane.h"
#include "core/document/Document.h"
#include "editor/TExtMemo.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>
#include <QtTest>

#include <stdexcept>

using namespace notarium;

namespace {

// The commands of subsystems that are not part of the window yet, in the command table's order. A
// subsystem that is built takes its events out of this list; an event that is neither here nor
// handled fails the test.
const QStringList kNotBuiltYet = {};

// A subsystem as a later issue adds one: a command, its enabling and a pop-up item. It takes an
// event no set of the window handles yet, so that triggering it runs nothing but the count.
class CountingCommands : public QObject, public CommandSet {
public:
    explicit CountingCommands(QString event)
        : m_event(std::move(event))
    {
    }
    int runs = 0;
    int passes = 0;
    int treePopups = 0;
    ActionRegistry* actions = nullptr;

    void connect(ActionRegistry& registry) override
    {
        actions = &registry;
        registry.connectEvent(m_event, this, [this](QAction*) { ++runs; });
    }
    void updateActions(const ActionState& state) override
    {
        ++passes;
        actions->setEventEnabled(m_event, state.hasContent);
    }
    void preparePopup(Popup popup, const ActionState&, Node* node) override
    {
        if (popup == Popup::Tree && node != nullptr)
            ++treePopups;
    }

private:
    QString m_event;
};

} // namespace

class CommandSetsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->start(true);
    }
    void cleanup() { f.reset(); }

    void everyCommandIsHandledOrVisiblyNotBuilt()
    {
        ActionRegistry& actions = f->window().actions();
        const QStringList unclaimed = actions.unclaimedEvents();
        QVERIFY2(unclaimed == kNotBuiltYet, qPrintable(unclaimed.join(QLatin1Char(' '))));
        for (const QString& event : kNotBuiltYet)
            for (const QAction* action : actions.actionsFor(event))
                QVERIFY2(!action->isEnabled(), qPrintable(action->objectName()));
    }

    void toolBarTogglesAreHandledToo()
    {
        auto* quick = f->window().findChild<QToolBar*>(QStringLiteral("QuickMemoToolbar"));
        QVERIFY(quick && quick->isHidden());
        f->trigger("mnToolbar4");
        QVERIFY(!quick->isHidden());
        f->trigger("mnToolbar4");
        QVERIFY(quick->isHidden());
    }

    void anEventTheTableDoesNotNameIsAnError()
    {
        ActionRegistry& actions = f->window().actions();
        bool thrown = false;
        try {
            actions.connectEvent(QStringLiteral("NoSuchCommandClick"), this, [](QAction*) { });
        } catch (const std::invalid_argument&) {
            thrown = true;
        }
        QVERIFY(thrown);
        QVERIFY(!actions.isClaimed(QStringLiteral("NoSuchCommandClick")));
    }

    void aNewSubsystemPlugsInWithOneRegistration()
    {
        if (kNotBuiltYet.isEmpty())
            QSKIP("every command of the table is built");
        const QString event = kNotBuiltYet.last();
        const QByteArray name = f->window().actions().actionsFor(event).first()->objectName().toLatin1();
        auto* counting = new CountingCommands(event);
        counting->setParent(&f->window());
        f->window().registerCommands(counting);
        // Connected, and its enabling follows the window's state from the first pass on.
        QVERIFY(!f->isEnabled(name.constData()));
        Document& doc = f->document();
        Node* memo = doc.appendNode(doc.documentNode(), "m", KindMemo);
        f->trigger("NewMemo");
        QVERIFY(f->isEnabled(name.constData()));
        f->trigger(name.constData());
        QCOMPARE(counting->runs, 1);
        const int passes = counting->passes;
        f->window().treePane()->setSelectedNode(memo);
        QVERIFY(counting->passes > passes);
        // The tree pop-up asks every set to prepare its items.
        emit f->window().treePane()->popupMenuAboutToShow(memo);
        QCOMPARE(counting->treePopups, 1);
    }

    void helpOpensAtTheFocusedPane()
    {
        RecordingHelpService& help = f->services().help;
        f->window().treePane()->setFocus();
        QTRY_VERIFY(f->window().treePane()->hasFocus());
        f->trigger("Contents1");
        QCOMPARE(help.last(), int(HelpWindow::TreePaneContext));
        f->window().memoPane()->setFocus();
        QTRY_VERIFY(f->window().memoPane()->hasFocus());
        f->trigger("Contents1");
        QCOMPARE(help.last(), int(HelpWindow::MemoPaneContext));
        f->trigger("SearchforHelpOn1");
        QCOMPARE(help.last(), RecordingHelpService::kSearch);
    }

    void dialogsOpenTheHelpOfTheirControls()
    {
        RecordingHelpService& help = f->services().help;
        QDialog dialog(&f->window());
        auto* layout = new QVBoxLayout(&dialog);
        auto* name = new QLineEdit;
        auto* ok = new QPushButton(QStringLiteral("OK"));
        layout->addWidget(name);
        layout->addWidget(ok);
        ContextHelp::setHelpContext(name, 41);
        new ContextHelp(&dialog, help, 40);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.activateWindow();
        name->setFocus();
        QTRY_VERIFY(name->hasFocus());
        QTest::keyClick(name, Qt::Key_F1);
        QCOMPARE(help.last(), 41);
        // A control without a context of its own has the dialog's; its right click offers help.
        ok->setFocus();
        QTRY_VERIFY(ok->hasFocus());
        QTest::keyClick(ok, Qt::Key_F1);
        QCOMPARE(help.last(), 40);
        const QPoint at = ok->rect().center();
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, ok->mapToGlobal(at));
        QApplication::sendEvent(ok, &click);
        auto* menu = dialog.findChild<QMenu*>(QStringLiteral("pmHelp"));
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 1);
        QCOMPARE(menu->actions().first()->text(), QStringLiteral("ヘルプ(&W)"));
        help.clear();
        menu->actions().first()->trigger();
        QCOMPARE(help.shown(), QList<int> { 40 });
        menu->close();
    }
};

QTEST_MAIN(CommandSetsTest)
#include "CommandSetsTest.moc"
