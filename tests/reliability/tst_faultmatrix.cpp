// Every write of the store, through DataStore and through the real main
// window, under injected faults: each error moves through every write, sync,
// rename and close call of the operation in turn, the disk fills at
// the first, a middle and the last byte, the process is killed at each call,
// and the files or folder refuse the write. After each, the folder holds the
// old files or the complete new ones and nothing else, the failure names its
// kind and file, and the window goes on working.
#include "core/failure.h"
#include "store/datastore.h"
#include "support/loads.h"
#include "support/row.h"
#include "support/widgets.h"
#include "ui/failuretext.h"
#include "ui/main/frmConversion.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <map>

#include <dlfcn.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {

const QByteArray kTimeWithFortnights = "\"Days\",86400\r\n\"Fortnights\",1209600\r\n"
                                       "\"Hours\",3600\r\n\"Minutes\",60\r\n\"Seconds\",1\r\n";
// The list is written in the order it shows its entries: the new name takes
// the place of the marker, which sorts first.
const QByteArray kCategoriesVolumeFirst = "\"Volume\"\r\n\"Length\"\r\n\"Time\"\r\n\"Weight\"\r\n";
const QByteArray kCategoriesWithoutWeight = "\"Length\"\r\n\"Time\"\r\n";

// The folder after a complete operation.
Snapshot expectedAfter(const QString &scenario, Snapshot folder)
{
    if (scenario.endsWith("-addunit"))
        folder["Time.txt"] = fileEntry(kTimeWithFortnights);
    else if (scenario.endsWith("-save"))
        folder["conversion.txt"] = fileEntry(kCategoriesWithoutWeight);
    else if (scenario.endsWith("-create")) {
        folder["conversion.txt"] = fileEntry(kCategoriesVolumeFirst);
        folder["Volume.txt"] = fileEntry({});
    }
    return folder;
}

// The file an operation writes, the one its failure must name.
QString writtenFile(const QString &scenario)
{
    return scenario.endsWith("-addunit") ? "Time.txt" : "conversion.txt";
}

const QStringList kScenarios = { "store-save", "store-create", "store-addunit", "window-save",
    "window-create", "window-addunit" };

// ---------------------------------------------------------------------------
// The child: runs one operation and reports what it saw on standard output.

void callShim(const char *name)
{
    if (auto *function = reinterpret_cast<void (*)()>(dlsym(RTLD_DEFAULT, name)))
        function();
}

// The child reports one line per item: its name, a tab, and the item as
// JSON, which carries any text and any file name on one line.
void report(const char *name, const QJsonValue &value)
{
    const QByteArray bytes = QByteArray(name) + '\t'
        + QJsonDocument(QJsonArray { value }).toJson(QJsonDocument::Compact) + '\n';
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    fflush(stdout);
}

void report(const char *name, const Snapshot &folder)
{
    QJsonObject entries;
    for (auto it = folder.begin(); it != folder.end(); ++it)
        entries.insert(it.key(), it.value());
    report(name, entries);
}

// One attempt of the operation; "ok", or the failure as "failure\tkind\ttext".
QString attempt(const QString &scenario, DataStore &store, WindowDriver *driver)
{
    if (scenario.startsWith("store-")) {
        try {
            if (scenario == "store-save")
                store.removeCategory();
            else if (scenario == "store-create")
                store.addCategory("Volume");
            else
                store.addUnit("Fortnights", "1209600");
        } catch (const Failure &failure) {
            return "failure\t" + failure.kindText() + u'\t'
                + ui::failureText(failure, store.categoryListPath());
        }
        return "ok";
    }
    if (scenario == "window-save") {
        driver->answerer.expectDeleteQuestion(ModalAnswerer::Press::Enter);
        if (!choose(driver->category, "Weight"))
            return "failure\tnot listed\tWeight";
    } else if (scenario == "window-create") {
        driver->answerer.expectNewCategory("Volume");
        if (!choose(driver->category, kMarker))
            return "failure\tnot listed\tmarker";
    } else {
        pressEnter(driver->value);
    }
    const QStringList messages = driver->answerer.takeMessages();
    if (messages.isEmpty())
        return "ok";
    const QString title = messages.first().section(u'\t', 0, 0);
    return "message\t" + title + u'\t' + messages.first().section(u'\t', 1);
}

int runScenario(const QString &scenario, const QString &folder)
{
    std::unique_ptr<WindowDriver> driver;
    // The store's edits as the window makes them: Weight chosen to delete,
    // the marker to add Volume, Time loaded to add Fortnights.
    DataStore store(folder);
    store.loadCategories(true);
    const QStringList entries = store.categories().entries();
    store.chooseCategory(scenario == "store-save" ? entries.indexOf("Weight")
            : scenario == "store-create"          ? store.categories().markerIndex()
                                                  : entries.indexOf("Time"));
    store.loadUnits("Time");
    if (scenario.startsWith("window-")) {
        driver = std::make_unique<WindowDriver>(folder);
        driver->answerer.keepFailures();
        if (!driver->start())
            report("note", "setup failed");
        driver->setEditMode(true);
        if (scenario == "window-addunit") {
            // Time is loaded (No to deleting it), the unit typed, not entered.
            driver->answerer.expectDeleteQuestion(ModalAnswerer::Press::No);
            choose(driver->category, "Time");
            driver->typeUnit("Fortnights", "1209600");
        }
    }
    // The file replaced by a directory once the window has read it.
    if (const QString name = qEnvironmentVariable("QUORVEL_DIRECTORY_FOR"); !name.isEmpty()) {
        const QString path = folder + u'/' + name;
        if (!QFile::remove(path) || !QDir().mkdir(path) || !put(path + "/inside.txt", "kept"))
            report("note", "setup failed");
    }
    report("before", snapshot(folder));
    callShim("quorvel_fault_arm");
    const QString result = attempt(scenario, store, driver.get());
    callShim("quorvel_fault_disarm");
    report("result", result);
    report("after", snapshot(folder));
    if (result != "ok") {
        // The fault passes; the same action again.
        report("followup", attempt(scenario, store, driver.get()));
        report("final", snapshot(folder));
    }
    if (driver && !driver->answerer.verdict().isEmpty())
        report("unexpected", driver->answerer.verdict());
    return 0;
}

// ---------------------------------------------------------------------------
// The parent.

struct Outcome {
    bool finished = false; // false when killed
    QStringList lines;
    QString result;
    QString followup;
    QString unexpected;
    QString stderrText;
    Snapshot before, after, final;
};

Outcome parse(const QByteArray &out)
{
    Outcome outcome;
    outcome.lines = QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts);
    for (const QString &line : std::as_const(outcome.lines)) {
        const QString name = line.section(u'\t', 0, 0);
        const QJsonValue value
            = QJsonDocument::fromJson(line.section(u'\t', 1).toUtf8()).array().first();
        const std::map<QString, QString *> texts { { "result", &outcome.result },
            { "followup", &outcome.followup }, { "unexpected", &outcome.unexpected } };
        const std::map<QString, Snapshot *> folders { { "before", &outcome.before },
            { "after", &outcome.after }, { "final", &outcome.final } };
        if (const auto text = texts.find(name); text != texts.end())
            *text->second = value.toString();
        if (const auto folder = folders.find(name); folder != folders.end()) {
            const QJsonObject entries = value.toObject();
            for (auto it = entries.begin(); it != entries.end(); ++it)
                folder->second->insert(it.key(), it.value().toString());
        }
    }
    return outcome;
}

QString shimPath()
{
    return QCoreApplication::applicationDirPath() + "/libquorvel_faultshim.so";
}

QProcessEnvironment childEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    // Under AddressSanitizer the shim is preloaded before its runtime.
    QString asan = env.value("ASAN_OPTIONS");
    env.insert("ASAN_OPTIONS", (asan.isEmpty() ? "" : asan + ":") + "verify_asan_link_order=0");
    return env;
}

bool stopped(qint64 pid)
{
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    const qsizetype paren = text.lastIndexOf(')');
    return paren > 0 && text.size() > paren + 2 && text[paren + 2] == 'T';
}

// Runs the scenario in a child; with stopAndKill, a child that stops itself
// is killed with SIGKILL.
Outcome runChild(const QString &scenario, const QString &folder, const QProcessEnvironment &env,
    bool stopAndKill = false, const QStringList &wrapper = {})
{
    QProcess process;
    process.setProcessEnvironment(env);
    QStringList arguments = wrapper;
    arguments << QCoreApplication::applicationFilePath() << "--scenario" << scenario << folder;
    process.start(arguments.takeFirst(), arguments);
    Outcome outcome;
    if (!process.waitForStarted(10000))
        return outcome;
    bool killed = false;
    QElapsedTimer timer;
    timer.start();
    while (process.state() != QProcess::NotRunning && timer.elapsed() < 60000) {
        if (stopAndKill && stopped(process.processId())) {
            ::kill(pid_t(process.processId()), SIGKILL);
            killed = true;
        }
        process.waitForFinished(stopAndKill ? 5 : 1000);
    }
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
    }
    outcome = parse(process.readAllStandardOutput());
    outcome.stderrText = QString::fromLocal8Bit(process.readAllStandardError());
    outcome.finished
        = !killed && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return outcome;
}

QStringList reportLines(const QString &report)
{
    QFile file(report);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

bool fired(const QStringList &report)
{
    return std::any_of(
        report.begin(), report.end(), [](const QString &l) { return l.startsWith("fired "); });
}

// A temporary file of the replacing write: the target's name, a dot and six
// letters or digits, as a save that was cut off by a kill leaves it.
bool isTemporaryOf(const QString &name, const QString &target)
{
    static const QRegularExpression suffix("^\\.[A-Za-z0-9]{6}$");
    return name.startsWith(target) && suffix.match(name.mid(target.size())).hasMatch();
}

} // namespace

class TestFaultMatrix : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void errorAtEachCall_data();
    void errorAtEachCall();
    void diskFillsUp_data();
    void diskFillsUp();
    void killedAtEachCall_data();
    void killedAtEachCall();
    void refusedWrite_data();
    void refusedWrite();

private:
    // Checks one finished run: a failure leaves the folder as it was and
    // names kind and file, success leaves the complete new files, and after
    // a failure the same action succeeds.
    void checkFinished(const QString &scenario, const Outcome &outcome, const QString &kindText,
        const Snapshot &before, const QString &context);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;
};

void TestFaultMatrix::initTestCase()
{
    QVERIFY2(QFile::exists(shimPath()), qPrintable(shimPath()));
}

void TestFaultMatrix::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_folder = m_dir->path() + "/app";
    QVERIFY(QDir().mkdir(m_folder));
    QVERIFY(writeStandardFiles(m_folder));
}

void TestFaultMatrix::checkFinished(const QString &scenario, const Outcome &outcome,
    const QString &kindText, const Snapshot &before, const QString &context)
{
    const QString where = context + "\n" + outcome.lines.join("\n") + "\n" + outcome.stderrText;
    QVERIFY2(outcome.finished, qPrintable("child crashed: " + where));
    QVERIFY2(!outcome.result.isEmpty(), qPrintable(where));
    QVERIFY2(outcome.unexpected.isEmpty(), qPrintable("unexpected box: " + where));
    QCOMPARE(outcome.before, before);
    const Snapshot complete = expectedAfter(scenario, before);
    if (outcome.result == "ok") {
        QVERIFY2(outcome.after == complete,
            qPrintable("reported success, folder: " + describe(outcome.after) + "\n" + where));
        return;
    }
    // A failure: nothing in the folder changed.
    QVERIFY2(outcome.after == before,
        qPrintable("after the failure: " + describe(outcome.after) + "\n" + where));
    const QStringList parts = outcome.result.split(u'\t');
    QCOMPARE(parts.size(), 3);
    const QString text = parts[2];
    if (scenario.startsWith("window-")) {
        QCOMPARE(parts[0], QString("message"));
        QCOMPARE(parts[1], QString("Quorvel"));
    } else {
        QCOMPARE(parts[0], QString("failure"));
        QCOMPARE(parts[1], kindText);
    }
    QVERIFY2(text.startsWith(kindText), qPrintable(text + "\n" + where));
    const QString file = QDir::toNativeSeparators(m_folder + u'/' + writtenFile(scenario));
    const bool namesFile = text.contains(file)
        || (scenario.endsWith("-create")
            && text.contains(QDir::toNativeSeparators(m_folder + "/Volume.txt")));
    QVERIFY2(namesFile, qPrintable(text + "\nshould name " + file));
    // The window, or the store, goes on working: the same action succeeds.
    QVERIFY2(outcome.followup == "ok", qPrintable("followup: " + where));
    QVERIFY2(outcome.final == complete,
        qPrintable("after the followup: " + describe(outcome.final) + "\n" + where));
}

void TestFaultMatrix::errorAtEachCall_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("ops");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("kindText"); // empty: the operation succeeds

    const char *every = "write,sync,rename,close";
    for (const QString &scenario : kScenarios) {
        row(qPrintable(scenario + ", no space at each call"), scenario, every, "ENOSPC",
            "Disk full");
        row(qPrintable(scenario + ", device error at each call"), scenario, every, "EIO",
            "Device I/O error");
        row(qPrintable(scenario + ", short write at each write"), scenario, "write", "short",
            QString());
    }
}

void TestFaultMatrix::errorAtEachCall()
{
    QFETCH(QString, scenario);
    QFETCH(QString, ops);
    QFETCH(QString, action);
    QFETCH(QString, kindText);

    const Snapshot before = snapshot(m_folder);
    int faultsHit = 0;
    for (int call = 1; call <= 40; ++call) {
        QVERIFY(writeStandardFiles(m_folder));
        QFile::remove(m_folder + "/Volume.txt");
        QCOMPARE(snapshot(m_folder), before);
        const QString report = m_dir->filePath("report.txt");
        QFile::remove(report);
        QProcessEnvironment env = childEnvironment();
        env.insert("LD_PRELOAD", shimPath());
        env.insert("QUORVEL_FAULT_DIR", m_folder);
        env.insert("QUORVEL_FAULT_OPS", ops);
        env.insert("QUORVEL_FAULT_AT", QString::number(call));
        env.insert("QUORVEL_FAULT_ACTION", action);
        env.insert("QUORVEL_FAULT_REPORT", report);
        env.insert("QUORVEL_FAULT_WAIT", "1");
        const Outcome outcome = runChild(scenario, m_folder, env);
        const QStringList calls = reportLines(report);
        const QString context = QString("fault at call %1: %2").arg(call).arg(calls.join(", "));
        if (!fired(calls)) {
            // The operation ended before the call: it must have succeeded.
            QVERIFY2(outcome.result == "ok", qPrintable(context));
            checkFinished(scenario, outcome, kindText, before, context);
            break;
        }
        ++faultsHit;
        const QString firedLine = calls.filter(QRegularExpression("^fired ")).first();
        // An error in a write, or in the first sync of the new file, is never
        // reported as success. (A second sync after one that succeeded, or a
        // close of a file only read, may pass.)
        const bool firstSync = firedLine.contains(" sync ")
            && calls.filter(QRegularExpression("^call \\d+ sync ")).size() == 1;
        const bool mustFail = firedLine.contains(" write ") || firstSync;
        if (!kindText.isEmpty() && mustFail)
            QVERIFY2(outcome.result != "ok", qPrintable("reported success: " + context));
        if (kindText.isEmpty())
            QVERIFY2(outcome.result == "ok", qPrintable(context + "\n" + outcome.result));
        checkFinished(scenario, outcome, kindText, before, context);
        if (QTest::currentTestFailed())
            return;
    }
    QVERIFY(faultsHit > 0);
    qInfo("%s: %d calls faulted in turn", qPrintable(scenario), faultsHit);
}

void TestFaultMatrix::diskFillsUp_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<int>("newSize"); // bytes of the file the operation writes
    QTest::addColumn<QString>("where");

    const QList<std::pair<QString, int>> writers
        = { { "store-save", kCategoriesWithoutWeight.size() },
              { "store-addunit", kTimeWithFortnights.size() },
              { "window-save", kCategoriesWithoutWeight.size() },
              { "window-create", kCategoriesVolumeFirst.size() },
              { "window-addunit", kTimeWithFortnights.size() } };
    for (const auto &[scenario, size] : writers) {
        for (const QString where : { "first byte", "middle", "last byte" })
            QTest::addRow("%s, full at the %s", qPrintable(scenario), qPrintable(where))
                << scenario << size << where;
    }
}

void TestFaultMatrix::diskFillsUp()
{
    QFETCH(QString, scenario);
    QFETCH(int, newSize);
    QFETCH(QString, where);

    const int space = where == "first byte" ? 0 : where == "middle" ? newSize / 2 : newSize - 1;
    const Snapshot before = snapshot(m_folder);
    QProcessEnvironment env = childEnvironment();
    env.insert("LD_PRELOAD", shimPath());
    env.insert("QUORVEL_FAULT_DIR", m_folder);
    env.insert("QUORVEL_FAULT_SPACE", QString::number(space));
    env.insert("QUORVEL_FAULT_WAIT", "1");
    const Outcome outcome = runChild(scenario, m_folder, env);
    QCOMPARE(outcome.result.section(u'\t', 0, 0),
        scenario.startsWith("window-") ? "message" : "failure");
    checkFinished(scenario, outcome, "Disk full", before, QString("space %1").arg(space));
}

void TestFaultMatrix::killedAtEachCall_data()
{
    QTest::addColumn<QString>("scenario");
    for (const QString &scenario : kScenarios)
        QTest::newRow(qPrintable(scenario)) << scenario;
}

void TestFaultMatrix::killedAtEachCall()
{
    QFETCH(QString, scenario);
    const Snapshot before = snapshot(m_folder);
    const Snapshot complete = expectedAfter(scenario, before);
    int kills = 0;
    for (int call = 1; call <= 40; ++call) {
        QVERIFY(writeStandardFiles(m_folder));
        for (const QString &name : QDir(m_folder).entryList(QDir::Files | QDir::Hidden)) {
            if (!before.contains(name))
                QVERIFY(QFile::remove(m_folder + u'/' + name));
        }
        QCOMPARE(snapshot(m_folder), before);
        const QString report = m_dir->filePath("report.txt");
        QFile::remove(report);
        QProcessEnvironment env = childEnvironment();
        env.insert("LD_PRELOAD", shimPath());
        env.insert("QUORVEL_FAULT_DIR", m_folder);
        env.insert("QUORVEL_FAULT_AT", QString::number(call));
        env.insert("QUORVEL_FAULT_ACTION", "stop");
        env.insert("QUORVEL_FAULT_REPORT", report);
        env.insert("QUORVEL_FAULT_WAIT", "1");
        const Outcome outcome = runChild(scenario, m_folder, env, true);
        const QStringList calls = reportLines(report);
        const QString context = QString("killed at call %1: %2").arg(call).arg(calls.join(", "));
        if (!fired(calls)) {
            checkFinished(scenario, outcome, {}, before, context);
            break;
        }
        ++kills;
        QVERIFY2(!outcome.finished, qPrintable("not killed: " + context));

        // Old or new, file by file, and at most a temporary file beside
        // the file being replaced.
        const Snapshot now = snapshot(m_folder);
        QStringList leftovers;
        for (auto it = now.begin(); it != now.end(); ++it) {
            const QString &name = it.key();
            if (!before.contains(name) && !complete.contains(name)) {
                QVERIFY2(isTemporaryOf(name, writtenFile(scenario))
                        || (scenario.endsWith("-create") && isTemporaryOf(name, "conversion.txt")),
                    qPrintable(name + " left: " + context));
                leftovers << name;
                continue;
            }
            const bool old = before.value(name) == it.value();
            const bool fresh = complete.value(name) == it.value();
            QVERIFY2(old || fresh, qPrintable(name + " is neither old nor new: " + context));
        }
        for (const QString &name : before.keys())
            QVERIFY2(now.contains(name), qPrintable(name + " vanished: " + context));
        // A window-create killed between its two files leaves the new
        // category's empty unit file, which no listed category reads.
        if (!scenario.endsWith("-create") && !now.contains("Volume.txt"))
            QVERIFY(!complete.contains("Volume.txt") || now == before);

        // The store reads the folder as one of the two states; a leftover
        // temporary file is never read as data.
        DataStore store(m_folder);
        const QStringList categories = whole(store.loadCategories());
        QVERIFY2(categories == QStringList({ "Length", "Time", "Weight" })
                || categories == QStringList({ "Length", "Time" })
                || categories == QStringList({ "Length", "Time", "Volume", "Weight" })
                || categories == QStringList({ "Volume", "Length", "Time", "Weight" }),
            qPrintable(categories.join(",")));
        for (const QString &category : categories) {
            if (category != "Volume")
                QVERIFY(!whole(store.loadUnits(category)).names.isEmpty());
        }
        if (!leftovers.isEmpty())
            qInfo("killed at call %d left %s", call, qPrintable(leftovers.join(", ")));
    }
    QVERIFY(kills > 0);
    qInfo("%s: killed at %d calls in turn", qPrintable(scenario), kills);
}

void TestFaultMatrix::refusedWrite_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("kindText");

    // The store's own refusals are in tst_datastore; here they reach the
    // window, and the window goes on.
    for (const QString &scenario : kScenarios) {
        if (!scenario.startsWith("window-"))
            continue;
        if (scenario != "window-create")
            row(qPrintable(scenario + ", read-only file"), scenario, "read-only file",
                "Permission denied");
        row(qPrintable(scenario + ", read-only folder"), scenario, "read-only folder",
            "Permission denied");
        row(qPrintable(scenario + ", directory in place of the file"), scenario, "directory",
            "Path/File access error");
    }
}

void TestFaultMatrix::refusedWrite()
{
    QFETCH(QString, scenario);
    QFETCH(QString, setup);
    QFETCH(QString, kindText);

    const QString file = m_folder + u'/' + writtenFile(scenario);
    QStringList wrapper;
    QProcessEnvironment env = childEnvironment();
    if (setup == "read-only file") {
        QVERIFY(QFile::setPermissions(
            file, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    } else if (setup == "directory") {
        // store-create and window-create meet a directory named like the new
        // unit file; the others a data file replaced after it was read.
        if (scenario.endsWith("-create")) {
            QVERIFY(QDir().mkdir(m_folder + "/Volume.txt"));
            QVERIFY(put(m_folder + "/Volume.txt/inside.txt", "kept"));
        } else {
            env.insert("QUORVEL_DIRECTORY_FOR", writtenFile(scenario));
        }
    } else {
        // As root every folder is writable: the child runs as nobody.
        const QString setpriv = QStandardPaths::findExecutable("setpriv");
        if (geteuid() != 0 || setpriv.isEmpty())
            QSKIP("A read-only folder needs root and setpriv to run the child as nobody");
        QVERIFY(QFile::setPermissions(m_dir->path(), QFileDevice::Permissions(0x7755)));
        QVERIFY(QFile::setPermissions(m_folder, QFileDevice::Permissions(0x5555)));
        wrapper << setpriv << "--reuid=nobody"
                << "--regid=nogroup"
                << "--clear-groups";
    }
    const Outcome outcome = runChild(scenario, m_folder, env, false, wrapper);
    QVERIFY2(outcome.finished, qPrintable(outcome.stderrText));
    QVERIFY2(outcome.result != "ok", qPrintable("reported success: " + outcome.lines.join("\n")));
    const Snapshot before = outcome.before;
    QVERIFY(!before.isEmpty());
    QVERIFY2(outcome.after == before, qPrintable(describe(outcome.after)));
    const QString text = outcome.result.section(u'\t', 2);
    QVERIFY2(text.startsWith(kindText), qPrintable(outcome.result));
    QVERIFY2(text.contains(m_folder), qPrintable(outcome.result));
    QVERIFY(outcome.unexpected.isEmpty());
    // The refusal stays until the user changes the files: the same action
    // fails the same way and changes nothing, and the window still converts.
    QVERIFY2(outcome.followup.section(u'\t', 2).startsWith(kindText), qPrintable(outcome.followup));
    QCOMPARE(outcome.final, before);
    if (scenario.startsWith("window-")) {
        QDir(m_folder).removeRecursively();
        QVERIFY(QDir().mkdir(m_folder));
        QVERIFY(writeStandardFiles(m_folder));
    }
}

int main(int argc, char **argv)
{
    if (argc == 4 && qstrcmp(argv[1], "--scenario") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return runScenario(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    QApplication app(argc, argv);
    TestFaultMatrix test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_faultmatrix.moc"
