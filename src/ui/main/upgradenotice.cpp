#include "ui/main/upgradenotice.h"

#include "appinfo.h"
#include "ui/failuretext.h"
#include "ui/messagebox.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>

namespace quorvel::ui {

namespace {

QString factorText(const UpgradeEntry &entry)
{
    return entry.factor ? QString::number(*entry.factor, 'g', 15) : QString();
}

QString entryLine(const UpgradeEntry &entry)
{
    const QString &name = entry.name;
    QString what;
    switch (entry.change) {
    case UpgradeChange::Replaced:
        what = QStringLiteral("you had not changed it: replaced by the new release's file");
        break;
    case UpgradeChange::Added:
        what = QStringLiteral("unit \"%1\" added (%2)").arg(name, factorText(entry));
        break;
    case UpgradeChange::Corrected:
        what = QStringLiteral("unit \"%1\" corrected to %2").arg(name, factorText(entry));
        break;
    case UpgradeChange::NewCategory:
        what = QStringLiteral("category \"%1\" added").arg(name);
        break;
    case UpgradeChange::Kept:
        if (name.isEmpty())
            what = QStringLiteral("kept as you have it; the new release changed it");
        else if (entry.factor)
            what = QStringLiteral("kept your unit \"%1\"; the new release has %2")
                       .arg(name, factorText(entry));
        else
            what = QStringLiteral("kept your \"%1\"").arg(name);
        break;
    case UpgradeChange::Duplicate:
        what = QStringLiteral("left as it is: it names \"%1\" twice, so the new release's "
                              "changes cannot be matched to its records")
                   .arg(name);
        break;
    case UpgradeChange::LeftAlone:
        what = QStringLiteral("left as it is: %1")
                   .arg(entry.failure ? failureText(*entry.failure) : QString());
        break;
    }
    return QStringLiteral("%1: %2").arg(entry.file, what);
}

qsizetype countOf(const UpgradeReport &report, UpgradeChange change)
{
    return std::count_if(report.cbegin(), report.cend(),
        [change](const UpgradeEntry &entry) { return entry.change == change; });
}

bool anyLeftAlone(const UpgradeReport &report)
{
    return countOf(report, UpgradeChange::LeftAlone) + countOf(report, UpgradeChange::Duplicate)
        > 0;
}

} // namespace

QString upgradeSummary(const UpgradeReport &report)
{
    struct Count {
        UpgradeChange change;
        const char *words; // %1 is the count
    };
    static constexpr Count kCounts[] = {
        { UpgradeChange::Replaced, "%1 file(s) you had not changed replaced by the new ones" },
        { UpgradeChange::NewCategory, "%1 new category(-ies) added" },
        { UpgradeChange::Added, "%1 new unit(s) added" },
        { UpgradeChange::Corrected, "%1 factor(s) corrected" },
        { UpgradeChange::Kept, "%1 of your own changes kept where the new release differs" },
    };
    QStringList lines { QStringLiteral(
        "Quorvel brought your data files up to date with the installed release:") };
    for (const Count &count : kCounts) {
        if (const qsizetype n = countOf(report, count.change))
            lines.append(QStringLiteral("- ") + QString::fromLatin1(count.words).arg(n));
    }
    if (anyLeftAlone(report))
        lines.append(QStringLiteral("- %1 file(s) left as they are, as they could not be "
                                    "merged: see the details")
                         .arg(countOf(report, UpgradeChange::LeftAlone)
                             + countOf(report, UpgradeChange::Duplicate)));
    return lines.join(u'\n');
}

QString upgradeDetails(const UpgradeReport &report)
{
    QStringList lines;
    for (const UpgradeEntry &entry : report)
        lines.append(entryLine(entry));
    return lines.join(u'\n');
}

void showUpgradeReport(QWidget &window, const UpgradeReport &report)
{
    if (report.isEmpty())
        return;
    const QString details = upgradeDetails(report);
    for (const QString &line : details.split(u'\n'))
        std::fprintf(stderr, "quorvel: upgrade: %s\n", qUtf8Printable(line));
    const auto icon = anyLeftAlone(report) ? QMessageBox::Warning : QMessageBox::Information;
    // Shown from the event loop, so that the window is up behind it.
    QTimer::singleShot(0, &window, [&window, icon, summary = upgradeSummary(report), details] {
        QMessageBox box(
            icon, QString::fromLatin1(appinfo::kTitle), summary, QMessageBox::Ok, &window);
        box.setObjectName(QStringLiteral("upgradeReport"));
        box.setDetailedText(details);
        fitTitle(box);
        box.exec();
    });
}

} // namespace quorvel::ui
