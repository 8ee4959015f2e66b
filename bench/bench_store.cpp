// The data store's reading on its own, next to reading the same bytes into
// memory: the bytes read by QFile::readAll are the floor for any reader.

#include "store/codepage.h"
#include "store/datastore.h"
#include "store/fieldreader.h"
#include "store/upgrade.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace quorvel;
using namespace quorvel::test;

namespace {

const QString kCategory = QStringLiteral("Bench");

// An application folder with a unit file and a category list of count
// records each.
struct UnitFolder {
    explicit UnitFolder(int count)
    {
        if (!folder.isValid() || !put(unitFile(), unitFileBytes(count))
            || !put(folder.filePath(QStringLiteral("conversion.txt")), categoryFileBytes(count)))
            std::abort();
    }
    QString unitFile() const { return folder.filePath(kCategory + QStringLiteral(".txt")); }
    QTemporaryDir folder;
};

// Open, QFile::readAll, close: the baseline.
void BM_ReadAllBytes(benchmark::State &state)
{
    const UnitFolder data(int(state.range(0)));
    const QString path = data.unitFile();
    qint64 size = 0;
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("cannot open the unit file");
        const QByteArray bytes = file.readAll();
        benchmark::DoNotOptimize(bytes.constData());
        size = bytes.size();
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["file_bytes"] = double(size);
}

// The unit file read the way the program reads it: open, read, decode from
// the code page, and every record through the field reader into the table.
void BM_ReadUnits(benchmark::State &state)
{
    const UnitFolder data(int(state.range(0)));
    DataStore store(data.folder.path());
    for (auto _ : state) {
        const UnitTable units = store.loadUnits(kCategory).records;
        if (units.names.size() != state.range(0))
            state.SkipWithError("wrong number of units");
        benchmark::DoNotOptimize(units.factors.constData());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The field reader alone, on text already decoded in memory.
void BM_FieldReaderOnText(benchmark::State &state)
{
    const QString text = decodeCodePage(unitFileBytes(int(state.range(0))));
    for (auto _ : state) {
        FieldReader reader(text);
        qsizetype records = 0;
        double sum = 0;
        while (!reader.onlyBlanksLeft()) {
            const QString name = reader.readText();
            sum += reader.readNumber();
            records += name.size() > 0;
        }
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(records);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Decoding the code page alone.
void BM_DecodeCodePage(benchmark::State &state)
{
    const QByteArray bytes = unitFileBytes(int(state.range(0)));
    for (auto _ : state) {
        const QString text = decodeCodePage(bytes);
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_ReadCategories(benchmark::State &state)
{
    const UnitFolder data(int(state.range(0)));
    DataStore store(data.folder.path());
    for (auto _ : state) {
        const QStringList names = store.loadCategories().records;
        if (names.size() != state.range(0))
            state.SkipWithError("wrong number of categories");
        benchmark::DoNotOptimize(names.constData());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The upgrade of a folder of 40 unit files of 30 units and their list, as
// the earlier release left it, to a bundle that adds a unit to range(0) of
// the files; in each of those the user has added a unit, so that they are
// merged record by record, and the others are only recorded. The folder is
// made anew, untimed, before each upgrade.
void BM_UpgradeFolder(benchmark::State &state)
{
    const QTemporaryDir dir;
    const QString legacy = dir.filePath("legacy"), bundle = dir.filePath("bundle"),
                  user = dir.filePath("user");
    const int merged = int(state.range(0));
    QByteArray list;
    bool made = QDir().mkpath(legacy) && QDir().mkpath(bundle);
    auto name = [](int i) { return QStringLiteral("Category %1").arg(i, 2, 10, QChar(u'0')); };
    for (int i = 0; i < 40; ++i) {
        list += "\"" + name(i).toLatin1() + "\"\r\n";
        made = made && put(legacy + u'/' + name(i) + ".txt", unitFileBytes(30))
            && put(bundle + u'/' + name(i) + ".txt", unitFileBytes(i < merged ? 31 : 30));
    }
    made = made && put(legacy + "/conversion.txt", list) && put(bundle + "/conversion.txt", list);
    for (auto _ : state) {
        state.PauseTiming();
        QDir(user).removeRecursively();
        made = made && QDir().mkpath(user) && put(user + "/conversion.txt", list);
        for (int i = 0; i < 40; ++i)
            made = made
                && put(user + u'/' + name(i) + ".txt",
                    unitFileBytes(30) + (i < merged ? "\"Mine\",2\r\n" : ""));
        state.ResumeTiming();
        const UpgradeReport report = upgradeFolder(user, bundle, legacy);
        if (!made || report.size() != merged)
            state.SkipWithError("the folder was not upgraded as expected");
    }
}

void sizes(benchmark::internal::Benchmark *b)
{
    b->Arg(10)->Arg(1000)->Arg(3277)->Arg(32767)->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_ReadAllBytes)->Apply(sizes);
BENCHMARK(BM_ReadUnits)->Apply(sizes);
BENCHMARK(BM_FieldReaderOnText)->Apply(sizes);
BENCHMARK(BM_DecodeCodePage)->Apply(sizes);
BENCHMARK(BM_ReadCategories)->Apply(sizes);
BENCHMARK(BM_UpgradeFolder)->Arg(1)->Arg(40)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
