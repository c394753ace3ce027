#include "search/TWinRoller.h"

#include <QAbstractButton>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <stdexcept>

using namespace notarium;

namespace {

const QString kRollUpTip = QStringLiteral("ウィンドウを巻き上げる");
const QString kRollDownTip = QStringLiteral("ウィンドウを元に戻す");

// A small tool window as the find windows build it: the title area at the very top, then the
// controls.
struct ToolWindow {
    explicit ToolWindow(Qt::WindowFlags flags = {})
        : form(nullptr, flags)
    {
        form.setWindowTitle(QStringLiteral("検索"));
        roller = new TWinRoller(&form);
        auto* layout = new QVBoxLayout(&form);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(roller->titleArea());
        layout->addWidget(new QLineEdit);
        content = new QPlainTextEdit;
        layout->addWidget(content);
        form.setGeometry(100, 120, 300, 200);
    }

    bool show()
    {
        form.show();
        return QTest::qWaitForWindowExposed(&form);
    }

    QAbstractButton* button() const
    {
        return form.findChild<QAbstractButton*>(QStringLiteral("RollerButton"));
    }
    int captionHeight() const { return roller->titleArea()->height(); }

    QWidget form;
    TWinRoller* roller;
    QPlainTextEdit* content;
};

// Pixels of one colour in the upper and the lower half of the button, inside its border.
QPair<int, int> countInHalves(QAbstractButton* button, const QColor& colour)
{
    const QImage image = button->grab().toImage();
    const int halfway = image.height() / 2;
    QPair<int, int> counts { 0, 0 };
    for (int y = 3; y < image.height() - 3; ++y)
        for (int x = 3; x < image.width() - 3; ++x)
            if (image.pixel(x, y) == colour.rgb())
                ++(y < halfway ? counts.first : counts.second);
    return counts;
}

// The offscreen platform says on every resize of a window with limits that it keeps no limits.
QtMessageHandler g_previousHandler = nullptr;

void dropPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!message.startsWith(QLatin1String("This plugin does not support")))
        g_previousHandler(type, context, message);
}

} // namespace

class WinRollerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { g_previousHandler = qInstallMessageHandler(dropPlatformNotes); }
    void rollsUpToTheCaptionAndBack();
    void buttonClicksOnlyOnAReleaseOverIt();
    void arrowsShowTheState();
    void blockedRequestsDoNothing();
    void remainHeightShowsMoreOfTheWindow();
    void rolledWindowKeepsItsHeightWhenResized();
    void heightLimitsComeBack_data();
    void heightLimitsComeBack();
    void ownerMustBeAWindow();
};

void WinRollerTest::rollsUpToTheCaptionAndBack()
{
    ToolWindow w;
    QVERIFY(w.show());
    QSignalSpy rolled(w.roller, &TWinRoller::OnRoller);
    const QRect before = w.form.geometry();
    const QRect contentBefore = w.content->geometry();
    QCOMPARE(w.button()->toolTip(), kRollUpTip);

    w.roller->setRoller(true);
    QVERIFY(w.roller->Roller());
    QCOMPARE(w.roller->rolledHeight(), w.captionHeight() + 3);
    QCOMPARE(w.form.geometry(), QRect(before.topLeft(), QSize(before.width(), w.captionHeight() + 3)));
    QCOMPARE(rolled.count(), 1);
    QCOMPARE(rolled.at(0).at(0).toBool(), true);
    QCOMPARE(w.button()->toolTip(), kRollDownTip);
    // Cut off, not squeezed into the few rows left.
    QCOMPARE(w.content->geometry(), contentBefore);

    // The end of the rolled window: button face, then the raised edge.
    const QImage image = w.form.grab().toImage();
    const int bottom = image.height() - 1;
    QCOMPARE(image.height(), w.form.height());
    QCOMPARE(image.pixel(150, bottom), w.form.palette().color(QPalette::Shadow).rgb());
    QCOMPARE(image.pixel(150, bottom - 1), w.form.palette().color(QPalette::Dark).rgb());
    QCOMPARE(image.pixel(150, bottom - 2), w.form.palette().color(QPalette::Button).rgb());

    w.roller->setRoller(true);
    QCOMPARE(rolled.count(), 1);

    w.roller->setRoller(false);
    QCOMPARE(w.form.geometry(), before);
    QCOMPARE(rolled.count(), 2);
    QCOMPARE(rolled.at(1).at(0).toBool(), false);
    QCOMPARE(w.button()->toolTip(), kRollUpTip);
    w.roller->setRoller(false);
    QCOMPARE(rolled.count(), 2);
    QTRY_COMPARE(w.content->geometry(), contentBefore);
}

void WinRollerTest::buttonClicksOnlyOnAReleaseOverIt()
{
    ToolWindow w;
    QVERIFY(w.show());
    QSignalSpy rolled(w.roller, &TWinRoller::OnRoller);
    QAbstractButton* button = w.button();
    QVERIFY(button && button->isVisible());
    const QPoint inside = button->rect().center();
    const QPoint outside(-30, inside.y());

    QTest::mouseClick(button, Qt::LeftButton, {}, inside);
    QVERIFY(w.roller->Roller());
    QTest::mouseClick(button, Qt::LeftButton, {}, inside);
    QVERIFY(!w.roller->Roller());
    QCOMPARE(rolled.count(), 2);

    // The pushed look follows the pointer while the button is held; released outside, nothing.
    QTest::mousePress(button, Qt::LeftButton, {}, inside);
    QVERIFY(button->isDown());
    QTest::mouseMove(button, outside);
    QVERIFY(!button->isDown());
    QTest::mouseMove(button, inside);
    QVERIFY(button->isDown());
    QTest::mouseMove(button, outside);
    QTest::mouseRelease(button, Qt::LeftButton, {}, outside);
    QVERIFY(!button->isDown());
    QVERIFY(!w.roller->Roller());
    QCOMPARE(rolled.count(), 2);

    // A double click: press, release, double click, release. One roll.
    QTest::mousePress(button, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(button, Qt::LeftButton, {}, inside);
    QTest::mouseDClick(button, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(button, Qt::LeftButton, {}, inside);
    QVERIFY(w.roller->Roller());
    QCOMPARE(rolled.count(), 3);
    QVERIFY(!button->isDown());
}

void WinRollerTest::arrowsShowTheState()
{
    ToolWindow w;
    QVERIFY(w.show());
    QAbstractButton* button = w.button();

    // Rolled down the upper triangle is the filled one; rolled up the lower one.
    auto black = countInHalves(button, Qt::black);
    QVERIFY(black.first > black.second && black.second > 0);
    w.roller->setRoller(true);
    black = countInHalves(button, Qt::black);
    QVERIFY(black.second > black.first && black.first > 0);

    // Disabled: engraved in the shadow colour over a white copy, no black.
    w.roller->setEnabled(false);
    QVERIFY(!button->isEnabled());
    QCOMPARE(countInHalves(button, Qt::black), qMakePair(0, 0));
    const auto shadow = countInHalves(button, button->palette().color(QPalette::Disabled, QPalette::Dark));
    QVERIFY(shadow.second > shadow.first && shadow.first > 0);
    const auto white = countInHalves(button, Qt::white);
    QVERIFY(white.first > 0 && white.second > 0);
}

void WinRollerTest::blockedRequestsDoNothing()
{
    {
        ToolWindow w;
        QVERIFY(w.show());
        QSignalSpy rolled(w.roller, &TWinRoller::OnRoller);
        w.roller->setEnabled(false);
        QVERIFY(!w.button()->isEnabled());
        QTest::mouseClick(w.button(), Qt::LeftButton);
        w.roller->setRoller(true);
        QVERIFY(!w.roller->Roller());
        QCOMPARE(w.form.height(), 200);
        QCOMPARE(rolled.count(), 0);

        // Disabled while rolled up: it stays up.
        w.roller->setEnabled(true);
        w.roller->setRoller(true);
        w.roller->setEnabled(false);
        w.roller->setRoller(false);
        QVERIFY(w.roller->Roller());
        QCOMPARE(w.form.height(), w.roller->rolledHeight());
    }
    {
        ToolWindow w;
        QVERIFY(w.show());
        QSignalSpy rolled(w.roller, &TWinRoller::OnRoller);
        w.roller->setRoller(true);
        // Hidden while rolled up: rolled down first, never left without a button.
        w.roller->setVisible(false);
        QVERIFY(w.button()->isHidden());
        QVERIFY(!w.roller->Roller());
        QCOMPARE(w.form.height(), 200);
        QCOMPARE(rolled.count(), 2);
        w.roller->setRoller(true);
        QVERIFY(!w.roller->Roller());
        QCOMPARE(rolled.count(), 2);
        w.roller->setVisible(true);
        QVERIFY(w.button()->isVisible());
    }
    {
        // Without a border there is no button, but the program still rolls the window.
        ToolWindow w(Qt::Tool | Qt::FramelessWindowHint);
        QVERIFY(w.show());
        QVERIFY(w.button()->isHidden());
        w.roller->setRoller(true);
        QCOMPARE(w.form.height(), w.roller->rolledHeight());
    }
}

void WinRollerTest::remainHeightShowsMoreOfTheWindow()
{
    ToolWindow w;
    QVERIFY(w.show());
    w.roller->setRoller(true);
    const int bare = w.form.height();
    w.roller->setRoller(false);

    w.roller->setRemainHeight(20);
    w.roller->setRoller(true);
    QCOMPARE(w.form.height(), bare + 20);
    w.roller->setRemainHeight(5);
    QCOMPARE(w.form.height(), bare + 5);
    QCOMPARE(w.form.minimumHeight(), bare + 5);
    QCOMPARE(w.form.maximumHeight(), bare + 5);
    w.roller->setRoller(false);
    QCOMPARE(w.form.height(), 200);
}

void WinRollerTest::rolledWindowKeepsItsHeightWhenResized()
{
    ToolWindow w;
    QVERIFY(w.show());
    w.roller->setRemainHeight(10);
    w.roller->setRoller(true);
    const int rolledHeight = w.form.height();
    QCOMPARE(rolledHeight, w.roller->rolledHeight());

    w.form.resize(420, 400);
    QCOMPARE(w.form.size(), QSize(420, rolledHeight));
    QVERIFY(w.roller->Roller());
    QCOMPARE(w.content->width(), 420);
    QCOMPARE(w.roller->titleArea()->width(), 420);
    QCOMPARE(
        w.form.grab().toImage().pixel(410, rolledHeight - 1), w.form.palette().color(QPalette::Shadow).rgb());

    w.roller->setRoller(false);
    QCOMPARE(w.form.size(), QSize(420, 200));
}

void WinRollerTest::heightLimitsComeBack_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::newRow("the layout's") << 0 << QWIDGETSIZE_MAX;
    QTest::newRow("the window's own") << 150 << 260;
}

void WinRollerTest::heightLimitsComeBack()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    ToolWindow w;
    w.form.setMinimumHeight(minimum);
    w.form.setMaximumHeight(maximum);
    QVERIFY(w.show());
    const QSize minimumBefore = w.form.minimumSize();
    const QSize maximumBefore = w.form.maximumSize();

    w.roller->setRoller(true);
    QCOMPARE(w.form.height(), w.roller->rolledHeight());
    w.roller->setRoller(false);
    QCOMPARE(w.form.minimumSize(), minimumBefore);
    QCOMPARE(w.form.maximumSize(), maximumBefore);
    QCOMPARE(w.form.height(), 200);

    // A minimum that came from the layout still follows the controls; the window's own stays.
    w.content->setMinimumSize(250, 180);
    w.form.layout()->activate();
    const QSize layoutMinimum = w.form.layout()->totalMinimumSize();
    QCOMPARE(w.form.minimumWidth(), layoutMinimum.width());
    QCOMPARE(w.form.minimumHeight(), minimum ? minimum : layoutMinimum.height());
}

void WinRollerTest::ownerMustBeAWindow()
{
    QWidget window;
    QWidget child(&window);
    for (QWidget* owner : { &child, static_cast<QWidget*>(nullptr) }) {
        try {
            TWinRoller roller(owner);
            QFAIL("a roller for a widget that is not a window");
        } catch (const std::invalid_argument& error) {
            QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Class of the owner is not a TForm!"));
        }
    }
    QVERIFY(window.children().contains(&child) && window.children().size() == 1);
}

QTEST_MAIN(WinRollerTest)
#include "WinRollerTest.moc"
