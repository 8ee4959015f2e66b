#include "ui/main/frmConversion.h"

#include "convert/calculation.h"
#include "platform/services.h"
#include "store/appfolder.h"
#include "ui/dialogs/frmAbout.h"
#include "ui/dialogs/frmHelp.h"
#include "ui/dialogs/frmRegister.h"
#include "ui/failuretext.h"
#include "ui/main/keypress.h"
#include "ui/main/listcontrols.h"
#include "ui/main/windowtexts.h"
#include "ui/messagebox.h"
#include "ui/twips.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>

using namespace quorvel;
using namespace quorvel::ui;
using namespace quorvel::ui::texts;

namespace {

constexpr int kEnter = 13;

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

frmConversion::frmConversion(AppFolder appFolder, platform::Services &services, QWidget *parent)
    : QMainWindow(parent)
    , m_appFolder(std::move(appFolder))
    , m_store(m_appFolder.path)
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
    // The list shows the store's categories; the store's chosen category is
    // the entry the list selects, whoever selected it, and typing into the
    // list's text field selects none.
    cboConversionType->setModel(&m_store.categoryModel());
    connect(cboConversionType, &QComboBox::currentIndexChanged, this,
        [this](int index) { m_store.chooseCategory(index); });

    for (QComboBox *combo : { cboConversionType, cboConvFrom, cboConvTo })
        combo->installEventFilter(this);
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
    // Exactly one decimals item is checked (mnuOutputDecimals_Click). They
    // are in no exclusive QActionGroup, whose items the style draws as radio
    // bullets: they show ticks, as Scientific does.
    m_decimalsItems = { mnuOutput3, mnuOutput6, mnuOutput9, mnuOutput12, mnuOutput15 };
    int decimals = 0;
    for (QAction *item : m_decimalsItems) {
        item->setData(decimals += 3); // 3, 6, 9, 12 and 15 decimals
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
    QMessageBox box(QMessageBox::Critical, kTitle, failureText(failure, m_store.categoryListPath()),
        QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("failureMessage"));
    fitTitle(box);
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
    // Said before the first edit fails; edit mode stays on, to look around.
    if (isEditMode())
        if (const auto failure = readOnlyFolderFailure(m_appFolder))
            report(*failure);
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
    const bool edit = isEditMode();
    const CategoryLoad loaded = m_store.loadCategories(edit);
    // Even when the file could not be read whole, the window shows the
    // layout of its mode, so that it stays usable after the report.
    showUnselected(cboConversionType, kConversionPrompt);
    resetUnits(edit ? kConvertFromTo : kConvertFrom);
    cboConvTo->setVisible(!edit);
    txtCalcOut->setVisible(!edit);
    lblEdit->setVisible(edit);
    // Edit mode says at once why it offers no new category.
    if (loaded.problem && (edit || loaded.failure()))
        throw *loaded.problem;
}

// Empties both unit lists, showing their guiding texts, and the value and
// output boxes: a new conversion starts.
void frmConversion::resetUnits(const QString &fromText)
{
    cboConvFrom->clear();
    cboConvTo->clear();
    m_unitMarkers.clear();
    showUnselected(cboConvFrom, fromText);
    showUnselected(cboConvTo, kConvertTo);
    txtUserInput->clear();
    txtCalcOut->clear();
    m_lastResult.forget();
}

void frmConversion::LoadUnits()
{
    // The records read before a failure stay listed and convert; the store
    // refuses to rewrite a unit file it could not read whole.
    const UnitLoad loaded = m_store.loadUnits(cboConversionType->currentText());
    // The lists are appended to, never emptied here; the arrays are replaced.
    appendEntries(cboConvFrom, loaded.records.names);
    appendEntries(cboConvTo, loaded.records.names);
    if (loaded.problem && (isEditMode() || loaded.failure()))
        throw *loaded.problem;
}

// ---------------------------------------------------------------------------
// Calculation and output

void frmConversion::CalculateIt()
{
    const Conversion result = calculate(cboConvFrom->currentIndex(), cboConvTo->currentIndex(),
        txtUserInput->text(), UnitFactors(), outputMode(), m_lastResult);
    switch (result.lacking) {
    case Lacking::FromUnit:
        cboConvFrom->setFocus();
        return;
    case Lacking::ToUnit:
        cboConvTo->setFocus();
        return;
    case Lacking::Value:
        txtUserInput->setFocus();
        return;
    case Lacking::Nothing:
        break;
    }
    if (result.failure)
        return report(*result.failure);
    txtCalcOut->setText(result.text);
}

OutputMode frmConversion::outputMode() const
{
    OutputMode mode;
    mode.scientific = mnuOutputScientific->isChecked();
    for (const QAction *item : m_decimalsItems) {
        if (item->isChecked())
            mode.decimals = item->data().toInt();
    }
    return mode;
}

QString frmConversion::FormatOutput(double value, double divisor) const
{
    return formatOutput(value, divisor, outputMode());
}

void frmConversion::refreshOutput()
{
    // Without a result to show again the output box keeps its text.
    if (const auto text
        = m_lastResult.shownAgain(cboConvTo->currentIndex(), UnitFactors(), outputMode()))
        txtCalcOut->setText(*text);
}

void frmConversion::mnuOutputScientific_Click()
{
    // The action has already inverted its own check mark.
    handle([this] { refreshOutput(); });
}

void frmConversion::mnuOutputDecimals_Click(QAction *item)
{
    // The item has toggled its own check mark: choosing the checked one
    // keeps it checked, and the other four lose theirs.
    for (QAction *other : m_decimalsItems)
        other->setChecked(other == item);
    handle([this] { refreshOutput(); });
}

// ---------------------------------------------------------------------------
// Category list

void frmConversion::cboConversionType_Click()
{
    handle([this] {
        if (isEditMode())
            return edit(EditEvent::CategoryChosen);
        resetUnits(kConvertFrom);
        LoadUnits();
        cboConvFrom->setFocus();
    });
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
        if (isEditMode())
            return edit(EditEvent::UnitChosen);
        CalculateIt();
    });
}

void frmConversion::cboConvFrom_KeyPress(int KeyAscii)
{
    if (KeyAscii != kEnter)
        return;
    handle([this] {
        if (isEditMode())
            return edit(EditEvent::UnitListEnter);
        CalculateIt();
    });
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
        if (isEditMode())
            return edit(EditEvent::ValueBoxEnter);
        CalculateIt();
    });
}

bool frmConversion::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        // The focus coming back from a menu, or with the window, was not
        // moved: the user's place in the value stays as it was.
        if (watched == txtUserInput) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason
                && reason != Qt::MenuBarFocusReason)
                txtUserInput_GotFocus();
        }
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
