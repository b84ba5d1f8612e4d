#include "dde/LetturaBus.h"

#include <limits>

#include <QDBusConnection>
#include <dbus/dbus.h>

void LetturaSenzaPausa(const QDBusConnection& bus) {
    // Qt's connection is a libdbus one; libdbus locks it for the call.
    if (auto* connessione = static_cast<DBusConnection*>(bus.internalPointer()))
        dbus_connection_set_max_received_size(connessione, std::numeric_limits<long>::max());
}
