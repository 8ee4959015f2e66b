// The main window's loaders, unit adding and calculation, on the real
// frmConversion over a temporary application folder.

#include "benchdata.h"

#include "platform/services.h"
#include "ui/main/frmConversion.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <memory>

using namespace quorvel;
using namespace quorvel::bench;

namespace {

const QString kCategory = QStringLiteral("Bench");
const QString kOther = QStringLiteral("Other");

// A window over a folder whose category list names kCategory (count units)
// and kOther (two units).
struct Window {
    explicit Window(int units, int categories = 0)
    {
        QByteArray list = "\"" + kCategory.toLatin1() + "\"\r\n\"" + kOther.toLatin1() + "\"\r\n";
        if (categories > 0)
            list = categoryFileBytes(categories);
        folder.write(QStringLiteral("conversion.txt"), list);
        folder.write(kCategory + QStringLiteral(".txt"), unitFileBytes(units));
        folder.write(kOther + QStringLiteral(".txt"), "\"a\",1\r\n\"b\",2\r\n");
        form = std::make_unique<frmConversion>(folder.path(), platform::systemServices());
        form->Form_Load();
        typeList = form->findChild<QComboBox *>(QStringLiteral("cboConversionType"));
        fromList = form->findChild<QComboBox *>(QStringLiteral("cboConvFrom"));
        toList = form->findChild<QComboBox *>(QStringLiteral("cboConvTo"));
        input = form->findChild<QLineEdit *>(QStringLiteral("txtUserInput"));
    }

    void selectCategory(const QString &name) const
    {
        typeList->setCurrentIndex(typeList->findText(name, Qt::MatchExactly));
    }

    void action(const char *name) const
    {
        form->findChild<QAction *>(QLatin1String(name))->trigger();
    }

    bench::AppFolder folder;
    std::unique_ptr<frmConversion> form;
    QComboBox *typeList = nullptr;
    QComboBox *fromList = nullptr;
    QComboBox *toList = nullptr;
    QLineEdit *input = nullptr;
};

// LoadUnits into empty lists: the lists are emptied outside the timing.
void BM_LoadUnits(benchmark::State &state)
{
    const int count = int(state.range(0));
    const Window w(count);
    w.selectCategory(kCategory);
    for (auto _ : state) {
        state.PauseTiming();
        w.fromList->clear();
        w.toList->clear();
        state.ResumeTiming();
        w.form->LoadUnits();
    }
    if (w.form->UnitNames().size() != count || w.fromList->count() != count
        || w.toList->count() != count)
        state.SkipWithError("the lists and arrays do not hold every unit");
    state.SetItemsProcessed(state.iterations() * count);
}

// A user's choice of the category in normal mode: both lists emptied and
// refilled, the guiding texts and boxes reset.
void BM_CategoryClick(benchmark::State &state)
{
    const int count = int(state.range(0));
    const Window w(count);
    const int index = w.typeList->findText(kCategory, Qt::MatchExactly);
    for (auto _ : state) {
        w.typeList->setCurrentIndex(index);
        Q_EMIT w.typeList->activated(index);
    }
    if (w.fromList->count() != count || w.toList->count() != count)
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
    w.action("mnuFileEdit");
    auto reload = [&w] {
        w.folder.write(kCategory + QStringLiteral(".txt"), unitFileBytes(kStart));
        w.fromList->clear();
        w.toList->clear();
        w.selectCategory(kCategory);
        w.form->LoadUnits();
    };
    reload();
    int serial = 0;
    for (auto _ : state) {
        if (w.form->UnitNames().size() >= 32767) {
            state.PauseTiming();
            reload();
            state.ResumeTiming();
        }
        // Lands in the middle of the list: half of the ordering pass moves it.
        w.fromList->setEditText(QStringLiteral("Unit 16000 %1").arg(++serial));
        w.input->setText(QStringLiteral("2.5"));
        w.form->AddUnit();
    }
    state.counters["units_at_end"] = double(w.form->UnitNames().size());
}

// LoadCategories of a category list file into the sorted list.
void BM_LoadCategories(benchmark::State &state)
{
    const int count = int(state.range(0));
    const Window w(2, count);
    for (auto _ : state)
        w.form->LoadCategories();
    if (w.typeList->count() != count)
        state.SkipWithError("the category list does not hold every category");
    state.SetItemsProcessed(state.iterations() * count);
}

// The output forms, by the Output menu action that selects them.
const char *const kForms[]
    = { "plain", "mnuOutput3", "mnuOutput6", "mnuOutput9", "mnuOutput12", "mnuOutput15" };

void selectForm(const Window &w, int form)
{
    auto *scientific = w.form->findChild<QAction *>(QStringLiteral("mnuOutputScientific"));
    if (form == 0) {
        if (scientific->isChecked())
            scientific->trigger();
        return;
    }
    if (!scientific->isChecked())
        scientific->trigger();
    w.action(kForms[form]);
}

// CalculateIt (which ends in FormatOutput) with both units chosen and a value
// typed, in each output form.
void BM_CalculateIt(benchmark::State &state)
{
    const Window w(1000);
    w.selectCategory(kCategory);
    w.form->LoadUnits();
    w.fromList->setCurrentIndex(10);
    w.toList->setCurrentIndex(500);
    w.input->setText(QStringLiteral("1234.5678"));
    selectForm(w, int(state.range(0)));
    state.SetLabel(kForms[state.range(0)]);
    for (auto _ : state)
        w.form->CalculateIt();
}

// FormatOutput alone, in each output form.
void BM_FormatOutput(benchmark::State &state)
{
    const Window w(2);
    selectForm(w, int(state.range(0)));
    state.SetLabel(kForms[state.range(0)]);
    double value = 1234.5678;
    for (auto _ : state) {
        const QString text = w.form->FormatOutput(value, 0.3048);
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

int main(int argc, char **argv)
{
    // Offscreen unless a display is asked for: the window is never shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
