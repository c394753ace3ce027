// The real message boxes and Qt's own texts, as a person sees them.
#include "app/QtPromptService.h"
#include "app/Translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

using namespace notarium;

namespace {

// The texts of the buttons of the message box that is open, and a click on one of them.
struct ShownBox {
    QStringList buttons;
    QString caption;
    QString text;
};

ShownBox answerOpenBox(const QString& clickText)
{
    ShownBox shown;
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr)
        return shown;
    shown.caption = box->windowTitle();
    shown.text = box->text();
    QAbstractButton* click = nullptr;
    for (QAbstractButton* button : box->buttons()) {
        shown.buttons << button->text();
        if (button->text() == clickText)
            click = button;
    }
    if (click != nullptr)
        click->click();
    else
        box->reject();
    return shown;
}

} // namespace

class QtServicesTest : public QObject {
    Q_OBJECT

private slots:
    void questionsShowJapaneseButtonsAndTellTheAnswer_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("click");
        QTest::addColumn<int>("answer");
        const QString yes = QStringLiteral("はい(&Y)");
        const QString no = QStringLiteral("いいえ(&N)");
        const QString cancel = QStringLiteral("キャンセル");
        QTest::newRow("yes/no, no") << int(PromptButtons::YesNo) << QStringList { yes, no } << no
                                    << int(PromptAnswer::No);
        QTest::newRow("yes/no/cancel, cancel")
            << int(PromptButtons::YesNoCancel) << QStringList { yes, no, cancel } << cancel
            << int(PromptAnswer::Cancel);
        QTest::newRow("ok") << int(PromptButtons::Ok) << QStringList { QStringLiteral("OK") }
                            << QStringLiteral("OK") << int(PromptAnswer::Ok);
    }

    void questionsShowJapaneseButtonsAndTellTheAnswer()
    {
        QFETCH(int, buttons);
        QFETCH(QStringList, expected);
        QFETCH(QString, click);
        QFETCH(int, answer);
        ShownBox shown;
        QTimer::singleShot(0, [&] { shown = answerOpenBox(click); });
        QtPromptService prompts;
        const PromptAnswer given = prompts.ask(nullptr, QStringLiteral("一行目\r\n二行目 <b>&"),
            QStringLiteral("確認"), MessageIcon::Question, PromptButtons(buttons));
        QCOMPARE(int(given), answer);
        QStringList sorted = shown.buttons;
        sorted.sort();
        expected.sort();
        QCOMPARE(sorted, expected);
        QCOMPARE(shown.caption, QStringLiteral("確認"));
        // CR LF is one line break, and markup characters show as written.
        QCOMPARE(shown.text, QStringLiteral("一行目\n二行目 <b>&"));
    }

    void qtTextsAreJapanese()
    {
        // The catalogue comes with the program's packages; without it the toolkit stays English.
        QVERIFY(installQtTranslations(*QCoreApplication::instance()));
        QLineEdit edit;
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList texts;
        for (const QAction* action : menu->actions())
            if (!action->isSeparator())
                texts << action->text();
        QVERIFY2(!texts.filter(QStringLiteral("元に戻す")).isEmpty(), qPrintable(texts.join(u'|')));
        QVERIFY2(!texts.filter(QStringLiteral("貼り付け")).isEmpty(), qPrintable(texts.join(u'|')));
    }
};

QTEST_MAIN(QtServicesTest)
#include "QtServicesTest.moc"
