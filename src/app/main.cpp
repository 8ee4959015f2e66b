#include <QApplication>
#include <QMainWindow>

#include "appinfo.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QString::fromLatin1(quorvel::appinfo::kTitle));
    window.show();
    return app.exec();
}
