#include "dde/UDDETopic.h"

#include <utility>

#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/link/ItemData.h"
#include "dde/InvioBlocchi.h"
#include "dde/LetturaBus.h"
#include "dde/NomiLink.h"
#include "dde/VtrAdaptor.h"

namespace {

constexpr char Topic[] = "Vtr";

// One advise link: the row owns its parsed item and knows the client it serves.
class TRigaLink : public QTreeWidgetItem {
public:
    TRigaLink(TItemData dati, QString cliente)
        : dati_(std::move(dati)), cliente_(std::move(cliente)) {
        setText(0, QString::fromStdString(dati_.NomeItem));
        setText(1, Topic);
        setText(2, NomiLink::Formato);
        setToolTip(0, cliente_);
    }
    const TItemData& Dati() const { return dati_; }
    const QString& Cliente() const { return cliente_; }

private:
    TItemData dati_;
    QString cliente_;
};

TRigaLink* Riga(QTreeWidget* lista, int i) {
    return static_cast<TRigaLink*>(lista->topLevelItem(i));
}

}  // namespace

TDDETopic::TDDETopic(TRifSistema rifSistema, QDBusConnection bus, QWidget* parent)
    : QWidget(parent),
      rifSistema_(std::move(rifSistema)),
      bus_(std::move(bus)),
      clienti_(new QDBusServiceWatcher(this)),
      listView1_(new QTreeWidget),
      aggiorna_(new QToolButton),
      stato_(new QLabel) {
    setObjectName("DDETopic");
    setWindowTitle("Gestore collegamenti DDE");

    listView1_->setObjectName("ListView1");
    listView1_->setHeaderLabels({"Item", "Topic", "DDE Format"});
    listView1_->setRootIsDecorated(false);
    QFont carattere("Courier New");
    carattere.setBold(true);
    listView1_->setFont(carattere);
    // The column titles in the window's own font: every property set, none taken from the list.
    QFont titoli = font();
    titoli.setResolveMask(QFont::AllPropertiesResolved);
    listView1_->header()->setFont(titoli);
    listView1_->setColumnWidth(0, 150);
    listView1_->setColumnWidth(1, 60);

    aggiorna_->setObjectName("Aggiorna");
    aggiorna_->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    aggiorna_->setToolTip("Aggiorna link");
    aggiorna_->setStatusTip("Aggiorna link");
    aggiorna_->setAutoRaise(true);
    connect(aggiorna_, &QToolButton::clicked, this, &TDDETopic::AggiornaClick);

    stato_->setObjectName("Stato");
    stato_->setWordWrap(true);
    stato_->hide();

    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(aggiorna_);
    pulsanti->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addLayout(pulsanti);
    layout->addWidget(stato_);
    layout->addWidget(listView1_, 1);

    clienti_->setConnection(bus_);
    clienti_->setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(clienti_, &QDBusServiceWatcher::serviceUnregistered, this,
            &TDDETopic::ClienteUscito);

    new TVtrAdaptor(this);
    const QString motivo = Registra();
    inServizio_ = motivo.isEmpty();
    if (!inServizio_) {
        stato_->setText(motivo);
        stato_->show();
        aggiorna_->setEnabled(false);
        return;
    }
    invio_ = std::make_unique<TInvioBlocchi>(
        bus_, [topic = QPointer<TDDETopic>(this)](const QString& cliente, bool nonLegge) {
            // Queued to the GUI thread; dropped if the window has gone meanwhile.
            QMetaObject::invokeMethod(topic, [topic, cliente, nonLegge] {
                if (topic) topic->SegnaCliente(cliente, nonLegge);
            }, Qt::QueuedConnection);
        });
}

QString TDDETopic::Registra() {
    if (!bus_.isConnected())
        return "Il bus di sessione non è raggiungibile: nessun collegamento servito.";
    // The object first, so that a client that sees the name finds the object.
    LetturaSenzaPausa(bus_);
    if (!bus_.registerObject(NomiLink::Oggetto, this, QDBusConnection::ExportAdaptors))
        return "L'oggetto /Vtr è già esportato: nessun collegamento servito.";
    if (bus_.interface()->registerService(NomiLink::Servizio).value() !=
        QDBusConnectionInterface::ServiceRegistered) {
        bus_.unregisterObject(NomiLink::Oggetto);
        return QString("Il nome %1 appartiene già a un altro programma (un altro Vantor?): "
                       "nessun collegamento servito.")
            .arg(NomiLink::Servizio);
    }
    return {};
}

TDDETopic::~TDDETopic() {
    invio_.reset();  // before the rows and the window it reports to
    if (!inServizio_) return;
    bus_.interface()->unregisterService(NomiLink::Servizio);
    bus_.unregisterObject(NomiLink::Oggetto);
}

QMdiSubWindow* TDDETopic::Apri(QMdiArea* area, TRifSistema rifSistema) {
    auto* topic = new TDDETopic(std::move(rifSistema));
    QMdiSubWindow* finestra = area->addSubWindow(
        topic, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    finestra->setAttribute(Qt::WA_DeleteOnClose);  // the rows and the service go with it
    finestra->show();
    // A single border: the client area keeps its size, the frame adds its own.
    finestra->setFixedSize(finestra->size() - topic->size() + QSize(337, 169));
    return finestra;
}

bool TDDETopic::AdviseStart(const QString& cliente, const QString& item,
                            const QString& formato) {
    TItemData dati;
    if (!inServizio_ ||
        EsaminaAvvio(item.toStdString(), formato.toStdString(), dati) != TEsitoAvvio::Accettato)
        return false;
    if (!linkPerCliente_.contains(cliente)) {
        clienti_->addWatchedService(cliente);
        // A client that left before the watch began would otherwise keep its rows for ever.
        // Asked without waiting: the bus may be slow to answer, the window must not be.
        auto* domanda = new QDBusPendingCallWatcher(
            bus_.interface()->asyncCall("NameHasOwner", cliente), this);
        connect(domanda, &QDBusPendingCallWatcher::finished, this,
                [this, cliente](QDBusPendingCallWatcher* risposta) {
                    const QDBusPendingReply<bool> presente = *risposta;
                    if (presente.isValid() && !presente.value()) ClienteUscito(cliente);
                    risposta->deleteLater();
                });
    }
    ++linkPerCliente_[cliente];
    auto* riga = new TRigaLink(std::move(dati), cliente);
    listView1_->addTopLevelItem(riga);
    if (NonLegge(cliente)) Segna(riga, true);
    return true;
}

void TDDETopic::AdviseStop(const QString& cliente, const QString& item) {
    const std::string nome = item.toStdString();
    for (int i = 0; i < listView1_->topLevelItemCount(); ++i) {
        TRigaLink* riga = Riga(listView1_, i);
        if (riga->Cliente() == cliente && riga->Dati().NomeItem == nome) {
            delete riga;
            if (--linkPerCliente_[cliente] == 0) ClienteUscito(cliente);
            return;
        }
    }
}

void TDDETopic::ClienteUscito(const QString& cliente) {
    // In one pass: each row taken from a long list one at a time would cost its length.
    QList<QTreeWidgetItem*> restano;
    for (QTreeWidgetItem* riga : listView1_->invisibleRootItem()->takeChildren()) {
        if (static_cast<TRigaLink*>(riga)->Cliente() == cliente) {
            delete riga;
        } else {
            restano << riga;
        }
    }
    listView1_->addTopLevelItems(restano);
    clienti_->removeWatchedService(cliente);
    linkPerCliente_.remove(cliente);
    nonLeggono_.remove(cliente);
}

void TDDETopic::SegnaCliente(const QString& cliente, bool nonLegge) {
    if (!linkPerCliente_.contains(cliente)) return;  // gone meanwhile
    if (nonLegge) {
        nonLeggono_.insert(cliente);
    } else {
        nonLeggono_.remove(cliente);
    }
    for (int i = 0; i < listView1_->topLevelItemCount(); ++i)
        if (Riga(listView1_, i)->Cliente() == cliente) Segna(Riga(listView1_, i), nonLegge);
}

void TDDETopic::Segna(QTreeWidgetItem* riga, bool nonLegge) {
    const QString avviso = "Il client non legge i dati: i suoi aggiornamenti sono sospesi";
    for (int c = 0; c < riga->columnCount(); ++c) {
        riga->setForeground(c, nonLegge ? palette().brush(QPalette::Disabled, QPalette::Text)
                                        : palette().brush(QPalette::Text));
        riga->setToolTip(c, nonLegge ? avviso : static_cast<TRigaLink*>(riga)->Cliente());
    }
}

void TDDETopic::AggiornaClick() {
    TSistema* sistema = rifSistema_ ? rifSistema_() : nullptr;
    if (!sistema || !inServizio_) return;
    std::vector<TLinkDaInviare> link;
    link.reserve(static_cast<std::size_t>(listView1_->topLevelItemCount()));
    for (int i = 0; i < listView1_->topLevelItemCount(); ++i) {
        const TRigaLink* riga = Riga(listView1_, i);
        link.push_back({riga->Cliente(), riga->text(0), riga->Dati()});
    }
    invio_->Spingi(*sistema, std::move(link));
}
