#include "core/base/ReadWriteLock.h"

#include "core/base/Exception.h"

namespace {

using Parola = std::uint64_t;
constexpr Parola kLettore = 1;
constexpr Parola kLettori = (Parola{1} << 30) - 1;
constexpr Parola kScrittore = Parola{1} << 30;
constexpr Parola kScrittoreInAttesa = Parola{1} << 32;
constexpr Parola kScrittoriInAttesa = Parola{0xFFFF} << 32;
constexpr Parola kLettoreInAttesa = Parola{1} << 48;
constexpr Parola kInAttesa = ~(kLettori | kScrittore);

// The read depth of each lock the calling thread reads, in a table of fixed size: plain
// data, so that taking a read side allocates nothing and the table needs no construction.
struct Lettura {
    const void* blocco;
    int profondita;
};
struct LettureDelThread {
    Lettura voci[TMultiReadExclusiveWriteSynchronizer::MassimiBlocchiLetti];
    int usate;
};
thread_local LettureDelThread letture;

// How long a thread that finds the lock taken polls it before it sleeps: a path's write or a
// value's read ends well within it, and a sleep and wake-up cost several times as much.
constexpr int kGiriPrimaDiDormire = 1000;

void Pausa() { __builtin_ia32_pause(); }

// The address of the thread's own table identifies the thread.
const void* Identita() { return &letture; }

Lettura* Trova(const void* blocco) {
    for (int i = 0; i < letture.usate; ++i)
        if (letture.voci[i].blocco == blocco) return &letture.voci[i];
    return nullptr;
}

void Rimuovi(Lettura* voce) { *voce = letture.voci[--letture.usate]; }

}  // namespace

bool TMultiReadExclusiveWriteSynchronizer::SonoScrittore() const {
    // Only this thread ever stores its own identity, so a relaxed load cannot mislead it.
    return scrittore_.load(std::memory_order_relaxed) == Identita();
}

void TMultiReadExclusiveWriteSynchronizer::BeginRead() {
    if (SonoScrittore()) {
        ++profonditaScrittura_;  // nested inside our own write side
        return;
    }
    if (Lettura* mia = Trova(this)) {
        // Already reading: no writer can hold the lock, and waiting behind a waiting writer
        // would deadlock.
        stato_.fetch_add(kLettore, std::memory_order_acquire);
        ++mia->profondita;
        return;
    }
    if (letture.usate == MassimiBlocchiLetti)
        throw Exception("Too many locks read at once by one thread!");
    Parola s = stato_.load(std::memory_order_relaxed);
    bool entrato = false;
    for (int giro = 0; !entrato; ++giro) {
        if (!(s & (kScrittore | kScrittoriInAttesa))) {
            entrato = stato_.compare_exchange_weak(s, s + kLettore, std::memory_order_acquire,
                                                   std::memory_order_relaxed);
        } else if (giro < kGiriPrimaDiDormire) {
            Pausa();
            s = stato_.load(std::memory_order_relaxed);
        } else {
            break;
        }
    }
    if (!entrato) AttendiLettura();
    letture.voci[letture.usate++] = {this, 1};
}

void TMultiReadExclusiveWriteSynchronizer::EndRead() {
    if (SonoScrittore()) {
        --profonditaScrittura_;
        return;
    }
    Lettura* mia = Trova(this);
    if (mia && --mia->profondita == 0) Rimuovi(mia);
    const Parola prima = stato_.fetch_sub(kLettore, std::memory_order_acq_rel);
    if ((prima & kLettori) == kLettore && (prima & kScrittoriInAttesa)) Risveglia();
}

void TMultiReadExclusiveWriteSynchronizer::BeginWrite() {
    if (SonoScrittore()) {
        ++profonditaScrittura_;
        return;
    }
    if (Trova(this)) throw Exception("A reader cannot take the write side of its lock");
    bool preso = false;
    for (int giro = 0; !preso && giro <= kGiriPrimaDiDormire; ++giro) {
        if (giro > 0) Pausa();
        Parola libero = 0;
        preso = stato_.load(std::memory_order_relaxed) == 0 &&
                stato_.compare_exchange_strong(libero, kScrittore, std::memory_order_acquire,
                                               std::memory_order_relaxed);
    }
    if (!preso) AttendiScrittura();
    scrittore_.store(Identita(), std::memory_order_relaxed);
    profonditaScrittura_ = 1;
}

void TMultiReadExclusiveWriteSynchronizer::EndWrite() {
    if (--profonditaScrittura_ > 0) return;
    scrittore_.store(nullptr, std::memory_order_relaxed);
    const Parola prima = stato_.fetch_sub(kScrittore, std::memory_order_acq_rel);
    if (prima & kInAttesa) Risveglia();
}

// A waiter counts itself in the state word under the mutex before it tests the state, and
// whoever releases reads that count in the same atomic operation that releases: either the
// waiter's test sees the release, or the releaser sees the waiter and notifies it.
void TMultiReadExclusiveWriteSynchronizer::AttendiLettura() {
    std::unique_lock lock(mutex_);
    stato_.fetch_add(kLettoreInAttesa, std::memory_order_relaxed);
    cambiato_.wait(lock, [this] {
        Parola s = stato_.load(std::memory_order_relaxed);
        while (!(s & (kScrittore | kScrittoriInAttesa)))
            if (stato_.compare_exchange_weak(s, s - kLettoreInAttesa + kLettore,
                                             std::memory_order_acquire,
                                             std::memory_order_relaxed))
                return true;
        return false;
    });
}

void TMultiReadExclusiveWriteSynchronizer::AttendiScrittura() {
    std::unique_lock lock(mutex_);
    stato_.fetch_add(kScrittoreInAttesa, std::memory_order_relaxed);
    cambiato_.wait(lock, [this] {
        Parola s = stato_.load(std::memory_order_relaxed);
        while (!(s & (kLettori | kScrittore)))
            if (stato_.compare_exchange_weak(s, s - kScrittoreInAttesa + kScrittore,
                                             std::memory_order_acquire,
                                             std::memory_order_relaxed))
                return true;
        return false;
    });
}

void TMultiReadExclusiveWriteSynchronizer::Risveglia() {
    { std::lock_guard lock(mutex_); }
    cambiato_.notify_all();
}
