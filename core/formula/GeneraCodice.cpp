// Emits the prologue, one fixed sequence per token and the epilogue, tracking register depth.
#include "core/formula/detail/GeneraCodice.h"

#include <algorithm>
#include <span>

#include "core/formula/RPNCompiler.h"
#include "core/formula/detail/CodiceEseguibile.h"

namespace rpn {

namespace {

// mov rdx,rdi; mov rcx,rsi; fldcw [rip+d]: the word at the start of the executable area.
constexpr int kLunghezzaPrologo = 12;
constexpr std::int32_t kDistanzaParola =
    -static_cast<std::int32_t>(CodiceEseguibile::kInizioCodice + kLunghezzaPrologo);
constexpr std::uint8_t kPrologo[kLunghezzaPrologo] = {
    0x48, 0x89, 0xFA, 0x48, 0x89, 0xF1, 0xD9, 0x2D,
    static_cast<std::uint8_t>(kDistanzaParola & 0xFF),
    static_cast<std::uint8_t>((kDistanzaParola >> 8) & 0xFF),
    static_cast<std::uint8_t>((kDistanzaParola >> 16) & 0xFF),
    static_cast<std::uint8_t>((kDistanzaParola >> 24) & 0xFF)};
constexpr std::uint8_t kEpilogo[] = {0x9B, 0xC3};  // FWAIT; RET

// FLD tbyte [base+10k]; ModRM bytes for no, an 8-bit and a 32-bit displacement.
struct Carica {
    std::uint8_t senza, corto, lungo;
};
constexpr Carica kCaricaCostante = {0x2A, 0x6A, 0xAA};  // base RDX
constexpr Carica kCaricaVariabile = {0x29, 0x69, 0xA9};  // base RCX

// The displacement 10k must fit in one byte (x0..x25, 26 literals). The processor
// sign-extends an 8-bit displacement, so 130..250 take the 32-bit form.
constexpr int kMassimoSpostamento = 255;

class Generatore {
public:
    // inRegistro: the variable held in the register under the formula's, or -1 for none.
    explicit Generatore(Codice& c, int inRegistro = -1) : c_(c), inRegistro_(inRegistro) {}

    void Emetti(std::span<const std::uint8_t> byte) {
        c_.Flusso.insert(c_.Flusso.end(), byte.begin(), byte.end());
    }

    void ControllaProfondita(int k) const {
        if (profondita_ + k > kRegistriUsabili)
            throw RPNException("FPU stack overflow! Function is too complex!");
    }

    void EmettiCarica(const Carica& modrm, int spostamento) {
        c_.Flusso.push_back(0xDB);
        if (spostamento == 0) {
            c_.Flusso.push_back(modrm.senza);
        } else if (spostamento <= 127) {
            c_.Flusso.push_back(modrm.corto);
            c_.Flusso.push_back(static_cast<std::uint8_t>(spostamento));
        } else {
            c_.Flusso.push_back(modrm.lungo);
            for (int i = 0; i < 4; ++i)
                c_.Flusso.push_back(static_cast<std::uint8_t>(spostamento >> (8 * i)));
        }
        ++profondita_;
    }

    void Atomo(const TAtom& a) {
        switch (a.Tipo) {
        case atNumero: {
            ControllaProfondita(1);
            const auto k = static_cast<int>(c_.Costanti.size());
            if (10 * k > kMassimoSpostamento)
                throw ERangeError(ConPosizione("Too many numbers in the formula (at most 26)!",
                                               a.Posizione));
            c_.Costanti.emplace_back(a.Valore);
            EmettiCarica(kCaricaCostante, 10 * k);
            break;
        }
        case atVariabile: {
            ControllaProfondita(1);
            if (a.Indice < 0 || a.Indice > TRPNCompiler::MassimoIndiceVariabile)
                throw ERangeError(
                    ConPosizione("Variable out of range (x0 to x25)!", a.Posizione));
            const auto k = static_cast<int>(a.Indice);
            c_.MaxVariabile = std::max(c_.MaxVariabile, k);
            if (k == inRegistro_) {
                const std::uint8_t copia[] = {0xD9, static_cast<std::uint8_t>(0xC0 + profondita_)};
                Emetti(copia);  // FLD ST(i): the held value sits under the i occupied registers
                ++profondita_;
            } else {
                EmettiCarica(kCaricaVariabile, 10 * k);
            }
            break;
        }
        case atOperatore:
        case atFunzione:
        case atCostante:
            if (a.Voce->Controllo > 0) ControllaProfondita(a.Voce->Controllo);
            Emetti(a.Voce->Codice);
            profondita_ += a.Voce->Variazione;
            break;
        default:
            throw RPNException("Internal error!");
        }
    }

private:
    Codice& c_;
    int inRegistro_;
    int profondita_ = 0;
};

void Aggiungi(std::vector<std::uint8_t>& flusso, std::span<const std::uint8_t> byte) {
    flusso.insert(flusso.end(), byte.begin(), byte.end());
}

void AggiungiParola(std::vector<std::uint8_t>& flusso, std::int32_t parola) {
    for (int i = 0; i < 4; ++i) flusso.push_back(static_cast<std::uint8_t>(parola >> (8 * i)));
}

// mov r8,rdx (the count, in a register no token touches: "pos" writes AX); the first
// routine's prologue with its own distance to the control word; fld tbyte [rcx+10]; then the
// loop: the body, fstp st(1) (the result replaces x1), dec r8, jnz back; fwait; ret.
void AggiungiIterazione(Codice& c, const std::vector<TAtom>& uscita) {
    Codice corpo;
    Generatore g(corpo, kVariabileIterata);
    for (const TAtom& a : uscita) g.Atomo(a);

    auto& f = c.Flusso;
    c.Iterazione = f.size();
    constexpr std::uint8_t kConteggio[] = {0x49, 0x89, 0xD0};
    Aggiungi(f, kConteggio);
    const auto fineFldcw = static_cast<std::int32_t>(f.size() + kLunghezzaPrologo);
    Aggiungi(f, std::span(kPrologo).first(kLunghezzaPrologo - 4));
    AggiungiParola(f, -static_cast<std::int32_t>(CodiceEseguibile::kInizioCodice) - fineFldcw);
    constexpr std::uint8_t kCaricaIterata[] = {0xDB, 0x69, 10 * kVariabileIterata};
    Aggiungi(f, kCaricaIterata);
    const auto ciclo = static_cast<std::int32_t>(f.size());
    Aggiungi(f, corpo.Flusso);
    constexpr std::uint8_t kFineCiclo[] = {0xDD, 0xD9, 0x49, 0xFF, 0xC8, 0x0F, 0x85};
    Aggiungi(f, kFineCiclo);
    AggiungiParola(f, ciclo - static_cast<std::int32_t>(f.size() + 4));
    Aggiungi(f, kEpilogo);
}

}  // namespace

Codice GeneraCodice(const std::vector<TAtom>& uscita, int numCostanti, bool iterabile) {
    Codice c;
    c.Costanti.reserve(static_cast<std::size_t>(numCostanti));
    Generatore g(c);
    g.Emetti(kPrologo);
    for (const TAtom& a : uscita) g.Atomo(a);
    g.Emetti(kEpilogo);
    if (iterabile) AggiungiIterazione(c, uscita);
    return c;
}

}  // namespace rpn
