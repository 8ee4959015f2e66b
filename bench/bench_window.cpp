// The main window's loaders, unit adding and calculation, on the real
// frmConversion over a temporary application folder.

#include "support/files.h"
#include "support/widgets.h"
#include "ui/main/frmConversion.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

using namespace quorvel;

namespace {

const QString kCategory = QStringLiteral("Bench");
const QString kOther = QStringLiteral("Other");

// A window over a folder whose category list names kCategory (count units)
// and kOther (two units), or count of categories; loaded, not shown.
struct Window : test::WindowDriver {
    explicit Window(int units, int categories = 0)
    {
        const QByteArray list = categories > 0
            ? test::categoryFileBytes(categories)
            : "\"" + kCategory.toLatin1() + "\"\r\n\"" + kOther.toLatin1() + "\"\r\n";
        if (!writeFile(QStringLiteral("conversion.txt"), list)
            || !writeFile(kCategory + QStringLiteral(".txt"), test::unitFileBytes(units))
            || !writeFile(kOther + QStringLiteral(".txt"), "\"a\",1\r\n\"b\",2\r\n") || !load()) {
            std::fprintf(stderr, "cannot set up the window\n");
            std::exit(1);
        }
    }

    void selectCategory(const QString &name) const
    {
        category->setCurrentIndex(category->findText(name, Qt::MatchExactly));
    }
};

// LoadUnits into empty lists: the lists are emptied outside the timing.
void BM_LoadUnits(benchmark::State &state)
{
    const int count = int(state.range(0));
    const Window w(count);
    w.selectCategory(kCategory);
    for (auto _ : state) {
        state.PauseTiming();
        w.from->clear();
        w.to->clear();
        state.ResumeTiming();
        w.window->LoadUnits();
    }
    if (w.window->UnitNames().size() != count || w.from->count() != count || w.to->count() != count)
        state.SkipWithError("the lists and arrays do not hold every unit");
    state.SetItemsProcessed(state.iterations() * count);
}

// A user's choice of the category in normal mode: both lists emptied and
// refilled, the guiding texts and boxes reset.
void BM_CategoryClick(benchmark::State &state)
{
    const int count = int(state.range(0));
    const Window w(count);
    const int index = w.category->findText(kCategory, Qt::MatchExactly);
    for (auto _ : state) {
        w.category->setCurrentIndex(index);
        Q_EMIT w.category->activated(index);
    }
    if (w.from->count() != count || w.to->count() != count)
        state.SkipWithError("the lists do not hold every unit");
    state.SetItemsProcessed(state.iterations() * count);
}

// AddUnit into a large category in edit mode, the unit file rewritten each
// time. Starts at 32000 units; when the category is full it is re-created
// and reloaded outside the timing.
void BM_AddUnit(benchmark::State &state)
{
    constexpr int kStart = 32000;
    const Window w(kStart);
    w.action("mnuFileEdit")->trigger();
    auto reload = [&w] {
        w.writeFile(kCategory + QStringLiteral(".txt"), test::unitFileBytes(kStart));
        w.from->clear();
        w.to->clear();
        w.selectCategory(kCategory);
        w.window->LoadUnits();
    };
    reload();
    int serial = 0;
    for (auto _ : state) {
        if (w.window->UnitNames().size() >= 32767) {
            state.PauseTiming();
            reload();
            state.ResumeTiming();
        }
        // Lands in the middle of the list: half of the ordering pass moves it.
        w.from->setEditText(QStringLiteral("Unit 16000 %1").arg(++serial));
        w.value->setText(QStringLiteral("2.5"));
        w.window->AddUnit();
    }
    state.counters["units_at_end"] = double(w.window->UnitNames().size());
}

// LoadCategories of a category list file into the sorted list.
void BM_LoadCategories(benchmark::State &state)
{
    const int count = int(state.range(0));
    const Window w(2, count);
    for (auto _ : state)
        w.window->LoadCategories();
    if (w.category->count() != count)
        state.SkipWithError("the category list does not hold every category");
    state.SetItemsProcessed(state.iterations() * count);
}

// The output forms, by the Output menu action that selects them.
const char *const kForms[]
    = { "plain", "mnuOutput3", "mnuOutput6", "mnuOutput9", "mnuOutput12", "mnuOutput15" };

void selectForm(const Window &w, int form)
{
    QAction *scientific = w.action("mnuOutputScientific");
    if (form == 0) {
        if (scientific->isChecked())
            scientific->trigger();
        return;
    }
    if (!scientific->isChecked())
        scientific->trigger();
    w.action(kForms[form])->trigger();
}

// CalculateIt (which ends in FormatOutput) with both units chosen and a value
// typed, in each output form.
void BM_CalculateIt(benchmark::State &state)
{
    const Window w(1000);
    w.selectCategory(kCategory);
    w.window->LoadUnits();
    w.from->setCurrentIndex(10);
    w.to->setCurrentIndex(500);
    w.value->setText(QStringLiteral("1234.5678"));
    selectForm(w, int(state.range(0)));
    state.SetLabel(kForms[state.range(0)]);
    for (auto _ : state)
        w.window->CalculateIt();
}

// FormatOutput alone, in each output form.
void BM_FormatOutput(benchmark::State &state)
{
    const Window w(2);
    selectForm(w, int(state.range(0)));
    state.SetLabel(kForms[state.range(0)]);
    double value = 1234.5678;
    for (auto _ : state) {
        const QString text = w.window->FormatOutput(value, 0.3048);
        benchmark::DoNotOptimize(text.constData());
    }
}

BENCHMARK(BM_LoadUnits)->Arg(10)->Arg(1000)->Arg(3277)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CategoryClick)
    ->Arg(10)
    ->Arg(1000)
    ->Arg(3277)
    ->Arg(32767)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddUnit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadCategories)
    ->Arg(10)
    ->Arg(1000)
    ->Arg(3277)
    ->Arg(32767)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalculateIt)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FormatOutput)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

} // namespace
