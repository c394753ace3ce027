// The window as the settings make it look and answer: the memo pane's edit area, marks, caret
// line and Tab key, the menus' images, the hints and the title box's input method.
#include "app/ActionRegistry.h"
#include "app/Appearance.h"
#include "app/MainWindow.h"
#include "app/MenuBuilder.h"
#include "app/TreePane.h"
#include "core/settings/Settings.h"
#include "editor/ImeLineEdit.h"
#include "editor/TExtMemo.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QStyle>
#include <QtTest>

using namespace notarium;

class AppearanceTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    TExtMemo& memo() { return *f->window().memoPane(); }
    int expectedArea() { return memo().width() - Appearance::kEditAreaInset; }

private slots:
    void init() { f = std::make_unique<WindowFixture>(); }
    void cleanup() { f.reset(); }

    void withoutTheCaretLineTextWrapsAtThePaneEdge()
    {
        f->start();
        f->window().resize(1280, 800);
        QVERIFY(!memo().EditArea().Enabled());
        QVERIFY(!memo().CaretMarker().Enabled);
        // The wrap column is at the viewport's right edge (a pixel or two inside), however wide
        // the pane.
        auto atTheEdge = [this] {
            const int gap = memo().viewport()->width() - qRound(memo().wrapColumn());
            return gap >= 0 && gap <= 4;
        };
        QTRY_VERIFY(atTheEdge());
        const int wide = memo().viewport()->width();
        f->window().resize(700, 500);
        QTRY_VERIFY(memo().viewport()->width() < wide);
        QTRY_VERIFY(atTheEdge());
    }

    void withTheCaretLineTheAreaFollowsThePaneWidth()
    {
        f->settings().set(key::ShowCaretLine, true);
        f->settings().set(key::LineColor, Colour(0x0000FF)); // red, as $00BBGGRR
        f->start();
        f->window().resize(1280, 800);
        QVERIFY(memo().EditArea().Enabled());
        QVERIFY(memo().CaretMarker().Enabled);
        QCOMPARE(memo().CaretMarker().Color, QColor(Qt::red));
        QTRY_COMPARE(memo().EditArea().Width(), expectedArea());
        // Text wraps at the marked column; only hanging characters may use the overflow zone.
        QCOMPARE(qRound(memo().wrapColumn()), memo().EditArea().Margin().Left() + memo().EditArea().Width());
        // A narrower window, a moved splitter and a maximised memo pane: the area follows each.
        f->window().resize(800, 600);
        QTRY_COMPARE(memo().EditArea().Width(), expectedArea());
        auto* splitter = f->window().findChild<QSplitter*>(QStringLiteral("Splitter1"));
        const int wide = memo().EditArea().Width();
        splitter->setSizes({ 400, 400 });
        QTRY_VERIFY(memo().EditArea().Width() != wide);
        QCOMPARE(memo().EditArea().Width(), expectedArea());
        const int before = memo().EditArea().Width();
        f->trigger("MemoMaximize1");
        QTRY_VERIFY(memo().EditArea().Width() > before);
        QCOMPARE(memo().EditArea().Width(), expectedArea());
    }

    void overflowIsTheWidthOfTheFullWidthSquare()
    {
        f->settings().set(key::MemoFontSize, 24);
        f->start();
        QCOMPARE(memo().EditArea().OverFlow(), QFontMetrics(memo().font()).horizontalAdvance(QChar(0x25A1)));
    }

    void marksTabKeyAndMenuImagesFollowTheSettings()
    {
        f->settings().set(key::ShowReturn, true);
        f->settings().set(key::CRLFColor, Colour(0x00FF00));
        f->settings().set(key::ReverseMarks, true);
        f->settings().set(key::TabControl, true);
        f->settings().set(key::NoMenuIcons, true);
        f->settings().set(key::NoTitle, true);
        f->start();
        for (const TEditMark* mark : { &memo().EditMarks().CrLf, &memo().EditMarks().Eot }) {
            QVERIFY(mark->Enabled);
            QCOMPARE(mark->Color, QColor(Qt::green));
            QVERIFY(mark->Reversed);
        }
        QVERIFY(memo().tabChangesFocus());
        QVERIFY(!f->action("Save1")->isIconVisibleInMenu());
        QVERIFY(!f->action("pmNewMemo")->isIconVisibleInMenu());
        QVERIFY(!f->window().findChild<QLabel*>(QStringLiteral("TitleLabel"))->isVisible());

        // Applying other settings later (as the options dialog will) undoes each of them.
        f->settings().set(key::ShowReturn, false);
        f->settings().set(key::TabControl, false);
        f->settings().set(key::NoMenuIcons, false);
        f->window().appearance().apply(f->settings());
        QVERIFY(!memo().EditMarks().CrLf.Enabled);
        QVERIFY(!memo().tabChangesFocus());
        QVERIFY(f->action("Save1")->isIconVisibleInMenu());
    }

    void hintsFollowTheSettings()
    {
        f->settings().set(key::HintPauseTime, 1234);
        f->start();
        QCOMPARE(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 1234);
        QVERIFY(f->window().appearance().hintsShown());
        // With hints off, no widget of the program gets to show a tool tip.
        f->settings().set(key::ShowHint, false);
        f->window().appearance().apply(f->settings());
        int shown = 0;
        struct Counter : QObject {
            int& count;
            explicit Counter(int& c) : count(c) { }
            bool eventFilter(QObject*, QEvent* event) override
            {
                if (event->type() == QEvent::ToolTip)
                    ++count;
                return false;
            }
        } counter(shown);
        QWidget* tree = f->window().treePane();
        tree->installEventFilter(&counter);
        QHelpEvent tip(QEvent::ToolTip, QPoint(5, 5), tree->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(tree, &tip);
        QCOMPARE(shown, 0);
        f->settings().set(key::ShowHint, true);
        f->window().appearance().apply(f->settings());
        QApplication::sendEvent(tree, &tip);
        QCOMPARE(shown, 1);
    }

    void titleBoxInputMethodFollowsTheSettings()
    {
        f->start();
        QVERIFY(f->window().titleEdit()->isInputMethodOpen());
        QVERIFY(memo().isInputMethodOpen());
        f->stop();
        f->settings().set(key::ImTitleOff, true);
        f->start();
        QVERIFY(!f->window().titleEdit()->isInputMethodOpen());
        QVERIFY(memo().isInputMethodOpen());
        // While a file dialog is shown both are closed; afterwards the settings hold again.
        bool closedMeanwhile = false;
        f->services().files.whileShown = [&] {
            closedMeanwhile = !f->window().titleEdit()->isInputMethodOpen() && !memo().isInputMethodOpen();
        };
        f->trigger("Open1");
        QVERIFY(closedMeanwhile);
        QVERIFY(!f->window().titleEdit()->isInputMethodOpen());
        QVERIFY(memo().isInputMethodOpen());
    }
};

QTEST_MAIN(AppearanceTest)
#include "AppearanceTest.moc"
