// TClienteLink: the one advise link that vantor-link holds. It starts the link on its item,
// writes every block it receives as CSV (to a file replaced atomically, or to standard
// output), and ends when asked, after the first block with --once, or with a message when
// the server goes, its name passes to another program or the bus goes.
#pragma once

#include <vector>

#include <QDBusConnection>
#include <QObject>
#include <QString>

class TClienteLink : public QObject {
    Q_OBJECT
public:
    // colonne are the item's columns; an empty csv means standard output.
    TClienteLink(QDBusConnection bus, QString item, std::vector<int> colonne, QString csv,
                 bool once, QObject* parent = nullptr);

    // Starts the link: 0 when it runs, otherwise the exit status, with the reason already
    // written to standard error.
    int Avvia();
    // Ends the link (AdviseStop) and then the client with this status.
    void Termina(int esito);

signals:
    void Finito(int esito);

private slots:
    void Dati(const QString& item, const QString& formato, const QByteArray& blocco);

private:
    void ServizioScomparso(const char* come);
    bool Scrivi(const std::string& testo);

    QDBusConnection bus_;
    QString item_;
    std::vector<int> colonne_;
    QString csv_;
    bool once_;
    bool attivo_ = false;
    int blocchi_ = 0;
};
