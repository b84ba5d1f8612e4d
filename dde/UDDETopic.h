// TDDETopic: the link manager window "Gestore collegamenti DDE". While it exists the program
// serves advise links on the session bus under the name org.vantor.Quenlor, object /Vtr;
// each link is a row, and "Aggiorna link" sends every link the block of its item, built from
// the main window's current system off the GUI thread, addressed to the client that started
// the link. The rows of a client that does not read its blocks are greyed.
#pragma once

#include <functional>
#include <memory>

#include <QHash>
#include <QSet>

#include <QDBusConnection>
#include <QDBusContext>
#include <QWidget>

class QDBusServiceWatcher;
class QTreeWidgetItem;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolButton;
class QTreeWidget;
class TInvioBlocchi;
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
    // FormDestroy: stops the push under way, releases the name and the object; the clients
    // see the service vanish.
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

    // Whether the client's rows say that it does not read its blocks.
    bool NonLegge(const QString& cliente) const { return nonLeggono_.contains(cliente); }

public slots:
    // Hands every link to the sending thread; nothing without a current system. During a
    // run the blocks are built as soon as the path in progress is complete.
    void AggiornaClick();

private:
    // Exports /Vtr and takes the bus name; why not, or empty when serving.
    QString Registra();
    void ClienteUscito(const QString& cliente);
    void SegnaCliente(const QString& cliente, bool nonLegge);
    void Segna(QTreeWidgetItem* riga, bool nonLegge);

    TRifSistema rifSistema_;
    QDBusConnection bus_;
    QDBusServiceWatcher* clienti_;  // clients holding links: their rows go when they leave
    QTreeWidget* listView1_;
    QToolButton* aggiorna_;
    QLabel* stato_;
    QHash<QString, int> linkPerCliente_;
    QSet<QString> nonLeggono_;
    std::unique_ptr<TInvioBlocchi> invio_;
    bool inServizio_ = false;
};
