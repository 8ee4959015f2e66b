#include "ui/main/listcontrols.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QStringListModel>

namespace quorvel::ui {

void showUnselected(QComboBox *combo, const QString &text)
{
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
}

// Into an empty list the entries go as one shared string list, without an
// item object per entry; the text field keeps its text and no entry is
// selected, as when entries are added one by one.
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
    // Typing into the text field leaves no entry selected, while the typed
    // text stays as it is.
    QObject::connect(
        combo->lineEdit(), &QLineEdit::textEdited, combo, [combo](const QString &text) {
            if (combo->currentIndex() < 0)
                return;
            const int cursor = combo->lineEdit()->cursorPosition();
            combo->setCurrentIndex(-1);
            combo->setEditText(text);
            combo->lineEdit()->setCursorPosition(cursor);
        });
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

} // namespace quorvel::ui
