#include "ui/dialogs/fixeddialog.h"

#include <QCloseEvent>
#include <QFile>
#include <QIcon>

namespace quorvel::ui {

FixedDialog::FixedDialog(int widthTwips, int heightTwips, const QString &iconResource)
    : QDialog(nullptr,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
            | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_scale(*this)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(m_scale.size(widthTwips, heightTwips));
    setSizeGripEnabled(false);
    if (QFile::exists(iconResource))
        setWindowIcon(QIcon(iconResource));
}

void FixedDialog::reject()
{
}

QRect FixedDialog::twips(int left, int top, int width, int height) const
{
    return m_scale.rect(left, top, width, height);
}

void FixedDialog::closeEvent(QCloseEvent *event)
{
    // QDialog would route the close control through reject(); here it
    // always closes, and WA_DeleteOnClose unloads the dialog.
    event->accept();
}

} // namespace quorvel::ui
