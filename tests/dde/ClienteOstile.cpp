// cliente_ostile: a link client written from the bus protocol alone (plain libdbus, no Qt)
// that behaves as a careless or hostile program would, for the link server's tests.
//   cliente_ostile raffica N BYTE   N AdviseStart calls at once, each with an item of BYTE
//                                   characters; prints each answer: true, false or the error
//   cliente_ostile muto N ITEM      starts N links on ITEM, prints "pronto", then never reads
//   cliente_ostile legge N ITEM     starts N links on ITEM, then prints the count of blocks
//                                   received each time it reaches a multiple of N
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <dbus/dbus.h>
#include <unistd.h>

namespace {

constexpr int Attesa = 60000;  // ms for any answer

[[noreturn]] void Esci(const char* perche) {
    std::fprintf(stderr, "cliente_ostile: %s\n", perche);
    std::exit(1);
}

DBusMessage* AdviseStart(const char* item) {
    DBusMessage* m = dbus_message_new_method_call("org.vantor.Quenlor", "/Vtr",
                                                  "org.vantor.Quenlor", "AdviseStart");
    const char* formato = "XlTable";
    if (!m || !dbus_message_append_args(m, DBUS_TYPE_STRING, &item, DBUS_TYPE_STRING,
                                        &formato, DBUS_TYPE_INVALID))
        Esci("out of memory");
    return m;
}

std::string Esito(DBusMessage* risposta) {
    if (!risposta) return "no answer";
    if (dbus_message_get_type(risposta) == DBUS_MESSAGE_TYPE_ERROR)
        return dbus_message_get_error_name(risposta);
    dbus_bool_t accettato = false;
    dbus_message_get_args(risposta, nullptr, DBUS_TYPE_BOOLEAN, &accettato, DBUS_TYPE_INVALID);
    return accettato ? "true" : "false";
}

// N calls sent before any answer is read, as a burst arrives at the server.
void Raffica(DBusConnection* bus, int n, std::size_t byte) {
    const std::string base = "0;1;0.5;0;1;";
    const std::string item = std::string(byte > base.size() ? byte - base.size() : 0, ' ') + base;
    std::vector<DBusPendingCall*> attese(static_cast<std::size_t>(n));
    for (DBusPendingCall*& attesa : attese) {
        DBusMessage* m = AdviseStart(item.c_str());
        if (!dbus_connection_send_with_reply(bus, m, &attesa, Attesa) || !attesa)
            Esci("cannot send");
        dbus_message_unref(m);
    }
    for (DBusPendingCall* attesa : attese) {
        dbus_pending_call_block(attesa);
        DBusMessage* risposta = dbus_pending_call_steal_reply(attesa);
        std::printf("%s\n", Esito(risposta).c_str());
        if (risposta) dbus_message_unref(risposta);
        dbus_pending_call_unref(attesa);
    }
}

void Collega(DBusConnection* bus, int n, const char* item) {
    for (int i = 0; i < n; ++i) {
        DBusMessage* m = AdviseStart(item);
        DBusMessage* risposta =
            dbus_connection_send_with_reply_and_block(bus, m, Attesa, nullptr);
        dbus_message_unref(m);
        if (Esito(risposta) != "true") Esci("link refused");
        dbus_message_unref(risposta);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) Esci("usage: cliente_ostile raffica|muto|legge N BYTE|ITEM");
    const std::string modo = argv[1];
    const int n = std::atoi(argv[2]);
    DBusConnection* bus = dbus_bus_get_private(DBUS_BUS_SESSION, nullptr);
    if (!bus) Esci("no session bus");
    if (modo == "raffica") {
        Raffica(bus, n, std::strtoull(argv[3], nullptr, 10));
    } else if (modo == "muto") {
        Collega(bus, n, argv[3]);
        std::printf("pronto\n");
        std::fflush(stdout);
        for (;;) ::pause();  // the blocks pile up in the bus
    } else if (modo == "legge") {
        // Through the dispatcher, which also answers the server's pings as any client does.
        struct TConta {
            long n, blocchi = 0;
        } conta{n};
        dbus_connection_add_filter(
            bus,
            [](DBusConnection*, DBusMessage* m, void* dati) {
                auto* c = static_cast<TConta*>(dati);
                if (!dbus_message_is_signal(m, "org.vantor.Quenlor", "AdviseData"))
                    return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
                if (++c->blocchi % c->n == 0) {
                    std::printf("%ld\n", c->blocchi);
                    std::fflush(stdout);
                }
                return DBUS_HANDLER_RESULT_HANDLED;
            },
            &conta, nullptr);
        Collega(bus, n, argv[3]);
        std::printf("pronto\n");
        std::fflush(stdout);
        while (dbus_connection_read_write_dispatch(bus, -1)) {
        }
    } else {
        Esci("unknown mode");
    }
    dbus_connection_close(bus);
    dbus_connection_unref(bus);
    return 0;
}
