// The Enter-moves-on controls in a dialog: Enter goes to the next control, or with ReturnNext off
// to the dialog's default button; the long-item hint of the two lists.
#include "editor/TListBoxHintWindow.h"
#include "editor/TRetCheckListBox.h"
#include "editor/TRetEdit.h"
#include "editor/TRetListBox.h"
#include "editor/TRetRadioButton.h"

#include <QApplication>
#include <QDialog>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QtTest>

using namespace notarium;

namespace {

const QString kLong = QStringLiteral("an item far too long for the narrow list it is in, by a long way");

QWidget* makeControl(const QString& kind, bool returnNext)
{
    if (kind == u"edit") {
        auto* edit = new TRetEdit;
        edit->setReturnNext(returnNext);
        return edit;
    }
    if (kind == u"list") {
        auto* list = new TRetListBox;
        list->addItems({ QStringLiteral("one"), QStringLiteral("two") });
        list->setReturnNext(returnNext);
        return list;
    }
    if (kind == u"radio") {
        auto* radio = new TRetRadioButton(QStringLiteral("radio"));
        radio->setReturnNext(returnNext);
        return radio;
    }
    auto* list = new TRetCheckListBox;
    list->addCheckItem(QStringLiteral("one"), true);
    list->setReturnNext(returnNext);
    return list;
}

// Rests the mouse on the list at y (viewport coordinates), as the tooltip timer does.
void restAt(QListWidget& list, int y)
{
    const QPoint at(20, y);
    QHelpEvent event(QEvent::ToolTip, at, list.viewport()->mapToGlobal(at));
    QApplication::sendEvent(list.viewport(), &event);
}

void moveTo(QListWidget& list, int y)
{
    const QPointF at(20, y);
    QMouseEvent event(QEvent::MouseMove, at, list.viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
        Qt::NoModifier);
    QApplication::sendEvent(list.viewport(), &event);
}

bool hintShown(const QListWidget& list)
{
    const auto* hint = list.findChild<TListBoxHintWindow*>();
    return hint != nullptr && hint->isVisible();
}

} // namespace

class RetControlsTest : public QObject {
    Q_OBJECT

private slots:
    void enterMovesOnOrPressesTheDefaultButton_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char* kind : { "edit", "list", "radio", "checklist" })
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }

    void enterMovesOnOrPressesTheDefaultButton()
    {
        QFETCH(QString, kind);
        for (const bool returnNext : { true, false }) {
            QDialog dialog;
            auto* layout = new QVBoxLayout(&dialog);
            QWidget* control = makeControl(kind, returnNext);
            auto* next = new QLineEdit;
            auto* ok = new QPushButton(QStringLiteral("OK"));
            ok->setDefault(true);
            QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
            layout->addWidget(control);
            layout->addWidget(next);
            layout->addWidget(ok);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            control->setFocus();
            QTRY_VERIFY(control->hasFocus());
            QTest::keyClick(control, Qt::Key_Return);
            if (returnNext) {
                QVERIFY2(next->hasFocus(), qPrintable(kind));
                QCOMPARE(dialog.result(), int(QDialog::Rejected));
                QVERIFY(dialog.isVisible());
            } else {
                QCOMPARE(dialog.result(), int(QDialog::Accepted));
            }
        }
    }

    void aLongItemShowsItsWholeTextOverTheItem()
    {
        TRetListBox list;
        // Items as high as their text, so the line of text is the item.
        const QFontMetrics metrics(list.font());
        list.setItemHeight(metrics.height());
        list.resize(120, 100);
        for (int i = 0; i < 20; ++i)
            list.addItem(i % 3 == 1 ? kLong + QString::number(i) : QStringLiteral("short %1").arg(i));
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));

        // Row 1 is long: the hint covers it, its frame one pixel outside, sized to the text.
        const QRect item = list.visualRect(list.model()->index(1, 0));
        QCOMPARE(item.height(), metrics.height());
        restAt(list, item.center().y());
        QVERIFY(hintShown(list));
        const auto* hint = list.findChild<TListBoxHintWindow*>();
        QCOMPARE(hint->text(), kLong + QStringLiteral("1"));
        const QPoint corner = list.viewport()->mapToGlobal(item.topLeft()) - QPoint(1, 1);
        QCOMPARE(hint->geometry(),
            QRect(corner, QSize(metrics.horizontalAdvance(hint->text()) + 5, metrics.height() + 2)));
        QCOMPARE(hint->font(), list.font());

        // Moving within the item keeps it; onto another item takes it away.
        moveTo(list, item.top() + 1);
        QVERIFY(hintShown(list));
        moveTo(list, item.bottom() + 2);
        QVERIFY(!hintShown(list));
        // An item that fits shows nothing.
        restAt(list, list.visualRect(list.model()->index(2, 0)).center().y());
        QVERIFY(!hintShown(list));

        // Scrolled, the row under the mouse is the one shown there: row 4 at the top.
        list.verticalScrollBar()->setValue(4);
        QTRY_COMPARE(list.indexAt(QPoint(1, 1)).row(), 4);
        restAt(list, 8);
        QVERIFY(hintShown(list));
        QCOMPARE(hint->text(), kLong + QStringLiteral("4"));
        QCOMPARE(hint->geometry().top(), list.viewport()->mapToGlobal(QPoint(0, 0)).y() - 1);
    }

    void aCheckListHintLeavesTheCheckBoxVisible()
    {
        TRetCheckListBox list;
        list.resize(140, 80);
        list.addCheckItem(QStringLiteral("fits"), true);
        list.addCheckItem(kLong);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        restAt(list, list.visualRect(list.model()->index(0, 0)).center().y());
        QVERIFY(!hintShown(list));
        const QRect item = list.visualRect(list.model()->index(1, 0));
        restAt(list, item.center().y());
        QVERIFY(hintShown(list));
        const QRect hint = list.findChild<TListBoxHintWindow*>()->geometry();
        const QRect row(list.viewport()->mapToGlobal(item.topLeft()), item.size());
        QVERIFY(hint.top() >= row.top() - 1 && hint.bottom() <= row.bottom() + 1);
        QVERIFY(hint.left() > row.left() + 8);
    }
};

QTEST_MAIN(RetControlsTest)
#include "RetControlsTest.moc"
