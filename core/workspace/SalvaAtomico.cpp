#include "core/workspace/SalvaAtomico.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/workspace/Workspace.h"

namespace {

[[noreturn]] void Fallito(const std::string& percorso, const char* passo, int errore) {
    throw EWorkspace(percorso + ": " + passo + ": " + std::strerror(errore));
}

std::string Cartella(const std::string& percorso) {
    const auto barra = percorso.rfind('/');
    if (barra == std::string::npos) return ".";
    return barra == 0 ? "/" : percorso.substr(0, barra);
}

// Closes the descriptor and removes the temporary file unless the rename has taken it.
class TTemporaneo {
public:
    explicit TTemporaneo(std::string nome) : nome_(std::move(nome)) {
        std::vector<char> modello(nome_.begin(), nome_.end());
        modello.push_back('\0');
        fd_ = mkstemp(modello.data());
        nome_ = modello.data();
    }
    ~TTemporaneo() {
        if (fd_ >= 0) close(fd_);
        if (!rinominato_) unlink(nome_.c_str());
    }
    TTemporaneo(const TTemporaneo&) = delete;
    TTemporaneo& operator=(const TTemporaneo&) = delete;
    int Fd() const { return fd_; }
    const std::string& Nome() const { return nome_; }
    int Chiudi() {
        const int r = close(fd_);
        fd_ = -1;
        return r;
    }
    void Rinominato() { rinominato_ = true; }

private:
    std::string nome_;
    int fd_ = -1;
    bool rinominato_ = false;
};

}  // namespace

void SalvaAtomico(const std::string& percorso, std::string_view testo,
                  const std::function<void()>& primaDelRename) {
    TTemporaneo temporaneo(percorso + ".tmp-XXXXXX");
    if (temporaneo.Fd() < 0) Fallito(percorso, "file temporaneo", errno);
    // The new file keeps the permissions of the one it replaces.
    struct stat vecchio {};
    const mode_t modo = stat(percorso.c_str(), &vecchio) == 0 ? (vecchio.st_mode & 07777) : 0644;
    if (fchmod(temporaneo.Fd(), modo) != 0) Fallito(percorso, "permessi", errno);
    for (std::size_t scritti = 0; scritti < testo.size();) {
        const ssize_t n = write(temporaneo.Fd(), testo.data() + scritti, testo.size() - scritti);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fallito(percorso, "scrittura", n < 0 ? errno : EIO);
        scritti += static_cast<std::size_t>(n);
    }
    if (fsync(temporaneo.Fd()) != 0) Fallito(percorso, "scrittura su disco", errno);
    if (temporaneo.Chiudi() != 0) Fallito(percorso, "chiusura", errno);
    if (primaDelRename) primaDelRename();
    if (std::rename(temporaneo.Nome().c_str(), percorso.c_str()) != 0)
        Fallito(percorso, "sostituzione", errno);
    temporaneo.Rinominato();
    // The rename itself reaches the disk with the folder's entry.
    const int cartella = open(Cartella(percorso).c_str(), O_RDONLY | O_DIRECTORY);
    if (cartella >= 0) {
        fsync(cartella);
        close(cartella);
    }
}
