#include "ui/main/startup.h"

#include "ui/main/frmConversion.h"

#include <QApplication>
#include <QIcon>

namespace quorvel::ui {

void startMainWindow(frmConversion &window)
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/quorvel.png"), QSize(64, 64));
    icon.addFile(QStringLiteral(":/icons/quorvel-32.png"), QSize(32, 32));
    QApplication::setWindowIcon(icon);
    window.Form_Load();
    window.show();
    // Without a window manager (as under a bare X server) a new window gets
    // no keyboard focus unless it asks for it.
    window.activateWindow();
}

} // namespace quorvel::ui
