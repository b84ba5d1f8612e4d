// The program's entry: the application title, the main window, the message loop.
#include <QApplication>

#include "ui/Main.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // No display name: the platform would append it to every window's own caption.
    QApplication::setApplicationName(TitoloApplicazione);
    TMainForm main;
    main.InstallaArrestoOrdinato();
    main.show();
    return app.exec();
}
