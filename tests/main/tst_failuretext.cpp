// The words a message box shows for a failure, composed from its facts.

#include "core/failure.h"
#include "support/row.h"
#include "ui/failuretext.h"

#include <QTest>

using namespace quorvel;
using quorvel::test::row;

class tst_FailureText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void failureText_data();
    void failureText();
};

void tst_FailureText::failureText_data()
{
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<QString>("list"); // the category list's path; empty in the upgrade
    QTest::addColumn<QString>("text"); // the whole text, or its end after "..."

    const QString list = "/q/conversion.txt";
    const Failure unitChanged(FailureKind::Refused, "/q/Time.txt", 0, Cause::ChangedBehind);
    row("header with file and line", Failure(FailureKind::InputPastEndOfFile, "/q/Time.txt", 3),
        list, "Input past end of file\n\nFile: /q/Time.txt\nLine: 3");
    row("category list changed", Failure(FailureKind::Refused, list, 0, Cause::ChangedBehind), list,
        "...the change. Switch File > Edit off and on to see the category list as it is now, then "
        "make the edit again.");
    row("unit file changed", unitChanged, list,
        "...the change. Choose the category again to see its units as they are now, then add the "
        "unit again.");
    row("changed in the upgrade", unitChanged, "", "...that would lose the change.");
    row("unit file missing", Failure(FailureKind::Refused, "/q/Time.txt", 0, Cause::FileMissing),
        list,
        "...Copy it back, or delete the category and add it again to start it with no units, then "
        "choose the category again.");
    row("read stopped on a line",
        Failure(FailureKind::Refused, list, 0, Cause::ReadNotWhole, { "Overflow", "7" }), list,
        "...(Overflow, line 7), so it is not rewritten: that would lose what could not be read. "
        "Mend the file, then switch File > Edit off and on.");
    row("reasons in order",
        Failure(FailureKind::Refused, {}, 0, Cause::CategoryNotCreated, { "a/b" })
            .because(Cause::CategoryNameCharacter, { "/" }),
        list,
        "Not possible\n\nThe category \"a/b\" cannot be created. A category name cannot hold the "
        "character /.");
}

void tst_FailureText::failureText()
{
    QFETCH(Failure, failure);
    QFETCH(QString, list);
    QFETCH(QString, text);
    const QString shown = ui::failureText(failure, list);
    if (text.startsWith("..."))
        QVERIFY2(shown.endsWith(text.mid(3)), qPrintable(shown));
    else
        QCOMPARE(shown, text);
}

QTEST_GUILESS_MAIN(tst_FailureText)
#include "tst_failuretext.moc"
