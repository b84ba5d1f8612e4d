// The program's entry: the application title, the main window, the message loop.
#include <QApplication>

#include "ui/Main.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("Risolutore numerico di sistemi dinamici");
    QApplication::setApplicationName("Risolutore numerico di sistemi dinamici");
    TMainForm main;
    main.show();
    return app.exec();
}
