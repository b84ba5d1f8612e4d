// Shunting-yard over parenthesis levels, driven by the set of token kinds allowed next. A level
// writes nothing below it while it is open, so all levels share one output: closing a level
// costs only its own pending operators, and the whole parse is linear in the text.
#include "core/formula/detail/Analizza.h"

#include "core/formula/RPNCompiler.h"

namespace rpn {

namespace {

struct TLivello {
    int ArgomentiRestanti = 1;
    std::vector<TAtom> Operatori;  // pending operators and functions (a stack)
};

constexpr unsigned Bit(TipoAtomo t) { return 1u << t; }
constexpr unsigned kInizioOperando = Bit(atNumero) | Bit(atParentesiAperta) |
                                     Bit(atFunzione) | Bit(atVariabile) | Bit(atCostante);
constexpr unsigned kDopoOperando =
    Bit(atOperatore) | Bit(atFine) | Bit(atParentesiChiusa) | Bit(atSeparatore);

void SvuotaOperatori(TLivello& l, std::vector<TAtom>& uscita) {
    for (; !l.Operatori.empty(); l.Operatori.pop_back())
        uscita.push_back(std::move(l.Operatori.back()));
}

}  // namespace

Analisi Analizza(std::string_view testo, int massimaVariabileAmmessa) {
    std::vector<TLivello> livelli(1);
    std::vector<TAtom> uscita;  // the formula in reverse Polish order so far
    int argomentiAttesi = 1;
    unsigned ammessi = kInizioOperando;
    int numCostanti = 0;
    std::size_t posizione = 0;
    std::string_view resto = testo;
    for (;;) {
        TAtom a = LeggiAtomo(resto, posizione);
        if ((ammessi & Bit(a.Tipo)) == 0) ErrorePosizione("Function is not legal here!", posizione);
        const std::size_t lunghezza = a.Testo.size();
        TLivello& l = livelli.back();
        switch (a.Tipo) {
        case atVariabile:
            if (a.Indice >= 0 && a.Indice <= TRPNCompiler::MassimoIndiceVariabile &&
                a.Indice > massimaVariabileAmmessa)
                ErrorePosizione("Variable not allowed here!", posizione);
            uscita.push_back(std::move(a));
            ammessi = kDopoOperando;
            break;
        case atNumero:
            ++numCostanti;
            [[fallthrough]];
        case atCostante:
            uscita.push_back(std::move(a));
            ammessi = kDopoOperando;
            break;
        case atParentesiAperta:
            livelli.push_back(TLivello{argomentiAttesi, {}});
            argomentiAttesi = 1;
            ammessi = kInizioOperando;
            break;
        case atOperatore:
            while (!l.Operatori.empty() && a.Voce->Priorita <= l.Operatori.back().Voce->Priorita) {
                uscita.push_back(std::move(l.Operatori.back()));
                l.Operatori.pop_back();
            }
            l.Operatori.push_back(std::move(a));
            ammessi = kInizioOperando;
            break;
        case atFunzione:
            l.Operatori.push_back(std::move(a));
            argomentiAttesi = 1;
            ammessi = Bit(atParentesiAperta);
            break;
        case atParentesiChiusa: {
            if (livelli.size() == 1) ErrorePosizione("Cannot close a parenthesis here!", posizione);
            if (l.ArgomentiRestanti != 1) ErrorePosizione("Too few arguments!", posizione);
            SvuotaOperatori(l, uscita);
            livelli.pop_back();
            ammessi = kDopoOperando;
            break;
        }
        case atSeparatore:
            if (livelli.size() == 1) ErrorePosizione("Cannot have a comma here!", posizione);
            if (l.ArgomentiRestanti == 1) ErrorePosizione("Too much arguments!", posizione);
            --l.ArgomentiRestanti;
            SvuotaOperatori(l, uscita);
            ammessi = kInizioOperando;
            break;
        case atFine:
            if (livelli.size() > 1) ErrorePosizione("Not enough parenthesis!", posizione);
            SvuotaOperatori(l, uscita);
            return Analisi{std::move(uscita), numCostanti};
        default:
            throw RPNException("Internal error!");
        }
        posizione += lunghezza;
        resto.remove_prefix(lunghezza);
    }
}

}  // namespace rpn
