#include "app/ShortcutNumber.h"

#include <QtTest>

using namespace notarium;

class ShortcutNumberTest : public QObject {
    Q_OBJECT

private slots:
    void bothWays_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("Ctrl+N") << (0x4000 | 'N') << QKeySequence(Qt::CTRL | Qt::Key_N);
        QTest::newRow("Ctrl+Shift+B") << (0x6000 | 'B') << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B);
        QTest::newRow("Ctrl+Alt+Up") << (0xC000 | 0x26) << QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Up);
        QTest::newRow("F3") << 0x72 << QKeySequence(Qt::Key_F3);
        QTest::newRow("Shift+F3") << (0x2000 | 0x72) << QKeySequence(Qt::SHIFT | Qt::Key_F3);
        QTest::newRow("Ctrl+minus") << (0x4000 | 0xBD) << QKeySequence(Qt::CTRL | Qt::Key_Minus);
        QTest::newRow("Ctrl+0") << (0x4000 | '0') << QKeySequence(Qt::CTRL | Qt::Key_0);
        QTest::newRow("Ctrl+Del") << (0x4000 | 0x2E) << QKeySequence(Qt::CTRL | Qt::Key_Delete);
        QTest::newRow("Ctrl+PgDn") << (0x4000 | 0x22) << QKeySequence(Qt::CTRL | Qt::Key_PageDown);
        QTest::newRow("Ctrl+Space") << (0x4000 | 0x20) << QKeySequence(Qt::CTRL | Qt::Key_Space);
        QTest::newRow("Alt+Up") << (0x8000 | 0x26) << QKeySequence(Qt::ALT | Qt::Key_Up);
        QTest::newRow("F12") << 0x7B << QKeySequence(Qt::Key_F12);
    }

    void bothWays()
    {
        QFETCH(int, value);
        QFETCH(QKeySequence, keys);
        QCOMPARE(keySequenceFromShortcut(value), keys);
        QCOMPARE(shortcutFromKeySequence(keys), value);
    }

    void noKey()
    {
        QVERIFY(keySequenceFromShortcut(0).isEmpty());
        QVERIFY2(keySequenceFromShortcut(0x4000).isEmpty(), "a modifier alone is no key");
        QVERIFY2(keySequenceFromShortcut(0x4000 | 0xFF).isEmpty(), "an unknown code");
        QCOMPARE(shortcutFromKeySequence(QKeySequence()), 0);
        QCOMPARE(shortcutFromKeySequence(QKeySequence(QStringLiteral("Ctrl+K, Ctrl+C"))), 0);
    }
};

QTEST_APPLESS_MAIN(ShortcutNumberTest)
#include "ShortcutNumberTest.moc"
