#include "ui/main/frmConversion.h"

#include "appinfo.h"
#include "convert/failure.h"
#include "convert/readnumber.h"
#include "platform/services.h"
#include "ui/dialogs/frmAbout.h"
#include "ui/dialogs/frmHelp.h"
#include "ui/dialogs/frmRegister.h"
#include "ui/dialogs/twips.h"
#include "ui/main/keypress.h"

#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCollator>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QMessageBox>
#include <QStringListModel>
#include <QTimer>

#include <algorithm>

using namespace quorvel;

namespace {

const QString kMarker = QString::fromUtf16(kNewEntryMarker);
const QString kTitle = QString::fromLatin1(appinfo::kTitle);

// The guiding texts a combo box shows while no entry is selected.
const QString kConversionPrompt = QStringLiteral("Conversion");
const QString kConvertFrom = QStringLiteral("Convert From");
const QString kConvertTo = QStringLiteral("Convert To");
const QString kConvertFromTo = QStringLiteral("Convert From/To");

constexpr int kEnter = 13;

// Shows text in a combo box's text field with no entry selected.
void showUnselected(QComboBox *combo, const QString &text)
{
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
}

// Sorts the way the category list sorts: alphabetically, letters without
// regard to case. Sort keys are computed once per name, not per comparison,
// and the sort moves plain indexes, not the keys.
QStringList sortedForList(const QStringList &names)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<qsizetype> order(names.size());
    for (qsizetype i = 0; i < names.size(); ++i)
        order[i] = i;
    QStringList sorted;
    sorted.reserve(names.size());
    if (collator.locale().language() == QLocale::C) {
        // The C locale's sort keys are the plain code units, case and all,
        // while its comparison ignores case: compare directly.
        std::stable_sort(order.begin(), order.end(), [&names](qsizetype a, qsizetype b) {
            return names[a].compare(names[b], Qt::CaseInsensitive) < 0;
        });
        for (const qsizetype i : order)
            sorted.append(names[i]);
        return sorted;
    }
    std::vector<QCollatorSortKey> keys;
    keys.reserve(names.size());
    for (const QString &name : names)
        keys.push_back(collator.sortKey(name));
    std::stable_sort(order.begin(), order.end(),
        [&keys](qsizetype a, qsizetype b) { return keys[a].compare(keys[b]) < 0; });
    for (const qsizetype i : order)
        sorted.append(names[i]);
    return sorted;
}

// Appends entries to a list. Into an empty list they go as one shared string
// list, without an item object per entry; the text field keeps its text and
// no entry is selected, as when entries are added one by one.
void appendEntries(QComboBox *combo, const QStringList &entries)
{
    auto *model = qobject_cast<QStringListModel *>(combo->model());
    if (!model || model->rowCount() > 0 || entries.isEmpty()) {
        combo->addItems(entries);
        return;
    }
    const int index = combo->currentIndex();
    const QString text = combo->currentText();
    model->setStringList(entries);
    combo->setCurrentIndex(index < 0 ? -1 : index);
    combo->setEditText(text);
}

QStringList entriesOf(const QComboBox *combo)
{
    QStringList entries;
    entries.reserve(combo->count());
    for (int i = 0; i < combo->count(); ++i)
        entries.append(combo->itemText(i));
    return entries;
}

QComboBox *makeCombo(QWidget *parent, const char *name, const QString &accessibleName,
    const QString &tip, const QString &storedText)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    // Entries are texts only: a string list holds them in one array that the
    // unit lists and the unit names share.
    combo->setModel(new QStringListModel(combo));
    combo->setEditable(true);
    // Typing into the text field must select nothing and add nothing: no
    // inline completion, no new entry on Enter.
    combo->setCompleter(nullptr);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // When its text field loses the focus, a combo box would select the entry
    // that matches the typed text and report it as the user's choice.
    QObject::disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
    combo->setDuplicatesEnabled(true);
    // The geometry is fixed, so measuring thousands of entries is wasted work.
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    if (auto *list = qobject_cast<QListView *>(combo->view()))
        list->setUniformItemSizes(true);
    // The wheel gives no focus: it must not make a list the one the user
    // works in, whose selection the wheel then moves.
    combo->setFocusPolicy(Qt::StrongFocus);
    combo->setToolTip(tip);
    combo->setAccessibleName(accessibleName);
    combo->setAccessibleDescription(tip);
    // Some platforms name a combo box after its text; its text field, which
    // takes the keyboard focus, carries the name too.
    combo->lineEdit()->setAccessibleName(accessibleName);
    combo->setEditText(storedText);
    return combo;
}

QLineEdit *makeTextBox(QWidget *parent, const char *name, const QString &accessibleName,
    const QString &tip, const QString &storedText)
{
    auto *box = new QLineEdit(storedText, parent);
    box->setObjectName(QLatin1String(name));
    box->setToolTip(tip);
    box->setAccessibleName(accessibleName);
    box->setAccessibleDescription(tip);
    return box;
}

QAction *makeAction(QMenu *menu, const char *name, const QString &caption, bool checkable = false,
    bool checked = false)
{
    auto *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setCheckable(checkable);
    action->setChecked(checked);
    return action;
}

} // namespace

frmConversion::frmConversion(QString appFolder, platform::Services &services, QWidget *parent)
    : QMainWindow(parent)
    , m_store(std::move(appFolder))
    , m_services(services)
{
    setObjectName(QStringLiteral("frmConversion"));
    // A fixed single border with a close button and no minimize or maximize.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setAccessibleName(kTitle);
    createControls();
    createMenus();
    // The user cannot resize the window: it is as large as its client area
    // and menu bar.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

frmConversion::~frmConversion()
{
    // The controls outlive this object's members: a focus change while they
    // are destroyed must not run a handler on a half-destroyed window.
    for (QComboBox *combo : { cboConversionType, cboConvFrom, cboConvTo })
        disconnect(combo, nullptr, this, nullptr);
    closeDialogs();
}

void frmConversion::createControls()
{
    const ui::TwipsScale twips(*this);
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twips.size(6105, 1110));
    setCentralWidget(client);

    cboConversionType = makeCombo(client, "cboConversionType", tr("Conversion category"),
        tr("Select the type of conversion desired"), QStringLiteral("Conversion Type"));
    cboConvFrom = makeCombo(client, "cboConvFrom", tr("Convert from unit"),
        tr("Select the standard to convert from"), QStringLiteral("From"));
    cboConvTo = makeCombo(client, "cboConvTo", tr("Convert to unit"),
        tr("Select the standard to convert to"), QStringLiteral("To"));
    txtUserInput = makeTextBox(client, "txtUserInput", tr("Value to convert"),
        tr("Input the value to be converted"), QStringLiteral("User Input"));
    txtCalcOut = makeTextBox(client, "txtCalcOut", tr("Converted value"),
        tr("The calculated output"), QStringLiteral("Calculated Output"));
    lblEdit
        = new QLabel(tr("Make sure the conversion value converts to the default value *"), client);
    lblEdit->setObjectName(QStringLiteral("lblEdit"));
    lblEdit->setAccessibleName(lblEdit->text());
    lblEdit->setWordWrap(true);

    auto place = [&twips](QWidget *w, int left, int top, int width, int height) {
        w->setGeometry(twips.rect(left, top, width, height));
    };
    place(cboConversionType, 120, 0, 2895, 315);
    place(cboConvFrom, 120, 360, 2895, 315);
    place(cboConvTo, 120, 720, 2895, 315);
    place(txtUserInput, 3120, 360, 2895, 315);
    place(txtCalcOut, 3120, 720, 2895, 315);
    place(lblEdit, 120, 720, 5895, 375);

    setTabOrder(cboConversionType, cboConvFrom);
    setTabOrder(cboConvFrom, cboConvTo);
    setTabOrder(cboConvTo, txtUserInput);
    setTabOrder(txtUserInput, txtCalcOut);

    // Click events are the user's choices only: activated is not emitted by
    // the program's own changes to a list.
    connect(
        cboConversionType, &QComboBox::activated, this, &frmConversion::cboConversionType_Click);
    connect(cboConvFrom, &QComboBox::activated, this, &frmConversion::cboConvFrom_Click);
    connect(cboConvTo, &QComboBox::activated, this, &frmConversion::cboConvTo_Click);

    // Typing into a list's text field leaves no entry selected, while the
    // typed text stays as it is.
    for (QComboBox *combo : { cboConversionType, cboConvFrom, cboConvTo }) {
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, [combo](const QString &text) {
            if (combo->currentIndex() < 0)
                return;
            const int cursor = combo->lineEdit()->cursorPosition();
            combo->setCurrentIndex(-1);
            combo->setEditText(text);
            combo->lineEdit()->setCursorPosition(cursor);
        });
        combo->installEventFilter(this);
    }
    txtUserInput->installEventFilter(this);
}

void frmConversion::createMenus()
{
    mnuFile = menuBar()->addMenu(tr("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFileEdit = makeAction(mnuFile, "mnuFileEdit", tr("&Edit"), true, false);
    mnuFileExit = makeAction(mnuFile, "mnuFileExit", tr("E&xit"));

    mnuOutput = menuBar()->addMenu(tr("&Output"));
    mnuOutput->setObjectName(QStringLiteral("mnuOutput"));
    mnuOutputScientific
        = makeAction(mnuOutput, "mnuOutputScientific", tr("&Scientific"), true, true);
    mnuOutput3 = makeAction(mnuOutput, "mnuOutput3", tr("&3 Decimals"), true, false);
    mnuOutput6 = makeAction(mnuOutput, "mnuOutput6", tr("&6 Decimals"), true, true);
    mnuOutput9 = makeAction(mnuOutput, "mnuOutput9", tr("&9 Decimals"), true, false);
    mnuOutput12 = makeAction(mnuOutput, "mnuOutput12", tr("&12 Decimals"), true, false);
    mnuOutput15 = makeAction(mnuOutput, "mnuOutput15", tr("&15 Decimals"), true, false);
    // Exclusive: exactly one decimals item is checked, and choosing the
    // checked one keeps it checked.
    m_decimalsGroup = new QActionGroup(this);
    m_decimalsGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (QAction *item : { mnuOutput3, mnuOutput6, mnuOutput9, mnuOutput12, mnuOutput15 }) {
        m_decimalsGroup->addAction(item);
        connect(item, &QAction::triggered, this, [this, item] { mnuOutputDecimals_Click(item); });
    }

    mnuHelp = menuBar()->addMenu(tr("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpAbout = makeAction(mnuHelp, "mnuHelpAbout", tr("&About"));
    mnuHelpHelp = makeAction(mnuHelp, "mnuHelpHelp", tr("He&lp"));
    mnuHelpRegister = makeAction(mnuHelp, "mnuHelpRegister", tr("&Register"));

    connect(mnuFileEdit, &QAction::triggered, this, &frmConversion::mnuFileEdit_Click);
    connect(mnuFileExit, &QAction::triggered, this, &frmConversion::mnuFileExit_Click);
    connect(
        mnuOutputScientific, &QAction::triggered, this, &frmConversion::mnuOutputScientific_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmConversion::mnuHelpAbout_Click);
    connect(mnuHelpHelp, &QAction::triggered, this, &frmConversion::mnuHelpHelp_Click);
    connect(mnuHelpRegister, &QAction::triggered, this, &frmConversion::mnuHelpRegister_Click);
}

bool frmConversion::isEditMode() const
{
    return mnuFileEdit->isChecked();
}

template <typename Body> void frmConversion::handle(Body &&body)
{
    try {
        body();
    } catch (const Failure &failure) {
        report(failure);
    }
}

void frmConversion::report(const Failure &failure)
{
    QMessageBox box(QMessageBox::Critical, kTitle, failure.message(), QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("failureMessage"));
    box.exec();
}

// ---------------------------------------------------------------------------
// Start-up, edit mode, exit

void frmConversion::Form_Load()
{
    setWindowTitle(kTitle);
    handle([this] { LoadCategories(); });
    cboConversionType->setFocus();
}

void frmConversion::mnuFileEdit_Click()
{
    // The action has already toggled its own check mark.
    handle([this] { LoadCategories(); });
}

void frmConversion::mnuFileExit_Click()
{
    closeDialogs();
    close();
    QCoreApplication::exit(0);
}

void frmConversion::closeEvent(QCloseEvent *event)
{
    // Closing the main window ends the program, whatever dialog is open.
    closeDialogs();
    event->accept();
}

void frmConversion::closeDialogs()
{
    delete m_about.data();
    delete m_help.data();
    delete m_register.data();
}

// ---------------------------------------------------------------------------
// Loading

void frmConversion::LoadCategories()
{
    cboConversionType->clear();
    m_dataFilePath = m_store.categoryListPath();
    CategoryLoad loaded = m_store.loadCategories();
    // A category list that was not read whole cannot be rewritten, so it
    // offers no new category.
    if (isEditMode() && loaded.whole())
        loaded.records.append(kMarker);
    appendEntries(cboConversionType, sortedForList(loaded.records));
    // Even when the file could not be read whole, the window shows the
    // layout of its mode, so that it stays usable after the report.
    txtUserInput->clear();
    showUnselected(cboConversionType, kConversionPrompt);
    cboConvFrom->clear();
    cboConvTo->clear();
    showUnselected(cboConvTo, kConvertTo);
    txtCalcOut->clear();
    m_hasResult = false;
    const bool edit = isEditMode();
    showUnselected(cboConvFrom, edit ? kConvertFromTo : kConvertFrom);
    cboConvTo->setVisible(!edit);
    txtCalcOut->setVisible(!edit);
    lblEdit->setVisible(edit);
    if (loaded.failure)
        throw *loaded.failure;
}

void frmConversion::LoadUnits()
{
    const QString category = cboConversionType->currentText();
    m_dataFilePath = m_store.unitFilePath(category);
    // The records read before a failure stay listed and convert; the store
    // refuses to rewrite a unit file it could not read whole.
    UnitLoad loaded = m_store.loadUnits(category);
    // The lists are appended to, never emptied here; the arrays are replaced.
    appendEntries(cboConvFrom, loaded.records.names);
    appendEntries(cboConvTo, loaded.records.names);
    m_units = std::move(loaded.records);
    m_unitsCategory = category;
    if (loaded.failure)
        throw *loaded.failure;
}

// ---------------------------------------------------------------------------
// Writing

void frmConversion::SaveCategories()
{
    m_dataFilePath = m_store.categoryListPath();
    m_store.saveCategories(entriesOf(cboConversionType));
}

void frmConversion::CreateCategoryFile()
{
    const QString category = cboConversionType->currentText();
    m_dataFilePath = m_store.unitFilePath(category);
    m_store.createCategoryFile(category);
}

void frmConversion::AddUnit()
{
    const QString category = cboConversionType->currentText();
    // A unit belongs to the category whose units are loaded and listed; any
    // other state would write a unit file for no category or the wrong one.
    const bool listed = cboConversionType->findText(category, Qt::MatchExactly) >= 0;
    if (!m_unitsCategory || *m_unitsCategory != category || !listed || category == kMarker)
        throw Failure(FailureKind::Refused, {}, 0,
            tr("Choose a category first: its units must be loaded before a unit "
               "can be added to it."));
    const QString name = cboConvFrom->currentText();
    if (const QString problem = unitNameProblem(name); !problem.isEmpty())
        throw Failure(FailureKind::Refused, {}, 0, problem);
    if (m_units.names.size() >= kMaxRecords)
        throw Failure(FailureKind::Refused, m_store.unitFilePath(category), 0,
            tr("A category holds at most %1 units.").arg(kMaxRecords));
    const double factor = ReadNumber(txtUserInput->text());

    // The arrays take the unit only once its file has been written, so they
    // always match the file on disk.
    UnitTable units = m_units;
    insertUnitByName(units, name, factor);
    m_dataFilePath = m_store.unitFilePath(category);
    m_store.writeUnits(category, units);
    m_units = std::move(units);
    txtUserInput->clear();
}

// ---------------------------------------------------------------------------
// Calculation and output

void frmConversion::CalculateIt()
{
    const int from = cboConvFrom->currentIndex();
    const int to = cboConvTo->currentIndex();
    if (from < 0) {
        cboConvFrom->setFocus();
        return;
    }
    if (to < 0) {
        cboConvTo->setFocus();
        return;
    }
    if (txtUserInput->text().isEmpty()) {
        txtUserInput->setFocus();
        return;
    }
    if (from >= m_units.factors.size() || to >= m_units.factors.size())
        throw Failure(FailureKind::SubscriptOutOfRange);
    const double value = ReadNumber(txtUserInput->text());
    try {
        m_defaultValue = multiplyChecked(value, m_units.factors[from]);
    } catch (const Failure &) {
        m_hasResult = false;
        throw;
    }
    m_hasResult = true;
    txtCalcOut->setText(FormatOutput(m_defaultValue, m_units.factors[to]));
}

OutputMode frmConversion::outputMode() const
{
    OutputMode mode;
    mode.scientific = mnuOutputScientific->isChecked();
    const QAction *checked = m_decimalsGroup->checkedAction();
    mode.decimals = checked == mnuOutput3 ? 3
        : checked == mnuOutput9           ? 9
        : checked == mnuOutput12          ? 12
        : checked == mnuOutput15          ? 15
                                          : 6;
    return mode;
}

QString frmConversion::FormatOutput(double value, double divisor) const
{
    return formatOutput(value, divisor, outputMode());
}

void frmConversion::refreshOutput()
{
    // Shows the last result again in the form now chosen. Without a result
    // (nothing converted since the lists were loaded, a failed
    // multiplication, no to-unit) the output box keeps its text.
    const int to = cboConvTo->currentIndex();
    if (!m_hasResult || to < 0)
        return;
    if (to >= m_units.factors.size())
        throw Failure(FailureKind::SubscriptOutOfRange);
    txtCalcOut->setText(FormatOutput(m_defaultValue, m_units.factors[to]));
}

void frmConversion::mnuOutputScientific_Click()
{
    // The action has already inverted its own check mark.
    handle([this] { refreshOutput(); });
}

void frmConversion::mnuOutputDecimals_Click(QAction *item)
{
    item->setChecked(true); // the group unchecks the other four
    handle([this] { refreshOutput(); });
}

// ---------------------------------------------------------------------------
// Category list

void frmConversion::cboConversionType_Click()
{
    handle([this] {
        if (!isEditMode()) {
            cboConvFrom->clear();
            cboConvTo->clear();
            showUnselected(cboConvFrom, kConvertFrom);
            showUnselected(cboConvTo, kConvertTo);
            txtUserInput->clear();
            txtCalcOut->clear();
            m_hasResult = false;
            LoadUnits();
            cboConvFrom->setFocus();
            return;
        }
        if (cboConversionType->currentText() == kMarker)
            addCategoryInEditMode();
        else
            offerCategoryDeletion();
    });
}

void frmConversion::addCategoryInEditMode()
{
    CategoryIndex = static_cast<qint16>(cboConversionType->currentIndex());
    const QString name = QInputDialog::getText(
        this, tr("New Category"), tr("Conversion Category"), QLineEdit::Normal);
    QStringList existing = entriesOf(cboConversionType);
    existing.removeAll(kMarker);
    QString problem = name.isEmpty() ? QString() : categoryNameProblem(name, existing);
    if (!name.isEmpty() && existing.size() >= kMaxRecords)
        problem
            = tr("The category list holds %1 categories, the most it can hold.").arg(kMaxRecords);
    if (name.isEmpty() || !problem.isEmpty()) {
        // Cancel, an empty answer or a refused name creates nothing: the list
        // and the files stay as they were, and the marker stays chosen, so
        // that the arrow keys move on from it.
        cboConversionType->setFocus();
        if (!problem.isEmpty())
            throw Failure(FailureKind::Refused, {}, 0,
                tr("The category \"%1\" cannot be created. %2").arg(name, problem));
        return;
    }

    cboConversionType->setItemText(CategoryIndex, name);
    cboConversionType->setCurrentIndex(CategoryIndex);
    // The unit file first: if it cannot be created, the category list file
    // never names a category without its unit file. An existing unit file
    // (left by an earlier deletion) is kept and its units load.
    const QFileInfo unitFile(m_store.unitFilePath(name));
    const bool hadUnitFile = unitFile.exists() || unitFile.isSymLink();
    try {
        CreateCategoryFile();
        SaveCategories();
    } catch (const Failure &) {
        // A unit file made here for a category that the list file does not
        // name is removed again, while it is still the empty file.
        const QFileInfo made(unitFile.filePath());
        if (!hadUnitFile && made.isFile() && !made.isSymLink() && made.size() == 0)
            QFile::remove(made.filePath());
        cboConversionType->setItemText(CategoryIndex, kMarker);
        showUnselected(cboConversionType, kConversionPrompt);
        throw;
    }
    LoadUnits();
    appendEntries(cboConvFrom, { kMarker });
    cboConvFrom->setFocus();
}

void frmConversion::offerCategoryDeletion()
{
    CategoryIndex = static_cast<qint16>(cboConversionType->currentIndex());
    QMessageBox question(QMessageBox::NoIcon, tr("Danger Kestrovan"), tr("Delete Selected Item ?"),
        QMessageBox::Yes | QMessageBox::No, this);
    question.setObjectName(QStringLiteral("deleteQuestion"));
    question.setDefaultButton(QMessageBox::Yes);
    DeleteReply = question.exec() == QMessageBox::Yes ? 6 : 7;

    if (DeleteReply == 6) {
        const QString removed = cboConversionType->itemText(CategoryIndex);
        cboConversionType->removeItem(CategoryIndex);
        showUnselected(cboConversionType, QString());
        try {
            SaveCategories();
        } catch (const Failure &) {
            // The list keeps showing what the category list file holds.
            cboConversionType->insertItem(CategoryIndex, removed);
            cboConversionType->setCurrentIndex(CategoryIndex);
            throw;
        }
        // No category is chosen now, so the from-list offers no new unit.
        cboConvFrom->setFocus();
        return;
    }
    LoadUnits();
    appendEntries(cboConvFrom, { kMarker });
    cboConvFrom->setFocus();
}

// ---------------------------------------------------------------------------
// Unit lists

void frmConversion::cboConvTo_Click()
{
    handle([this] { CalculateIt(); });
}

void frmConversion::cboConvTo_KeyPress(int /*KeyAscii*/)
{
    handle([this] { CalculateIt(); });
}

void frmConversion::cboConvFrom_Click()
{
    handle([this] {
        if (!isEditMode()) {
            CalculateIt();
            return;
        }
        if (cboConvFrom->currentText() == kMarker) {
            cboConvFrom->setEditText(QString());
            return;
        }
        if (txtUserInput->text().isEmpty()) {
            txtUserInput->setFocus();
            return;
        }
        AddUnit();
        cboConvFrom->setFocus();
    });
}

void frmConversion::cboConvFrom_KeyPress(int KeyAscii)
{
    if (KeyAscii != kEnter)
        return;
    handle([this] {
        if (!isEditMode()) {
            CalculateIt();
            return;
        }
        if (txtUserInput->text().isEmpty()) {
            txtUserInput->setFocus();
            return;
        }
        addTypedUnit();
    });
}

// Adds the unit whose name stands in the from-list's text field, unless the
// field still shows its guiding text or nothing; the from-list then takes the
// focus, ready for the next unit.
void frmConversion::addTypedUnit()
{
    const QString text = cboConvFrom->currentText();
    if (text != kConvertFromTo && !text.isEmpty())
        AddUnit();
    cboConvFrom->setFocus();
}

// ---------------------------------------------------------------------------
// Value box

void frmConversion::txtUserInput_GotFocus()
{
    // Deferred: the mouse press that gave the focus would otherwise undo
    // the selection.
    QTimer::singleShot(0, txtUserInput, [box = txtUserInput] { box->selectAll(); });
}

void frmConversion::txtUserInput_KeyPress(int KeyAscii)
{
    if (KeyAscii != kEnter)
        return;
    handle([this] {
        if (!isEditMode()) {
            CalculateIt();
            return;
        }
        addTypedUnit();
    });
}

bool frmConversion::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched == txtUserInput)
            txtUserInput_GotFocus();
        break;
    case QEvent::Wheel:
        // A turn of the wheel over a list that the user is not working in
        // must not choose an entry: in edit mode a choice stores a unit or
        // asks to delete a category.
        if (auto *combo = qobject_cast<QComboBox *>(watched); combo && !combo->hasFocus())
            return true;
        break;
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        const std::optional<int> keyAscii
            = ui::keyPressCode(key->key(), key->modifiers(), key->text());
        if (!keyAscii)
            break;
        if (watched == txtUserInput)
            txtUserInput_KeyPress(*keyAscii);
        else if (watched == cboConvFrom)
            cboConvFrom_KeyPress(*keyAscii);
        else if (watched == cboConvTo)
            cboConvTo_KeyPress(*keyAscii);
        // Enter in a combo box would select an entry matching the typed text
        // and raise its Click event: a typed text selects nothing, so the
        // combo box never sees Enter.
        return *keyAscii == kEnter && watched != txtUserInput;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Help menu

namespace {

// Shows a dialog's one instance, creating it if it is not loaded, and brings
// it to the front if it is already shown.
template <typename Dialog, typename Make> void showSingle(QPointer<Dialog> &dialog, Make make)
{
    if (!dialog)
        dialog = make();
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

} // namespace

void frmConversion::mnuHelpAbout_Click()
{
    showSingle(m_about, [this] { return new frmAbout(this, m_services); });
}

void frmConversion::mnuHelpHelp_Click()
{
    showSingle(m_help, [this] { return new frmHelp(m_store.appFolder()); });
}

void frmConversion::mnuHelpRegister_Click()
{
    showSingle(m_register, [this] { return new frmRegister(m_services); });
}
