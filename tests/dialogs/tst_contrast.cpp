#include "support/row.h"
#include "ui/contrast.h"

#include <QtTest>

using quorvel::test::row;

// The least contrast at which a colour stays in place for text.
class TestContrast : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readableFromThreeToOne_data();
    void readableFromThreeToOne();
};

void TestContrast::readableFromThreeToOne_data()
{
    QTest::addColumn<QColor>("grey"); // on white
    QTest::addColumn<bool>("readable");
    row("3.03:1", QColor(0x94, 0x94, 0x94), true);
    row("2.995:1", QColor(0x95, 0x95, 0x95), false);
}

void TestContrast::readableFromThreeToOne()
{
    QFETCH(QColor, grey);
    QFETCH(bool, readable);
    QCOMPARE(quorvel::ui::readableOr(grey, Qt::white, Qt::red), readable ? grey : QColor(Qt::red));
}

QTEST_GUILESS_MAIN(TestContrast)
#include "tst_contrast.moc"
