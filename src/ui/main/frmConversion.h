#pragma once

#include "convert/calculation.h"
#include "convert/outputformat.h"
#include "store/appfolder.h"
#include "store/datastore.h"
#include "store/editstep.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;

class frmAbout;
class frmHelp;
class frmRegister;

namespace quorvel {
class Failure;
namespace platform {
struct Services;
}
} // namespace quorvel

// The main window: the category list, the two unit lists, the value and
// output boxes, the edit-mode note and the File, Output and Help menus.
// Its handlers are thin: they read the controls, call the core, and write
// the controls back. Each handler reports a failure in a message box and the
// window stays as the failing step left it.
class frmConversion : public QMainWindow {
    Q_OBJECT

public:
    frmConversion(quorvel::AppFolder appFolder, quorvel::platform::Services &services,
        QWidget *parent = nullptr);
    ~frmConversion() override;

    // The load step: sets the caption and loads the categories. Called once
    // after construction, before the window is first shown.
    void Form_Load();

    // Window-level data, read by the tests and the benchmarks.
    const QStringList &UnitNames() const { return m_store.loadedUnits().units.names; }
    const QList<double> &UnitFactors() const { return m_store.loadedUnits().units.factors; }
    bool isEditMode() const;

    // Store and calculation operations.
    void LoadCategories();
    void LoadUnits();
    void SaveCategories();
    void CreateCategoryFile(const QString &name);
    void AddUnit();
    void CalculateIt();
    QString FormatOutput(double value, double divisor) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Event handlers.
    void cboConversionType_Click();
    void cboConvFrom_Click();
    void cboConvFrom_KeyPress(int KeyAscii);
    void cboConvTo_Click();
    void cboConvTo_KeyPress(int KeyAscii);
    void txtUserInput_GotFocus();
    void txtUserInput_KeyPress(int KeyAscii);
    void mnuFileEdit_Click();
    void mnuFileExit_Click();
    void mnuOutputScientific_Click();
    void mnuOutputDecimals_Click(QAction *item);
    void mnuHelpAbout_Click();
    void mnuHelpHelp_Click();
    void mnuHelpRegister_Click();

    void createControls();
    void createMenus();

    // Runs one handler body; a failure is reported and ends the handler.
    template <typename Body> void handle(Body &&body);
    void report(const quorvel::Failure &failure);

    void edit(quorvel::EditEvent event);
    QString askCategoryName();
    bool askToDelete();
    void resetUnits(const QString &fromText);
    void refreshOutput();
    quorvel::OutputMode outputMode() const;
    void closeDialogs();

    quorvel::AppFolder m_appFolder;
    quorvel::DataStore m_store;
    quorvel::platform::Services &m_services;

    // Controls.
    QComboBox *cboConversionType = nullptr;
    QComboBox *cboConvFrom = nullptr;
    QComboBox *cboConvTo = nullptr;
    QLineEdit *txtUserInput = nullptr;
    QLineEdit *txtCalcOut = nullptr;
    QLabel *lblEdit = nullptr;

    // Menus.
    QMenu *mnuFile = nullptr;
    QAction *mnuFileEdit = nullptr;
    QAction *mnuFileExit = nullptr;
    QMenu *mnuOutput = nullptr;
    QAction *mnuOutputScientific = nullptr;
    QAction *mnuOutput3 = nullptr;
    QAction *mnuOutput6 = nullptr;
    QAction *mnuOutput9 = nullptr;
    QAction *mnuOutput12 = nullptr;
    QAction *mnuOutput15 = nullptr;
    QList<QAction *> m_decimalsItems; // 3 to 15 decimals, one of them checked
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelpAbout = nullptr;
    QAction *mnuHelpHelp = nullptr;
    QAction *mnuHelpRegister = nullptr;

    // The dialogs: one instance each, created on first use, no owner.
    QPointer<frmAbout> m_about;
    QPointer<frmHelp> m_help;
    QPointer<frmRegister> m_register;

    // Window-level data.
    quorvel::LastResult m_lastResult;
    // The unit lists are the window's own. Each load appends the names it
    // read, in file order, to both; only a new conversion empties them. In
    // normal mode every load starts from empty lists, so a list's row is the
    // place of that unit in the store's table, by which a conversion looks up
    // its factor. In edit mode, where nothing converts, they part: a No
    // appends the next category's units and another marker, and an added
    // unit joins the store's table but not the lists (it shows once its
    // category is loaded again). The markers are known by their rows here.
    QList<int> m_unitMarkers;
};
