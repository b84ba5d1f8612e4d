// A session bus of our own for the link tests and the benchmark: a dbus-daemon started here,
// never the user's bus. Create it before anything connects to the bus: it points
// DBUS_SESSION_BUS_ADDRESS of this process, and of every process it starts, at the daemon.
#pragma once

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

class TBusPrivato {
public:
    TBusPrivato() {
        int tubo[2];
        if (::pipe(tubo) != 0) Fallisci("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(tubo[1], STDOUT_FILENO);
            ::close(tubo[0]);
            ::execlp("dbus-daemon", "dbus-daemon", "--session", "--nofork", "--print-address",
                     static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(tubo[1]);
        std::string indirizzo;
        char c;
        while (::read(tubo[0], &c, 1) == 1 && c != '\n') indirizzo += c;
        ::close(tubo[0]);
        if (pid_ < 0 || indirizzo.empty()) Fallisci("dbus-daemon (Debian package dbus-daemon)");
        ::setenv("DBUS_SESSION_BUS_ADDRESS", indirizzo.c_str(), 1);
    }
    ~TBusPrivato() {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    TBusPrivato(const TBusPrivato&) = delete;
    TBusPrivato& operator=(const TBusPrivato&) = delete;

private:
    [[noreturn]] static void Fallisci(const char* cosa) {
        std::fprintf(stderr, "cannot start a private session bus: %s\n", cosa);
        std::exit(1);
    }

    pid_t pid_ = -1;
};
