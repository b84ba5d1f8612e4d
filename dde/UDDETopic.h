// TDDETopic: the link manager window "Gestore collegamenti DDE". While it exists the program
// serves advise links on the session bus under the name org.vantor.Quenlor, object /Vtr;
// each link is a row, and "Aggiorna link" sends every link the block of its item, built from
// the main window's current system, addressed to the client that started the link.
#pragma once

#include <functional>
#include <memory>

#include <QDBusConnection>
#include <QDBusContext>
#include <QWidget>

class QDBusServiceWatcher;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QTimer;
class QToolButton;
class QTreeWidget;
class TSistema;

class TDDETopic : public QWidget, public QDBusContext {
    Q_OBJECT
public:
    // The current system of the main window, or none; read at every push.
    using TRifSistema = std::function<TSistema*()>;

    // FormCreate: exports /Vtr and takes the bus name. If the bus is missing or another
    // program owns the name, the window says so and serves nothing.
    explicit TDDETopic(TRifSistema rifSistema,
                       QDBusConnection bus = QDBusConnection::sessionBus(),
                       QWidget* parent = nullptr);
    // FormDestroy: releases the name and the object; the clients see the service vanish.
    ~TDDETopic() override;

    // The window as a child of the main window's area, freed when it is closed.
    static QMdiSubWindow* Apri(QMdiArea* area, TRifSistema rifSistema);

    QTreeWidget* ListView1() const { return listView1_; }
    QToolButton* Aggiorna() const { return aggiorna_; }
    bool InServizio() const { return inServizio_; }

    // A client's (its unique bus name) advise start: a row for a link it can be served,
    // watching the client so that its rows go when it leaves the bus.
    bool AdviseStart(const QString& cliente, const QString& item, const QString& formato);
    // Removes the client's first row on item.
    void AdviseStop(const QString& cliente, const QString& item);

public slots:
    // Sends every link the block of its item; nothing without a current system. During a
    // run the blocks are sent as soon as the path in progress is complete, without waiting.
    void AggiornaClick();

private:
    // Exports /Vtr and takes the bus name; why not, or empty when serving.
    QString Registra();
    void Invia(TSistema& sistema);
    void CompletaRinvio(TSistema& sistema);
    void ClienteUscito(const QString& cliente);
    bool HaLink(const QString& cliente) const;

    TRifSistema rifSistema_;
    QDBusConnection bus_;
    QDBusServiceWatcher* clienti_;  // clients holding links: their rows go when they leave
    QTreeWidget* listView1_;
    QToolButton* aggiorna_;
    QLabel* stato_;
    QTimer* fineCorsa_;  // while a push waits: notices a run that ends without another path
    struct TRinvio;  // the push that waits for the path in progress, if any
    std::shared_ptr<TRinvio> rinvio_;
    bool inServizio_ = false;
};
