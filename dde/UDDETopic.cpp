#include "dde/UDDETopic.h"

#include <utility>

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/link/ItemData.h"
#include "core/system/Sistema.h"
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

struct TDDETopic::TRinvio {
    TSistema::TNotifica* ascolto = nullptr;  // the listener that makes the push
};

TDDETopic::TDDETopic(TRifSistema rifSistema, QDBusConnection bus, QWidget* parent)
    : QWidget(parent),
      rifSistema_(std::move(rifSistema)),
      bus_(std::move(bus)),
      clienti_(new QDBusServiceWatcher(this)),
      listView1_(new QTreeWidget),
      aggiorna_(new QToolButton),
      stato_(new QLabel),
      fineCorsa_(new QTimer(this)) {
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

    fineCorsa_->setInterval(20);
    connect(fineCorsa_, &QTimer::timeout, this, [this] {
        TSistema* sistema = rifSistema_();
        if (!sistema) {
            rinvio_.reset();
            fineCorsa_->stop();
        } else if (!sistema->InEsecuzione()) {
            CompletaRinvio(*sistema);
        }
    });

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
    }
}

QString TDDETopic::Registra() {
    if (!bus_.isConnected())
        return "Il bus di sessione non è raggiungibile: nessun collegamento servito.";
    // The object first, so that a client that sees the name finds the object.
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
    if (!inServizio_ || formato != NomiLink::Formato) return false;
    std::optional<TItemData> dati = AnalizzaItem(item.toStdString());
    // A block that can never be built is refused now rather than never sent.
    if (!dati || !BloccoCostruibile(*dati)) return false;
    if (!HaLink(cliente)) {
        clienti_->addWatchedService(cliente);
        // A client that left before the watch began would otherwise keep its rows for ever.
        if (!bus_.interface()->isServiceRegistered(cliente).value()) {
            clienti_->removeWatchedService(cliente);
            return false;
        }
    }
    listView1_->addTopLevelItem(new TRigaLink(std::move(*dati), cliente));
    return true;
}

void TDDETopic::AdviseStop(const QString& cliente, const QString& item) {
    const std::string nome = item.toStdString();
    for (int i = 0; i < listView1_->topLevelItemCount(); ++i) {
        TRigaLink* riga = Riga(listView1_, i);
        if (riga->Cliente() == cliente && riga->Dati().NomeItem == nome) {
            delete riga;
            break;
        }
    }
    if (!HaLink(cliente)) clienti_->removeWatchedService(cliente);
}

void TDDETopic::ClienteUscito(const QString& cliente) {
    for (int i = listView1_->topLevelItemCount(); i-- > 0;)
        if (Riga(listView1_, i)->Cliente() == cliente) delete Riga(listView1_, i);
    clienti_->removeWatchedService(cliente);
}

bool TDDETopic::HaLink(const QString& cliente) const {
    for (int i = 0; i < listView1_->topLevelItemCount(); ++i)
        if (Riga(listView1_, i)->Cliente() == cliente) return true;
    return false;
}

void TDDETopic::AggiornaClick() {
    TSistema* sistema = rifSistema_ ? rifSistema_() : nullptr;
    if (!sistema || !inServizio_) return;
    if (!sistema->InEsecuzione()) {
        Invia(*sistema);
        return;
    }
    // Reading the path now would hold the event loop until the path in progress is
    // complete. The push is made when the listeners run after it (the path is then free),
    // or when the run ends without another path. Clicks meanwhile add nothing.
    if (rinvio_) return;
    auto rinvio = std::make_shared<TRinvio>();
    rinvio_ = rinvio;
    rinvio->ascolto = sistema->AggiungiNotifica(
        [topic = QPointer<TDDETopic>(this), rinvio](TSistema& percorso) {
            percorso.RimuoviNotifica(rinvio->ascolto);
            if (topic && topic->rinvio_ == rinvio) topic->CompletaRinvio(percorso);
        });
    fineCorsa_->start();
}

void TDDETopic::CompletaRinvio(TSistema& sistema) {
    rinvio_.reset();
    fineCorsa_->stop();
    Invia(sistema);
}

void TDDETopic::Invia(TSistema& sistema) {
    for (int i = 0; i < listView1_->topLevelItemCount(); ++i) {
        const TRigaLink* riga = Riga(listView1_, i);
        const TItemData& dati = riga->Dati();
        if (dati.Colonne.empty()) continue;
        std::vector<std::uint8_t> blocco;
        try {
            blocco = sistema.Tabella(dati.Colonne, dati.T0, dati.T1, dati.DT);
        } catch (...) {
            continue;  // answered without data, as a link that cannot be built is
        }
        QDBusMessage segnale = QDBusMessage::createTargetedSignal(
            riga->Cliente(), NomiLink::Oggetto, NomiLink::Interfaccia, NomiLink::AdviseData);
        segnale << riga->text(0) << QString(NomiLink::Formato)
                << QByteArray(reinterpret_cast<const char*>(blocco.data()),
                              static_cast<qsizetype>(blocco.size()));
        bus_.send(segnale);
    }
}
