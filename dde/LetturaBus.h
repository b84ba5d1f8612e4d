// Keeps the link server's bus connection reading whatever its clients send.
#pragma once

class QDBusConnection;

// libdbus stops reading a connection while the messages it has read and not yet freed pass
// 63 MiB, and reads again when enough are freed. Qt frees a call in the thread of the object
// that serves it, the GUI thread, and from there it cannot switch the connection's socket
// notifier back on ("QSocketNotifier ... from another thread"): one 63 MiB call, or a burst
// of smaller ones, would leave the server deaf for good. The pause is therefore switched
// off. A single message stays bounded by the bus (128 MiB at most), and the adaptor
// refuses a long item before anything else, so the GUI thread frees it at once.
void LetturaSenzaPausa(const QDBusConnection& bus);
