#include "editor/Cp932Chars.h"
#include "editor/ImeLineEdit.h"
#include "editor/TExtMemo.h"

#include <QApplication>
#include <QInputMethod>
#include <QInputMethodQueryEvent>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace notarium;

namespace {

// The memo and the title box, seen through what both offer.
struct Subject {
    QWidget* widget = nullptr;
    std::function<void(bool)> setOpen;
    std::function<bool()> isOpen;
    std::function<QString()> text;
    std::function<bool()> composing;
    std::function<void(const QString&)> setText; // as the program sets it
};

// A window holding both, each with the text "ab" and the caret after it.
class Window {
public:
    Window()
    {
        auto* layout = new QVBoxLayout(&widget);
        layout->addWidget(title);
        layout->addWidget(memo);
        title->setText(QStringLiteral("ab"));
        memo->setBytes("ab");
        memo->moveCursor(QTextCursor::End);
        widget.resize(400, 300);
        widget.show();
    }

    Subject subject(const QString& name)
    {
        if (name == QStringLiteral("memo"))
            return { memo, [this](bool open) { memo->setInputMethodOpen(open); },
                [this] { return memo->isInputMethodOpen(); }, [this] { return memo->toPlainText(); },
                [this] { return memo->isComposing(); },
                [this](const QString& text) { memo->setBytes(Cp932Chars::encode(text)); } };
        return { title, [this](bool open) { title->setInputMethodOpen(open); },
            [this] { return title->isInputMethodOpen(); }, [this] { return title->text(); },
            [this] { return title->isComposing(); }, [this](const QString& text) { title->setText(text); } };
    }

    QWidget widget;
    ImeLineEdit* title = new ImeLineEdit;
    TExtMemo* memo = new TExtMemo;
};

bool focus(QWidget& window, QWidget* widget)
{
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        return false;
    widget->setFocus();
    return widget->hasFocus();
}

QVariant ask(QWidget* widget, Qt::InputMethodQuery query)
{
    QInputMethodQueryEvent event(query);
    QApplication::sendEvent(widget, &event);
    return event.value(query);
}

void compose(QWidget* widget, const QString& preedit)
{
    QInputMethodEvent event(preedit, { { QInputMethodEvent::Cursor, static_cast<int>(preedit.size()), 1 } });
    QApplication::sendEvent(widget, &event);
}

void commit(QWidget* widget, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class InputMethodSwitchTest : public QObject {
    Q_OBJECT

private slots:
    void subjects_data();
    void queryAnswersFollowTheSwitch_data() { subjects_data(); }
    void queryAnswersFollowTheSwitch();
    void closingCommitsTheComposition_data() { subjects_data(); }
    void closingCommitsTheComposition();
    void memoFiltersTheCommittedComposition();
};

void InputMethodSwitchTest::subjects_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("focused");
    QTest::newRow("memo, focused") << QStringLiteral("memo") << true;
    QTest::newRow("memo, not focused") << QStringLiteral("memo") << false;
    QTest::newRow("title, focused") << QStringLiteral("title") << true;
    QTest::newRow("title, not focused") << QStringLiteral("title") << false;
}

void InputMethodSwitchTest::queryAnswersFollowTheSwitch()
{
    QFETCH(QString, name);
    QFETCH(bool, focused);
    Window window;
    const Subject s = window.subject(name);
    if (focused)
        QVERIFY(focus(window.widget, s.widget));
    QVERIFY(s.isOpen());
    QCOMPARE(s.widget->inputMethodQuery(Qt::ImEnabled), QVariant(true));
    const QVariant rectangle = ask(s.widget, Qt::ImCursorRectangle);
    const QVariant surrounding = ask(s.widget, Qt::ImSurroundingText);
    QVERIFY(rectangle.isValid());

    s.setOpen(false);
    QVERIFY(!s.isOpen());
    QCOMPARE(s.widget->inputMethodQuery(Qt::ImEnabled), QVariant(false));
    // Asked as the platform asks, in one event for several queries: only the one answer changes.
    QInputMethodQueryEvent several(Qt::ImEnabled | Qt::ImCursorRectangle | Qt::ImSurroundingText);
    QApplication::sendEvent(s.widget, &several);
    QCOMPARE(several.value(Qt::ImEnabled), QVariant(false));
    QCOMPARE(several.value(Qt::ImCursorRectangle), rectangle);
    QCOMPARE(several.value(Qt::ImSurroundingText), surrounding);
    if (focused)
        QCOMPARE(QInputMethod::queryFocusObject(Qt::ImEnabled, QVariant()), QVariant(false));
    // Keys still type while the input method is closed.
    QTest::keyClicks(s.widget, QStringLiteral("c"));
    if (focused)
        QCOMPARE(s.text(), QStringLiteral("abc"));

    s.setOpen(true);
    QCOMPARE(ask(s.widget, Qt::ImEnabled), QVariant(true));
    if (focused)
        QCOMPARE(QInputMethod::queryFocusObject(Qt::ImEnabled, QVariant()), QVariant(true));

    // Open restores the widget's own answer, which is "no" while it is disabled (the title box
    // of the document node).
    s.widget->setEnabled(false);
    QCOMPARE(ask(s.widget, Qt::ImEnabled), QVariant(false));
    s.setOpen(false);
    s.setOpen(true);
    QCOMPARE(ask(s.widget, Qt::ImEnabled), QVariant(false));
    s.widget->setEnabled(true);
    QCOMPARE(ask(s.widget, Qt::ImEnabled), QVariant(true));
}

void InputMethodSwitchTest::closingCommitsTheComposition()
{
    QFETCH(QString, name);
    QFETCH(bool, focused);
    Window window;
    const Subject s = window.subject(name);
    if (focused)
        QVERIFY(focus(window.widget, s.widget));

    // Closing with nothing being composed changes no text.
    s.setOpen(false);
    s.setOpen(true);
    QCOMPARE(s.text(), QStringLiteral("ab"));

    compose(s.widget, QStringLiteral("にほん"));
    QVERIFY(s.composing());
    QCOMPARE(s.text(), QStringLiteral("ab")); // pre-edit text is not text yet
    // Opening an open input method leaves the composition alone.
    s.setOpen(true);
    QVERIFY(s.composing());

    s.setOpen(false);
    QVERIFY(!s.composing());
    QCOMPARE(s.text(), QStringLiteral("abにほん"));
    // The last words of an input method that is being closed still arrive.
    commit(s.widget, QStringLiteral("ご"));
    QCOMPARE(s.text(), QStringLiteral("abにほんご"));
    s.setOpen(false);
    QCOMPARE(s.text(), QStringLiteral("abにほんご"));

    // A composition the input method ended itself is not committed again.
    s.setOpen(true);
    compose(s.widget, QStringLiteral("か"));
    commit(s.widget, QStringLiteral("下"));
    QVERIFY(!s.composing());
    s.setOpen(false);
    QCOMPARE(s.text(), QStringLiteral("abにほんご下"));

    // Nor is one the input method dropped (an empty pre-edit ends it).
    s.setOpen(true);
    compose(s.widget, QStringLiteral("き"));
    compose(s.widget, QString());
    s.setOpen(false);
    QCOMPARE(s.text(), QStringLiteral("abにほんご下"));

    // Text the program puts in (another page's) ends the composition: it does not land there.
    s.setOpen(true);
    compose(s.widget, QStringLiteral("く"));
    s.setText(QStringLiteral("new"));
    s.setOpen(false);
    QCOMPARE(s.text(), QStringLiteral("new"));
}

void InputMethodSwitchTest::memoFiltersTheCommittedComposition()
{
    // The composition is committed through the memo's own input path: what CP932 cannot hold
    // becomes 〓, as when the input method commits it.
    Window window;
    QVERIFY(focus(window.widget, window.memo));
    QSignalSpy spy(window.memo, &TExtMemo::unrepresentableReplaced);
    compose(window.memo, QStringLiteral("え😀"));
    window.memo->setInputMethodOpen(false);
    QCOMPARE(window.memo->toPlainText(), QStringLiteral("abえ〓"));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(window.memo->bytes(), std::string("ab\x82\xa6\x81\xac"));
}

QTEST_MAIN(InputMethodSwitchTest)
#include "InputMethodSwitchTest.moc"
