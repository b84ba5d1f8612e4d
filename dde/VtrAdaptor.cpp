#include "dde/VtrAdaptor.h"

#include <QDBusMessage>

#include "dde/NomiLink.h"
#include "dde/UDDETopic.h"

TVtrAdaptor::TVtrAdaptor(TDDETopic* topic) : QDBusAbstractAdaptor(topic), topic_(topic) {}

bool TVtrAdaptor::AdviseStart(const QString& item, const QString& format) {
    try {
        return topic_->AdviseStart(topic_->message().service(), item, format);
    } catch (...) {
        return false;  // out of memory on an absurd item: the link is simply refused
    }
}

void TVtrAdaptor::AdviseStop(const QString& item) {
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

void TVtrAdaptor::Rifiuta(const char* operazione) {
    topic_->sendErrorReply(NomiLink::ErroreNonServito,
                           QString("%1 is not served: the link server serves only advise links "
                                   "(AdviseStart, AdviseStop)")
                               .arg(operazione));
}
