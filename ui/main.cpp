// The program's entry: the application title, the main window, the message loop.
#include <QApplication>

#include "ui/Main.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(TitoloApplicazione);
    QApplication::setApplicationName(TitoloApplicazione);
    TMainForm main;
    main.InstallaArrestoOrdinato();
    main.show();
    return app.exec();
}
