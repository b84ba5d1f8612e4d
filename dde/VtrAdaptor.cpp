#include "dde/VtrAdaptor.h"

#include <QDBusMessage>

#include "core/link/ItemData.h"
#include "dde/NomiLink.h"
#include "dde/UDDETopic.h"

TVtrAdaptor::TVtrAdaptor(TDDETopic* topic) : QDBusAbstractAdaptor(topic), topic_(topic) {}

bool TVtrAdaptor::AdviseStart(const QString& item, const QString& format) {
    if (TroppoLungo(item) || TroppoLungo(format)) return false;
    try {
        return topic_->AdviseStart(topic_->message().service(), item, format);
    } catch (...) {
        return false;  // out of memory on an absurd item: the link is simply refused
    }
}

void TVtrAdaptor::AdviseStop(const QString& item) {
    if (TroppoLungo(item)) return;
    try {
        topic_->AdviseStop(topic_->message().service(), item);
    } catch (...) {
    }
}

QByteArray TVtrAdaptor::Request(const QString&, const QString&) {
    Rifiuta("Request");
    return {};
}

void TVtrAdaptor::Poke(const QString&, const QString&, const QByteArray&) { Rifiuta("Poke"); }

void TVtrAdaptor::Execute(const QString&) { Rifiuta("Execute"); }

bool TVtrAdaptor::TroppoLungo(const QString& testo) {
    // Counted before any conversion: a 10 MB item costs no parsing and no row.
    if (static_cast<std::size_t>(testo.size()) <= MassimaLunghezzaTesto) return false;
    topic_->sendErrorReply(NomiLink::ErroreTroppoLungo,
                           QString("items and formats are read into at most %1 characters; "
                                   "this one has %2")
                               .arg(MassimaLunghezzaTesto)
                               .arg(testo.size()));
    return true;
}

void TVtrAdaptor::Rifiuta(const char* operazione) {
    topic_->sendErrorReply(NomiLink::ErroreNonServito,
                           QString("%1 is not served: the link server serves only advise links "
                                   "(AdviseStart, AdviseStop)")
                               .arg(operazione));
}
