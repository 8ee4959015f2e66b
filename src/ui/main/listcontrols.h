#pragma once

#include <QStringList>

class QComboBox;
class QLineEdit;
class QWidget;

// The list and text controls of the main window, and the list operations
// its handlers share.
namespace quorvel::ui {

// An editable drop-down list whose entries are plain texts in one shared
// string list. Typing into its text field selects and adds nothing, and the
// mouse wheel gives it no focus.
QComboBox *makeCombo(QWidget *parent, const char *name, const QString &accessibleName,
    const QString &tip, const QString &storedText);
QLineEdit *makeTextBox(QWidget *parent, const char *name, const QString &accessibleName,
    const QString &tip, const QString &storedText);

// Shows text in a combo box's text field with no entry selected.
void showUnselected(QComboBox *combo, const QString &text);

// Appends entries to a list, leaving its text and selection as they are.
void appendEntries(QComboBox *combo, const QStringList &entries);

} // namespace quorvel::ui
