#include "core/system/Sistema.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

#include "core/base/Exception.h"
#include "core/link/XlTable.h"
#include "core/system/RicalcolaThread.h"

struct TSistema::TNotifica {
    TProcNotifica proc;
};

Extended TComponente::Valore(Extended t) { return sistema_.Valore(indice_, t); }

std::optional<TGriglia> TComponente::Griglia() const {
    ReadGuard guard(sistema_.Blocco());
    return TGriglia{sistema_.Inizio(), sistema_.Fine(), sistema_.Passo(), sistema_.NumPunti()};
}

TSistema::TSistema() = default;

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
        auto formula = std::make_unique<TRPNCompiler>();
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

TSistema::TNotifica* TSistema::AggiungiNotifica(TProcNotifica proc) {
    notifiche_.push_back(std::make_unique<TNotifica>(TNotifica{std::move(proc)}));
    return notifiche_.back().get();
}

void TSistema::RimuoviNotifica(TNotifica* handle) {
    notifiche_.remove_if([handle](const auto& record) { return record.get() == handle; });
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
    thread_ = std::make_unique<TRicalcolaThread>(*this, conteggio, *principale_,
                                                 onFineRicalcolo_);
    formuleInUso_.store(true, std::memory_order_release);
}

void TSistema::Interrompi() {
    if (thread_) thread_->Termina();
}

bool TSistema::InEsecuzione() const { return thread_ != nullptr; }
