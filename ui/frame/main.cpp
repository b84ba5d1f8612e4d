// The program's entry: the application title, the main window, the splash and the about box,
// the message loop.
#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "ui/frame/ImmaginiAzioni.h"
#include "ui/frame/Main.h"
#include "ui/windows/UAboutBox.h"
#include "ui/windows/USplashScreen.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // No display name: the platform would append it to every window's own caption.
    QApplication::setApplicationName(TitoloApplicazione);
    QApplication::setWindowIcon(IconaProgramma());
    // The toolkit's own texts (standard buttons, edit menus, file dialog) in Italian too.
    QTranslator traduzioni;
    if (traduzioni.load(QLocale(QLocale::Italian), "qtbase", "_",
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traduzioni);
    TMainForm main;
    main.InstallaArrestoOrdinato();
    // Both live hidden for the whole run, between their showings.
    TSplashScreen splash;
    TAboutBox about;
    main.SetSplash(&splash);
    main.SetAboutBox(&about);
    main.show();
    return app.exec();
}
