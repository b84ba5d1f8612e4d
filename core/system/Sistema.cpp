#include "core/system/Sistema.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

#include "core/base/Exception.h"
#include "core/link/XlTable.h"
#include "core/system/Gauss.h"
#include "core/system/RicalcolaThread.h"

struct TSistema::TNotifica {
    TProcNotifica proc;
    IOsservatorePercorsi* osservatore;
};

Extended TComponente::Valore(Extended t) { return sistema_.Valore(indice_, t); }

TSistema::TSistema() : sorgente_(&GeneratoreProcesso()) {}

TSistema::TSistema(const TSistema& modello) : sorgente_(&GeneratoreProcesso()) {
    ReadGuard guard(modello.blocco_);
    inizio_ = modello.inizio_;
    fine_ = modello.fine_;
    passo_ = modello.passo_;
    dimensione_ = modello.dimensione_;
    numPunti_ = modello.numPunti_;
    traiettoria_.assign(modello.traiettoria_.size(), Extended{0});
    origine_ = modello.origine_;
    formule_ = modello.formule_;
}

std::unique_ptr<TSistema> TSistema::CopiaDiLavoro() const {
    throw Exception("No parallel run for this system!");
}

void TSistema::CopiaPercorsoDa(const TSistema& copia) {
    WriteGuard guard(blocco_);
    ReadGuard guardCopia(copia.blocco_);
    if (copia.traiettoria_.size() != traiettoria_.size()) throw ERangeError();
    traiettoria_ = copia.traiettoria_;
}

TSistema::~TSistema() {
    FermaRicalcolo();
    *vivo_ = false;
}

void TSistema::FermaRicalcolo() {
    abbandona_.store(true, std::memory_order_relaxed);
    if (thread_) thread_->Ferma();
    FineEsecuzione();
}

void TSistema::FineEsecuzione() {
    thread_.reset();
    formuleInUso_.store(false, std::memory_order_release);
}

void TSistema::SetIntervallo(Extended inizio, Extended fine, Extended passo) {
    WriteGuard guard(blocco_);
    if (!std::isfinite(inizio) || !std::isfinite(fine)) throw Exception("Invalid interval!");
    if (passo == 0 || !std::isfinite(passo)) throw Exception("Invalid step!");
    const Extended quoziente = std::trunc((fine - inizio) / passo);
    if (!(quoziente + 2 >= 1)) throw Exception("Too few grid points!");
    if (quoziente + 2 > std::numeric_limits<std::int32_t>::max())
        throw ERangeError("Too many grid points!");
    inizio_ = inizio;
    fine_ = fine;
    passo_ = passo;
    numPunti_ = static_cast<int>(quoziente) + 2;
    // Element numbers beyond MassimoElementi are out of the path's range anyway, so a finer
    // grid gets the addressable part only and fails when a scheme reaches the element after.
    const std::int64_t valori =
        std::min<std::int64_t>(std::int64_t{numPunti_} * dimensione_, MassimoElementi);
    traiettoria_.assign(static_cast<std::size_t>(valori), Extended{0});
}

Extended TSistema::Inizio() const {
    ReadGuard guard(blocco_);
    return inizio_;
}

Extended TSistema::Fine() const {
    ReadGuard guard(blocco_);
    return fine_;
}

Extended TSistema::Passo() const {
    ReadGuard guard(blocco_);
    return passo_;
}

int TSistema::NumPunti() const {
    ReadGuard guard(blocco_);
    return numPunti_;
}

int TSistema::Dimensione() const {
    ReadGuard guard(blocco_);
    return dimensione_;
}

void TSistema::ControllaComponente(int k) const {
    if (k < 1 || k > dimensione_) throw Exception("Invalid dimension!");
}

void TSistema::Ridimensiona(int n, int numFormule) {
    WriteGuard guard(blocco_);
    if (n < 1 || n > MassimaDimensione) throw Exception("Invalid dimension!");
    if (numFormule < 0) throw ERangeError();
    dimensione_ = n;
    formule_.clear();
    formule_.reserve(static_cast<std::size_t>(numFormule));
    for (int f = 0; f < numFormule; ++f) {
        auto formula = std::make_shared<TRPNCompiler>();
        // The vector is [t, X1 ... Xn]; the code cannot address above x25 anyway.
        formula->SetMassimaVariabileAmmessa(std::min(n, TRPNCompiler::MassimoIndiceVariabile));
        formula->SetInUso(&formuleInUso_);
        formule_.push_back(std::move(formula));
    }
    origine_.assign(static_cast<std::size_t>(n), Extended{0});
    if (passo_ != 0) {
        SetIntervallo(inizio_, fine_, passo_);
    } else {
        traiettoria_.clear();  // no grid yet: the path waits for SetIntervallo
    }
}

TRPNCompiler& TSistema::Formula(int pos) {
    if (pos < 1 || pos > static_cast<int>(formule_.size())) throw ERangeError();
    return *formule_[static_cast<std::size_t>(pos - 1)];
}

void TSistema::SetOrigine(int k, Extended valore) {
    WriteGuard guard(blocco_);
    ControllaComponente(k);
    origine_[static_cast<std::size_t>(k - 1)] = valore;
}

Extended TSistema::Origine(int k) const {
    ReadGuard guard(blocco_);
    ControllaComponente(k);
    return OrigineK(k);
}

TRPNCompiler& TSistema::Deriva(int k) {
    ReadGuard guard(blocco_);
    ControllaComponente(k);
    return Formula(k);
}

std::unique_ptr<TComponente> TSistema::Componente(int k) {
    ReadGuard guard(blocco_);
    ControllaComponente(k);
    return std::make_unique<TComponente>(*this, k);
}

Extended TSistema::Valore(int k, Extended t) {
    ReadGuard guard(blocco_);
    ControllaComponente(k);
    // numPunti_ == 0: no grid has been set, there is no range to be inside of.
    if (!(inizio_ <= t && t <= fine_) || numPunti_ == 0) throw Exception("Out of range!");
    const int i = static_cast<int>(std::trunc((t - inizio_) / passo_));
    const Extended a = Punto(i, k);
    const Extended b = Punto(i + 1, k);
    const Extended scarto = (t - inizio_) - i * passo_;
    // At a grid point the stored value, also when the next one is infinite (inf * 0).
    if (scarto == 0) return a;
    return (b - a) * scarto / passo_ + a;
}

std::vector<std::uint8_t> TSistema::Tabella(std::span<const int> colonne, Extended t0,
                                            Extended t1, Extended dt) {
    // One read side for the whole table, so that all rows come from the same path.
    ReadGuard guard(blocco_);
    const std::optional<int> righe = RigheXlTable(t0, t1, dt);
    const std::int64_t numColonne = static_cast<std::int64_t>(colonne.size());
    if (!righe || !MisureXlTable(*righe, numColonne)) throw ERangeError();
    const std::int64_t byteValori = 8 * numColonne * *righe;
    std::vector<std::uint8_t> dati(IntestazioneXlTable + static_cast<std::size_t>(byteValori));
    ScriviIntestazioneXlTable(dati.data(), *righe, static_cast<int>(numColonne));
    std::uint8_t* cella = dati.data() + IntestazioneXlTable;
    for (std::int64_t j = 0; j < *righe; ++j) {
        const Extended t = j * dt + t0;
        for (const int c : colonne) {
            Extended valore = t;
            if (c != 0) {
                try {
                    valore = Valore(c, t);
                } catch (const std::exception&) {
                    valore = -1;
                }
            }
            const double doppio = static_cast<double>(valore);
            std::memcpy(cella, &doppio, sizeof doppio);
            cella += sizeof doppio;
        }
    }
    return dati;
}

TSistema::TNotifica* TSistema::AggiungiNotifica(TProcNotifica proc,
                                                IOsservatorePercorsi* osservatore) {
    auto record = std::make_unique<TNotifica>(TNotifica{std::move(proc), osservatore});
    TNotifica* handle = record.get();
    std::lock_guard lock(mutexNotifiche_);
    notifiche_.push_back(std::move(record));
    return handle;
}

void TSistema::RimuoviNotifica(TNotifica* handle) {
    std::unique_ptr<TNotifica> rimosso;  // freed after the lock: its routine may own things
    std::lock_guard lock(mutexNotifiche_);
    for (auto r = notifiche_.begin(); r != notifiche_.end(); ++r)
        if (r->get() == handle) {
            rimosso = std::move(*r);
            notifiche_.erase(r);
            break;
        }
}

void TSistema::OsservaPercorso(std::vector<Extended10>& vettore) {
    std::lock_guard lock(mutexNotifiche_);
    for (const auto& record : notifiche_) {
        if (!record->osservatore) continue;
        const std::optional<TOsservazione> osservazione = record->osservatore->Osservazione();
        if (osservazione) record->osservatore->Aggiungi(osservazione->Valuta(*this, vettore));
    }
}

std::vector<std::pair<TSistema::TNotifica*, TOsservazione>> TSistema::Osservazioni() {
    std::vector<std::pair<TNotifica*, TOsservazione>> osservazioni;
    for (const auto& record : notifiche_)
        if (record->osservatore)
            if (std::optional<TOsservazione> o = record->osservatore->Osservazione())
                osservazioni.emplace_back(record.get(), std::move(*o));
    return osservazioni;
}

void TSistema::ConsegnaCampioni(const std::vector<TNotifica*>& ascoltatori,
                                const std::vector<TAccumulo>& campioni) {
    for (std::size_t i = 0; i < ascoltatori.size() && i < campioni.size(); ++i)
        for (const auto& record : notifiche_)
            if (record.get() == ascoltatori[i]) record->osservatore->Unisci(campioni[i]);
}

void TSistema::Notifica() {
    // A listener may remove records (its own included) while it runs: walk a snapshot of
    // the handles and call only those still registered, each through a copy of its routine.
    // It may also destroy the system: then nothing of it may be touched any more.
    const std::shared_ptr<bool> vivo = vivo_;
    std::vector<TNotifica*> handles;
    handles.reserve(notifiche_.size());
    for (const auto& record : notifiche_) handles.push_back(record.get());
    for (TNotifica* handle : handles) {
        const bool registrato = std::any_of(notifiche_.begin(), notifiche_.end(),
                                            [handle](const auto& r) { return r.get() == handle; });
        if (!registrato) continue;
        const TProcNotifica proc = handle->proc;
        if (proc) proc(*this);
        if (!*vivo) return;
    }
}

void TSistema::SetThreadPrincipale(IThreadPrincipale* principale) { principale_ = principale; }

void TSistema::SetOnFineRicalcolo(TNotifyEvent evento) { onFineRicalcolo_ = std::move(evento); }

void TSistema::SetOnErrore(std::function<void(const std::string&)> mostra) {
    onErrore_ = std::move(mostra);
}

void TSistema::Avvia(int conteggio) {
    if (thread_) throw Exception("A recalculation is already running!");
    if (!principale_) throw Exception("No main thread to report the recalculation to!");
    completati_.store(0, std::memory_order_relaxed);
    formuleInUso_.store(true, std::memory_order_release);
    thread_ = std::make_unique<TRicalcolaThread>(*this, conteggio, *principale_,
                                                 onFineRicalcolo_);
}

void TSistema::AvviaParallelo(int conteggio, int numThread, std::uint64_t seme) {
    if (thread_) throw Exception("A recalculation is already running!");
    if (!principale_) throw Exception("No main thread to report the recalculation to!");
    if (numThread < 1) throw Exception("Invalid thread count!");
    TRicalcolaThread::TParallelo parallelo{numThread, seme, {}, {}};
    for (auto& [ascoltatore, osservazione] : Osservazioni()) {
        parallelo.ascoltatori.push_back(ascoltatore);
        parallelo.osservazioni.push_back(std::move(osservazione));
    }
    CopiaDiLavoro();  // refuses a system without worker copies before anything starts
    completati_.store(0, std::memory_order_relaxed);
    formuleInUso_.store(true, std::memory_order_release);
    thread_ = std::make_unique<TRicalcolaThread>(*this, conteggio, *principale_,
                                                 onFineRicalcolo_, std::move(parallelo));
}

void TSistema::Interrompi() {
    if (thread_) thread_->Termina();
}

bool TSistema::InEsecuzione() const { return thread_ != nullptr; }
