// A session bus of our own for the link tests and the benchmark: a dbus-daemon started here,
// never the user's bus. Create it before anything connects to the bus: it points
// DBUS_SESSION_BUS_ADDRESS of this process, and of every process it starts, at the daemon
// (unless asked not to: a second bus with strict limits is reached by its address).
#pragma once

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

class TBusPrivato {
public:
    // With limiteCode > 0 the daemon holds at most that many bytes queued for (and read from)
    // one connection, as a strict system would; a message may still be 128 MiB. Unless
    // sessione is false, this process and its children take it as their session bus.
    explicit TBusPrivato(long limiteCode = 0, bool sessione = true) {
        if (limiteCode > 0) ScriviConfigurazione(limiteCode);
        int tubo[2];
        if (::pipe(tubo) != 0) Fallisci("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);  // also when the test crashes
            ::dup2(tubo[1], STDOUT_FILENO);
            ::close(tubo[0]);
            const std::string configurazione = "--config-file=" + configurazione_;
            ::execlp("dbus-daemon", "dbus-daemon",
                     configurazione_.empty() ? "--session" : configurazione.c_str(),
                     "--nofork", "--print-address", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(tubo[1]);
        char c;
        while (::read(tubo[0], &c, 1) == 1 && c != '\n') indirizzo_ += c;
        ::close(tubo[0]);
        if (pid_ < 0 || indirizzo_.empty())
            Fallisci("dbus-daemon (Debian package dbus-daemon)");
        if (sessione) ::setenv("DBUS_SESSION_BUS_ADDRESS", indirizzo_.c_str(), 1);
    }
    ~TBusPrivato() {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        if (!configurazione_.empty()) ::unlink(configurazione_.c_str());
    }
    const std::string& Indirizzo() const { return indirizzo_; }
    TBusPrivato(const TBusPrivato&) = delete;
    TBusPrivato& operator=(const TBusPrivato&) = delete;

private:
    [[noreturn]] static void Fallisci(const char* cosa) {
        std::fprintf(stderr, "cannot start a private session bus: %s\n", cosa);
        std::exit(1);
    }

    void ScriviConfigurazione(long limiteCode) {
        char nome[] = "/tmp/vantor-bus-XXXXXX";
        const int fd = ::mkstemp(nome);
        if (fd < 0) Fallisci("a configuration file");
        configurazione_ = nome;
        const std::string testo =
            "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
            " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
            "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>"
            "<auth>EXTERNAL</auth><policy context=\"default\">"
            "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
            "<allow own=\"*\"/></policy>"
            "<limit name=\"max_incoming_bytes\">" + std::to_string(limiteCode) + "</limit>"
            "<limit name=\"max_outgoing_bytes\">" + std::to_string(limiteCode) + "</limit>"
            "<limit name=\"max_message_size\">134217728</limit></busconfig>\n";
        if (::write(fd, testo.data(), testo.size()) != static_cast<ssize_t>(testo.size()))
            Fallisci("a configuration file");
        ::close(fd);
    }

    pid_t pid_ = -1;
    std::string indirizzo_;
    std::string configurazione_;
};
