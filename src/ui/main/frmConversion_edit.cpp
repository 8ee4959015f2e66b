// The main window's edit mode: what an edit-mode event means, the questions
// it asks, and the writes.
#include "ui/main/frmConversion.h"

#include "ui/main/listcontrols.h"
#include "ui/main/windowtexts.h"
#include "ui/messagebox.h"

#include <QComboBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

using namespace quorvel;
using namespace quorvel::ui;
using namespace quorvel::ui::texts;

// ---------------------------------------------------------------------------
// Writing

// Saves the category list without the chosen category; the list box, which
// shows the store's list, drops it only then. Deleting a category is the one
// edit that saves the list alone, so this adapter is where a deletion happens.
void frmConversion::SaveCategories()
{
    m_store.removeCategory();
    showUnselected(cboConversionType, QString());
}

// Creates the empty unit file of the name typed where the chosen marker
// stands; the list box shows the name in place of the marker only then.
// It saves the category list with the name as well, not SaveCategories():
// the store writes a new category's two files together, both or neither.
void frmConversion::CreateCategoryFile(const QString &name)
{
    m_store.addCategory(name);
}

void frmConversion::AddUnit()
{
    m_store.addUnit(cboConvFrom->currentText(), txtUserInput->text());
    txtUserInput->clear();
}

// Carries out what an edit-mode event means, as editStep() decides it.
void frmConversion::edit(EditEvent event)
{
    const QString unitText = cboConvFrom->currentText();
    EditInput input { .event = event,
        .markerChosen = m_store.categories().markerChosen(),
        .unitMarkerChosen = m_unitMarkers.contains(cboConvFrom->currentIndex()),
        .unitNamed = !unitText.isEmpty() && unitText != kConvertFromTo,
        .factorGiven = !txtUserInput->text().isEmpty() };
    EditStep step = editStep(input);
    if (step.ask == EditQuestion::CategoryName) {
        input.typedName = askCategoryName();
        step = editStep(input);
    } else if (step.ask == EditQuestion::DeleteCategory) {
        input.deleteConfirmed = askToDelete();
        step = editStep(input);
    }
    switch (step.change) {
    case EditChange::AddCategory:
        CreateCategoryFile(*input.typedName);
        break;
    case EditChange::DeleteCategory:
        SaveCategories();
        break;
    case EditChange::AddUnit:
        AddUnit();
        break;
    case EditChange::None:
        break;
    }
    if (step.loadUnits) {
        LoadUnits();
        m_unitMarkers.append(cboConvFrom->count());
        appendEntries(cboConvFrom, { kMarker });
    }
    if (step.clearUnitText)
        cboConvFrom->setEditText(QString());
    // The focus goes where the user gives what is wanted next.
    if (step.wanted) {
        switch (*step.wanted) {
        case EditWanted::Category:
            cboConversionType->setFocus();
            break;
        case EditWanted::UnitName:
            cboConvFrom->setFocus();
            break;
        case EditWanted::Factor:
            txtUserInput->setFocus();
            break;
        }
    }
}

QString frmConversion::askCategoryName()
{
    const QString name = QInputDialog::getText(
        this, tr("New Category"), tr("Conversion Category"), QLineEdit::Normal);
    // Back in the list, whatever the answer and whatever the edit then does.
    cboConversionType->setFocus();
    return name;
}

bool frmConversion::askToDelete()
{
    QMessageBox question(QMessageBox::NoIcon, tr("Danger Kestrovan"), tr("Delete Selected Item ?"),
        QMessageBox::Yes | QMessageBox::No, this);
    question.setObjectName(QStringLiteral("deleteQuestion"));
    question.setDefaultButton(QMessageBox::Yes);
    fitTitle(question);
    return question.exec() == QMessageBox::Yes;
}
