// The program's entry: the application title, the command line, the main window, the splash
// and the about box, the message loop.
#include <cstdio>

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QTranslator>

#include "ui/frame/GestoreWorkspace.h"
#include "ui/frame/ImmaginiAzioni.h"
#include "ui/frame/Main.h"
#include "ui/windows/UAboutBox.h"
#include "ui/windows/USplashScreen.h"

namespace {

// "vantor [FILE]": the workspace to open, if any. --help and --version print and exit.
QString LeggiRigaDiComando(const QApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(TitoloApplicazione);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("FILE", "Il workspace da aprire (un file .toml).", "[FILE]");
    parser.process(app);
    const QStringList file = parser.positionalArguments();
    if (file.size() > 1) {
        std::fprintf(stderr, "%s\n", qPrintable("Un solo FILE, non " + file.join(" ")));
        parser.showHelp(2);
    }
    return file.value(0);
}

}  // namespace

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
    QApplication::setApplicationVersion(VANTOR_VERSIONE);
    const QString file = LeggiRigaDiComando(app);
    TMainForm main;
    main.InstallaArrestoOrdinato();
    // Both live hidden for the whole run, between their showings.
    TSplashScreen splash;
    TAboutBox about;
    main.SetSplash(&splash);
    main.SetAboutBox(&about);
    main.show();
    // Once the loop runs: a file that cannot be opened is reported over the empty start.
    if (!file.isEmpty())
        QMetaObject::invokeMethod(
            &main, [&main, file] { main.Workspace()->Apri(file); }, Qt::QueuedConnection);
    return app.exec();
}
