// TSegnaliTerminazione turns SIGTERM, SIGINT and SIGHUP (logout, a closed terminal, kill)
// into a Qt signal in the GUI thread, so that the program can stop a run and free its
// system before it ends instead of dying with the recalculation thread still running.
#pragma once

#include <QObject>

class QSocketNotifier;

class TSegnaliTerminazione : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; at most one instance at a time. Restored on destruction.
    explicit TSegnaliTerminazione(QObject* parent = nullptr);
    ~TSegnaliTerminazione() override;

signals:
    void Terminazione(int segnale);

private:
    QSocketNotifier* notifier_;
};
