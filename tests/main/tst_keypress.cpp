// The character code each key press hands to a _KeyPress handler.

#include "ui/main/keypress.h"

#include <QTest>

class tst_KeyPress : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keyPressCode_data();
    void keyPressCode();
};

void tst_KeyPress::keyPressCode_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code"); // -1: no key press

    const Qt::KeyboardModifiers none;
    const Qt::KeyboardModifiers altGr = Qt::ControlModifier | Qt::AltModifier;
    QTest::newRow("letter") << int(Qt::Key_A) << none << "a" << int('a');
    QTest::newRow("shifted letter")
        << int(Qt::Key_A) << Qt::KeyboardModifiers(Qt::ShiftModifier) << "A" << int('A');
    QTest::newRow("blank") << int(Qt::Key_Space) << none << " " << int(' ');
    QTest::newRow("Enter") << int(Qt::Key_Return) << none << "\r" << 13;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier)
                                  << "\r" << 13;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << none << "\b" << 8;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << none << "\x1b" << 27;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << none << "\t" << -1;
    QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << Qt::KeyboardModifiers(Qt::ShiftModifier)
                               << "\t" << -1;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << none << "\x7f" << -1;
    QTest::newRow("arrow") << int(Qt::Key_Down) << none << "" << -1;
    QTest::newRow("function key") << int(Qt::Key_F4) << none << "" << -1;
    QTest::newRow("Ctrl+A") << int(Qt::Key_A) << Qt::KeyboardModifiers(Qt::ControlModifier)
                            << "\x01" << -1;
    QTest::newRow("Alt+x") << int(Qt::Key_X) << Qt::KeyboardModifiers(Qt::AltModifier) << "x" << -1;
    QTest::newRow("Meta+x") << int(Qt::Key_X) << Qt::KeyboardModifiers(Qt::MetaModifier) << "x"
                            << -1;
    QTest::newRow("AltGr euro as Ctrl+Alt") << int(Qt::Key_E) << altGr << "\u20ac" << 0x20AC;
    QTest::newRow("AltGr at sign, no modifier") << int(Qt::Key_At) << none << "@" << int('@');
    QTest::newRow("Ctrl+Alt+Enter") << int(Qt::Key_Return) << altGr << "\r" << -1;
}

void tst_KeyPress::keyPressCode()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, text);
    QFETCH(int, code);
    QCOMPARE(quorvel::ui::keyPressCode(key, modifiers, text).value_or(-1), code);
}

QTEST_GUILESS_MAIN(tst_KeyPress)
#include "tst_keypress.moc"
