// vantor-link: turns a live link of Vantor's link server into CSV, for spreadsheets, scripts
// and loggers. Qt Core and D-Bus only: it runs without a display.
#include <cstdio>

#include <QCommandLineParser>
#include <QCoreApplication>

#include "core/link/ItemData.h"
#include "dde/client/ClienteLink.h"
#include "ui/frame/SegnaliTerminazione.h"

namespace {

constexpr char Descrizione[] =
    R"(Starts an advise link on ITEM with the link server of a running Vantor and
writes each table it receives as CSV: a header naming the item's columns (t for
column 0, Xk for component k), then one row per sample. Values at times outside
the system's grid are -1. Tables arrive each time "Aggiorna link" is pressed in
the server's window.

ITEM is T0;T1;DT;k1;k2;...; : the first and last sampling time and the step,
written with Vantor's decimal separator (Strumenti > Separatore), then the
columns (0 is the time, k is component Xk); every field ends with ';'.
Quote it for the shell, and put -- before an item that starts with '-'.
At most 255 characters, at least one column, and at most 8191 values per table.

The link server (in Vantor: Strumenti > Avvia DDE...) is on the session bus:
  name        org.vantor.Quenlor
  object      /Vtr
  interface   org.vantor.Quenlor
  methods     AdviseStart(s item, s format) -> b    format "XlTable"; an item
                                                    or format over 255
                                                    characters fails with
                                                    ...Error.TooLong
              AdviseStop(s item)
              Request, Poke, Execute                always refused
  signal      AdviseData(s item, s format, ay block), sent only to the
              connection that started the link; block is an XlTable block:
              16-bit words 16, 4, rows, columns, 1, 8*rows*columns, then the
              values as little-endian doubles, row by row.
A link lasts while the connection that started it stays on the bus.
For example, from a shell:
  gdbus introspect --session --dest org.vantor.Quenlor --object-path /Vtr
  gdbus call --session --dest org.vantor.Quenlor --object-path /Vtr \
      --method org.vantor.Quenlor.AdviseStart '0;1;0.5;0;1;' XlTable

Exit status: 0 after --once or SIGINT/SIGTERM (the link is ended first),
1 when there is no server, it closes, its name passes to another program, the
bus goes, or a file cannot be written,
2 for a malformed item, one without columns, or a link the server refuses.)";

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("vantor-link");
    QCommandLineParser parser;
    parser.setApplicationDescription(Descrizione);
    const QCommandLineOption aiuto = parser.addHelpOption();
    const QCommandLineOption csv("csv", "Replace FILE atomically with each table.", "FILE");
    const QCommandLineOption once("once", "Exit after the first table.");
    parser.addOption(csv);
    parser.addOption(once);
    parser.addPositionalArgument("ITEM", "The link's item, T0;T1;DT;k1;...;");
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "vantor-link: %s (see --help)\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(aiuto)) parser.showHelp(0);
    if (parser.positionalArguments().size() != 1) {
        std::fprintf(stderr, "vantor-link: give exactly one ITEM (see --help)\n");
        return 2;
    }
    const QString item = parser.positionalArguments().first();
    auto colonne = ColonneItem(item.toStdString());
    if (!colonne) {
        std::fprintf(stderr, "vantor-link: \"%s\" is not an item T0;T1;DT;k1;...; of at most "
                     "%zu characters\n", qPrintable(item), MassimaLunghezzaTesto);
        return 2;
    }
    if (colonne->empty()) {
        std::fprintf(stderr, "vantor-link: \"%s\" names no column: the server sends no data "
                     "for it\n", qPrintable(item));
        return 2;
    }
    TClienteLink cliente(QDBusConnection::sessionBus(), item, std::move(*colonne),
                         parser.value(csv), parser.isSet(once));
    QObject::connect(&cliente, &TClienteLink::Finito, &app, &QCoreApplication::exit,
                     Qt::QueuedConnection);
    if (const int esito = cliente.Avvia(); esito != 0) return esito;
    TSegnaliTerminazione segnali;
    QObject::connect(&segnali, &TSegnaliTerminazione::Terminazione, &cliente,
                     [&cliente] { cliente.Termina(0); });
    return app.exec();
}
