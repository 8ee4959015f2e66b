#include "ui/dialogs/fixeddialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace quorvel::ui {

FixedDialog::FixedDialog(int widthTwips, int heightTwips)
    : QDialog(nullptr,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
            | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_scale(*this)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(m_scale.size(widthTwips, heightTwips));
    setSizeGripEnabled(false);
    // The layouts are measured for an 8-point dialog font; a larger default
    // font would cut off their texts.
    QFont dialogFont = font();
    if (dialogFont.pointSizeF() > 8.0) {
        dialogFont.setPointSizeF(8.0);
        setFont(dialogFont);
    }
}

void FixedDialog::reject()
{
}

QRect FixedDialog::twips(int left, int top, int width, int height) const
{
    return m_scale.rect(left, top, width, height);
}

void FixedDialog::setDefaultButton(QPushButton *button)
{
    m_defaultButton = button;
    button->setDefault(true);
}

void FixedDialog::keyPressEvent(QKeyEvent *event)
{
    // QDialog would click the button that had the focus last even after the
    // focus moved on into a text box; here a dialog without a default button
    // ignores Enter outside its buttons.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        auto *button = qobject_cast<QPushButton *>(focusWidget());
        if (!button)
            button = m_defaultButton;
        if (button && button->isVisible() && button->isEnabled())
            button->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FixedDialog::closeEvent(QCloseEvent *event)
{
    // QDialog would route the close control through reject(); here it
    // always closes, and WA_DeleteOnClose unloads the dialog.
    event->accept();
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAccessibleName(text);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

} // namespace quorvel::ui
