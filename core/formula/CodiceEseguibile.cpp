// Shared executable blocks for compiled formulas: routines are packed at a small alignment, so
// that the code of a whole system sits in a few contiguous pages instead of one page each.
#include "core/formula/detail/CodiceEseguibile.h"

#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <new>

#include "core/formula/RPNCompiler.h"

namespace rpn {

struct Blocco {
    std::uint8_t* base = nullptr;
    std::size_t dimensione = 0;
    std::size_t usati = 0;                // bytes taken by routines
    int routine = 0;                      // routines placed and not yet destroyed
    std::atomic<bool> sigillato{false};  // read+execute from now on, closed to new routines
};

namespace {

// Guards the open block and every block's counts and sealing; taken when a routine is
// placed or destroyed, and by the first run of a routine whose block is still open.
std::mutex& Mutex() {
    static std::mutex mutex;
    return mutex;
}
Blocco* aperto = nullptr;  // the block that takes the next routine, writable

std::size_t Arrotonda(std::size_t n, std::size_t multiplo) {
    return (n + multiplo - 1) / multiplo * multiplo;
}

Blocco* Mappa(std::size_t dimensione) {
    const auto pagina = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    dimensione = Arrotonda(dimensione, pagina);
    void* area = mmap(nullptr, dimensione, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                      -1, 0);
    if (area == MAP_FAILED) throw std::bad_alloc();
    auto* blocco = new Blocco;
    blocco->base = static_cast<std::uint8_t*>(area);
    blocco->dimensione = dimensione;
    return blocco;
}

void Libera(Blocco* blocco) noexcept {
    munmap(blocco->base, blocco->dimensione);
    delete blocco;
}

// With the mutex held.
void SigillaBloccato(Blocco* blocco) {
    if (blocco->sigillato.load(std::memory_order_relaxed)) return;
    if (mprotect(blocco->base, blocco->dimensione, PROT_READ | PROT_EXEC) != 0)
        throw RPNException("Cannot make the compiled formula executable!");
    blocco->sigillato.store(true, std::memory_order_release);
    if (aperto == blocco) aperto = nullptr;
}

// With the mutex held: the open block when the routine fits in it, else a new block.
Blocco* Posto(std::size_t necessari) {
    if (aperto && Arrotonda(aperto->usati, CodiceEseguibile::kAllineamento) + necessari <=
                      aperto->dimensione)
        return aperto;
    if (aperto) {
        // Full: nothing more goes in, so it may as well be runnable at once.
        Blocco* pieno = aperto;
        aperto = nullptr;
        if (pieno->routine == 0)
            Libera(pieno);
        else
            SigillaBloccato(pieno);
    }
    if (necessari > CodiceEseguibile::kDimensioneBlocco) return Mappa(necessari);
    aperto = Mappa(CodiceEseguibile::kDimensioneBlocco);
    return aperto;
}

}  // namespace

CodiceEseguibile::CodiceEseguibile(std::span<const std::uint8_t> codice,
                                   std::span<const Extended10> costanti) {
    const std::size_t byteCostanti = costanti.size() * sizeof(Extended10);
    const std::size_t necessari = kInizioCodice + codice.size() + byteCostanti;
    std::lock_guard lock(Mutex());
    blocco_ = Posto(necessari);
    std::uint8_t* inizio = blocco_->base + Arrotonda(blocco_->usati, kAllineamento);
    std::memset(inizio, 0xCC, kInizioCodice);  // INT3 padding
    std::memcpy(inizio, &kParolaControllo, sizeof kParolaControllo);
    std::uint8_t* corpo = inizio + kInizioCodice;
    if (!codice.empty()) std::memcpy(corpo, codice.data(), codice.size());
    auto* letterali = corpo + codice.size();
    if (byteCostanti) std::memcpy(letterali, costanti.data(), byteCostanti);
    blocco_->usati = static_cast<std::size_t>(letterali + byteCostanti - blocco_->base);
    ++blocco_->routine;
    codice_ = corpo;
    costanti_ = reinterpret_cast<const Extended10*>(letterali);
}

CodiceEseguibile::~CodiceEseguibile() {
    std::lock_guard lock(Mutex());
    if (--blocco_->routine > 0) return;
    if (blocco_ != aperto) {
        Libera(blocco_);
    } else {
        blocco_->usati = 0;  // never run, still writable: the space can be used again
    }
}

void CodiceEseguibile::Sigilla() const {
    if (blocco_->sigillato.load(std::memory_order_acquire)) return;
    std::lock_guard lock(Mutex());
    SigillaBloccato(blocco_);
}

}  // namespace rpn
