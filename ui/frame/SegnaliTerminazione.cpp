#include "ui/frame/SegnaliTerminazione.h"

#include <array>
#include <csignal>
#include <stdexcept>

#include <QSocketNotifier>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The self-pipe: the handler only writes the signal number, the GUI thread reads it.
int coppia[2] = {-1, -1};
constexpr std::array segnali = {SIGTERM, SIGINT, SIGHUP};
struct sigaction precedenti[segnali.size()];

extern "C" void AlSegnale(int segnale) {
    const unsigned char byte = static_cast<unsigned char>(segnale);
    [[maybe_unused]] const auto scritti = ::write(coppia[1], &byte, 1);
}

}  // namespace

TSegnaliTerminazione::TSegnaliTerminazione(QObject* parent) : QObject(parent) {
    if (coppia[0] != -1) throw std::logic_error("signal handlers already installed");
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, coppia) != 0)
        throw std::runtime_error("socketpair failed");
    notifier_ = new QSocketNotifier(coppia[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        unsigned char byte = 0;
        if (::read(coppia[0], &byte, 1) == 1) emit Terminazione(byte);
    });
    struct sigaction azione {};
    azione.sa_handler = AlSegnale;
    sigemptyset(&azione.sa_mask);
    azione.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < segnali.size(); ++i)
        ::sigaction(segnali[i], &azione, &precedenti[i]);
}

TSegnaliTerminazione::~TSegnaliTerminazione() {
    for (std::size_t i = 0; i < segnali.size(); ++i)
        ::sigaction(segnali[i], &precedenti[i], nullptr);
    delete notifier_;
    ::close(coppia[0]);
    ::close(coppia[1]);
    coppia[0] = coppia[1] = -1;
}
