// TVtrAdaptor: the D-Bus face of the link manager window, exported at /Vtr. It names the
// caller of each method and turns every failure into an answer, so that no exception ever
// leaves a bus call.
#pragma once

#include <QByteArray>
#include <QDBusAbstractAdaptor>
#include <QString>

class TDDETopic;

class TVtrAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.vantor.Quenlor")
    Q_CLASSINFO("D-Bus Introspection",
                "<interface name=\"org.vantor.Quenlor\">\n"
                "  <method name=\"AdviseStart\">\n"
                "    <arg name=\"item\" type=\"s\" direction=\"in\"/>\n"
                "    <arg name=\"format\" type=\"s\" direction=\"in\"/>\n"
                "    <arg name=\"accepted\" type=\"b\" direction=\"out\"/>\n"
                "  </method>\n"
                "  <method name=\"AdviseStop\">\n"
                "    <arg name=\"item\" type=\"s\" direction=\"in\"/>\n"
                "  </method>\n"
                "  <method name=\"Request\">\n"
                "    <arg name=\"item\" type=\"s\" direction=\"in\"/>\n"
                "    <arg name=\"format\" type=\"s\" direction=\"in\"/>\n"
                "    <arg name=\"data\" type=\"ay\" direction=\"out\"/>\n"
                "  </method>\n"
                "  <method name=\"Poke\">\n"
                "    <arg name=\"item\" type=\"s\" direction=\"in\"/>\n"
                "    <arg name=\"format\" type=\"s\" direction=\"in\"/>\n"
                "    <arg name=\"data\" type=\"ay\" direction=\"in\"/>\n"
                "  </method>\n"
                "  <method name=\"Execute\">\n"
                "    <arg name=\"command\" type=\"s\" direction=\"in\"/>\n"
                "  </method>\n"
                "  <signal name=\"AdviseData\">\n"
                "    <arg name=\"item\" type=\"s\"/>\n"
                "    <arg name=\"format\" type=\"s\"/>\n"
                "    <arg name=\"block\" type=\"ay\"/>\n"
                "  </signal>\n"
                "</interface>\n")
public:
    explicit TVtrAdaptor(TDDETopic* topic);

public slots:
    // True when the link on item is made: format "XlTable", an item that parses and whose
    // block fits. The block then arrives in AdviseData, addressed to the caller alone. An
    // item or format longer than 255 characters fails with ErroreTroppoLungo.
    bool AdviseStart(const QString& item, const QString& format);
    // Ends the caller's first link on item.
    void AdviseStop(const QString& item);
    // Only advise links are served: these always fail with ErroreNonServito.
    QByteArray Request(const QString& item, const QString& format);
    void Poke(const QString& item, const QString& format, const QByteArray& data);
    void Execute(const QString& command);

private:
    void Rifiuta(const char* operazione);
    // Answers ErroreTroppoLungo for a text longer than the server reads.
    bool TroppoLungo(const QString& testo);

    TDDETopic* topic_;
};
