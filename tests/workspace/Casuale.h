// Random workspaces for the round-trip tests: every schema and window kind, numbers with all
// 64 bits of an Extended's mantissa, formulas that compile for the system's dimension.
#pragma once

#include <cmath>
#include <random>
#include <string>

#include "core/workspace/Workspace.h"

namespace prova {

class TCasuale {
public:
    explicit TCasuale(unsigned seme) : g_(seme) {}

    int Intero(int a, int b) { return std::uniform_int_distribution<int>(a, b)(g_); }
    bool Moneta() { return Intero(0, 1) == 1; }

    // Any finite value: a full random mantissa scaled by a power of two from 2^-80 to 2^80.
    Extended Numero() {
        const auto mantissa = static_cast<Extended>(g_() | (std::uint64_t{1} << 63));
        const Extended v = std::ldexp(mantissa, Intero(-80, 80) - 63);
        return Moneta() ? -v : v;
    }
    Extended Positivo() { return std::fabs(Numero()); }

    // A formula naming variables up to x`massima`, with literals written with separatore.
    std::string Formula(int massima, char separatore) {
        static const char* forme[] = {"x%a*(1-x%b)", "sin(x%a)+%c",        "0-x%b",
                                      "exp(%c*x%a)", "sqrt(abs(x%a))*x%b", "%c"};
        std::string f = forme[Intero(0, 5)];
        const std::string c =
            std::to_string(Intero(0, 9)) + separatore + std::to_string(Intero(0, 99));
        for (std::size_t p; (p = f.find('%')) != std::string::npos;) {
            const char campo = f[p + 1];
            f.replace(p, 2, campo == 'c' ? c : std::to_string(Intero(0, massima)));
        }
        return f;
    }

    TWorkspace Workspace(bool soloNormali = false) {
        TWorkspace ws;
        ws.separatore = Moneta() ? ',' : '.';
        const char sep = ws.separatore;
        if (Moneta()) ws.sistema = Sistema(sep);
        if (Moneta()) ws.mappa = TMappaWs{Formula(1, sep), Formula(1, sep), Numero()};
        if (Moneta()) ws.parallelo = {g_(), Intero(1, 64)};
        for (int i = Intero(0, 6); i > 0; --i) {
            TFinestraWs f = Finestra(ws, sep);
            if (soloNormali) f.stato = TStatoFinestra::Normale;
            ws.finestre.push_back(f);
        }
        return ws;
    }

private:
    TSistemaWs Sistema(char sep) {
        TSistemaWs s;
        s.schema = static_cast<TSchema>(Intero(0, 5));
        const bool pieno = s.schema == TSchema::Eulero05 || s.schema == TSchema::Debole10;
        const bool deterministico =
            s.schema == TSchema::RungeKutta5 || s.schema == TSchema::Implicito10;
        s.dimensione = s.schema == TSchema::Uni15 ? 1 : Intero(1, 4);
        s.moti = pieno ? Intero(0, 3) : deterministico ? 0 : 1;
        s.inizio = Intero(-5, 5);
        s.passo = Positivo() * 1e-30L + 0.001L * Intero(1, 100);
        s.fine = s.inizio + s.passo * Intero(1, 500);
        for (int k = 0; k < s.dimensione; ++k) {
            s.origine.push_back(Numero());
            s.deriva.push_back(Formula(s.dimensione, sep));
            if (s.moti == 0) continue;
            auto& riga = s.diffusione.emplace_back();
            for (int j = pieno ? s.moti : 1; j > 0; --j)
                riga.push_back(Formula(s.dimensione, sep));
        }
        return s;
    }

    TFinestraWs Finestra(const TWorkspace& ws, char sep) {
        using T = TTipoFinestra;
        std::vector<T> tipi = {T::Piano};
        if (ws.sistema) tipi.insert(tipi.end(), {T::Traiettorie, T::Fasi, T::Speranza});
        if (ws.mappa)
            tipi.insert(tipi.end(), {T::Diagramma, T::Lyapunov, T::Iterazioni, T::Iterata});
        TFinestraWs f;
        f.tipo = tipi[static_cast<std::size_t>(Intero(0, static_cast<int>(tipi.size()) - 1))];
        f.geometria = {Intero(0, 300), Intero(0, 200), Intero(300, 500), Intero(250, 400)};
        f.stato = static_cast<TStatoFinestra>(Intero(0, 2));
        const int n = ws.sistema ? ws.sistema->dimensione : 0;
        if (f.tipo != T::Speranza) f.estensione = {Numero(), Positivo(), Numero(), Positivo()};
        if (f.tipo == T::Traiettorie)
            for (int i = Intero(0, 3); i > 0; --i) f.componenti.push_back(Intero(1, n));
        if (f.tipo == T::Fasi) f.componenti = {Intero(1, n), Intero(1, n)};
        if (f.tipo == T::Traiettorie || f.tipo == T::Piano || f.tipo == T::Diagramma ||
            f.tipo == T::Lyapunov)
            for (int i = Intero(0, 2); i > 0; --i) f.funzioni.push_back(Formula(0, sep));
        if (f.tipo == T::Fasi) f.tempi = {Numero(), Numero(), Positivo()};
        if (f.tipo == T::Speranza) {
            f.funzione = Formula(n, sep);
            f.istante = Numero();
            f.campioni = {Intero(0, 1000000), Numero(), Positivo()};
            f.continuo = Moneta();
        }
        if (f.tipo == T::Iterazioni || f.tipo == T::Iterata) {
            const int a = Intero(-4000, 4000);
            const int b = Intero(a, 8000);
            f.lambda = {a / 1000.0L, Intero(a, b) / 1000.0L, b / 1000.0L};
        }
        if (f.tipo == T::Iterazioni) {
            f.seed = Numero();
            f.salta = Intero(0, 1000);
            f.iterazioni = Intero(0, 1000);
        }
        return f;
    }

    std::mt19937_64 g_;
};

}  // namespace prova
