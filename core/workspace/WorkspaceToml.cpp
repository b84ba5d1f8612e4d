#include "core/workspace/WorkspaceToml.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>
#include <utility>

#include <toml++/toml.h>

#include "core/base/Conversioni.h"

namespace {

struct TNomeSchema {
    TSchema schema;
    const char* nome;
};
constexpr TNomeSchema nomiSchemi[] = {{TSchema::Eulero05, "eulero05"},
                                      {TSchema::Milstein10, "milstein10"},
                                      {TSchema::Uni15, "uni15"},
                                      {TSchema::Debole10, "debole10"},
                                      {TSchema::RungeKutta5, "rungekutta5"},
                                      {TSchema::Implicito10, "implicito10"}};

struct TNomeTipo {
    TTipoFinestra tipo;
    const char* nome;
};
constexpr TNomeTipo nomiTipi[] = {
    {TTipoFinestra::Traiettorie, "traiettorie"}, {TTipoFinestra::Fasi, "fasi"},
    {TTipoFinestra::Speranza, "speranza"},       {TTipoFinestra::Piano, "piano"},
    {TTipoFinestra::Diagramma, "diagramma"},     {TTipoFinestra::Lyapunov, "lyapunov"},
    {TTipoFinestra::Iterazioni, "iterazioni"},   {TTipoFinestra::Iterata, "iterata"}};

constexpr const char* nomiStati[] = {"normale", "minimizzata", "massimizzata"};

// The program's conversions use its own separator: a text of the file is turned into one
// that the program reads alike by swapping '.' and ',' when the two separators differ.
std::string ConSeparatore(std::string testo, char da, char a) {
    if (da == a) return testo;
    for (char& c : testo)
        if (c == da)
            c = a;
        else if (c == a)
            c = da;
    return testo;
}

std::string TestoNumero(Extended v, char separatore) {
    return ConSeparatore(FloatToStr(v), DecimalSeparator(), separatore);
}

// A TOML basic string.
std::string Citata(const std::string& s) {
    std::string r = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            r += '\\';
            r += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            char codice[8];
            std::snprintf(codice, sizeof codice, "\\u%04X", c);
            r += codice;
        } else {
            r += static_cast<char>(c);
        }
    }
    return r + "\"";
}

template <class T, class F>
std::string Elenco(const T& valori, F testo) {
    std::string r = "[";
    for (const auto& v : valori) r += (r.size() > 1 ? ", " : "") + testo(v);
    return r + "]";
}

class TLettore {
public:
    TLettore(const std::string& file, TRighe& righe) : file_(file), righe_(righe) {}

    [[noreturn]] void Errore(int riga, const std::string& campo, const std::string& cosa) const {
        throw EWorkspace(file_ + ":" + std::to_string(riga) + ": " + campo + ": " + cosa);
    }

    // A table's keys, checked against the known ones; its line is remembered under campo.
    void Chiavi(const toml::table& t, const std::string& campo,
                std::initializer_list<const char*> note) {
        righe_[campo] = Riga(t);
        const std::set<std::string_view> ammesse(note.begin(), note.end());
        for (const auto& [chiave, valore] : t)
            if (!ammesse.count(chiave.str()))
                Errore(Riga(valore), Sotto(campo, std::string(chiave.str())), "campo sconosciuto");
    }

    const toml::node* Campo(const toml::table& t, const std::string& campo, const char* chiave,
                            bool obbligatorio = true) {
        const toml::node* n = t.get(chiave);
        const std::string nome = Sotto(campo, chiave);
        if (!n) {
            if (obbligatorio) Errore(Riga(t), nome, "campo mancante");
            return nullptr;
        }
        righe_[nome] = Riga(*n);
        return n;
    }

    std::string Stringa(const toml::node& n, const std::string& campo) {
        const auto* s = n.as_string();
        if (!s) Errore(Riga(n), campo, "atteso un testo tra virgolette");
        return s->get();
    }
    std::int64_t Intero(const toml::node& n, const std::string& campo, std::int64_t minimo,
                        std::int64_t massimo) {
        const auto* i = n.as_integer();
        if (!i) Errore(Riga(n), campo, "atteso un numero intero");
        if (i->get() < minimo || i->get() > massimo)
            Errore(Riga(n), campo,
                   "fuori dall'intervallo " + std::to_string(minimo) + " ... " +
                       std::to_string(massimo));
        return i->get();
    }
    bool Booleano(const toml::node& n, const std::string& campo) {
        const auto* b = n.as_boolean();
        if (!b) Errore(Riga(n), campo, "atteso true o false");
        return b->get();
    }
    // Numbers are texts, so that every digit of an 80-bit value is kept.
    Extended Numero(const toml::node& n, const std::string& campo) {
        const std::string testo = Stringa(n, campo);
        Extended v = 0;
        if (!TryTextToExtended(ConSeparatore(testo, separatore, DecimalSeparator()), v))
            Errore(Riga(n), campo, "\"" + testo + "\" non e' un numero valido");
        return v;
    }
    const toml::array& Vettore(const toml::node& n, const std::string& campo, std::size_t minimo,
                               std::size_t massimo) {
        const auto* a = n.as_array();
        if (!a) Errore(Riga(n), campo, "atteso un elenco tra parentesi quadre");
        if (a->size() < minimo || a->size() > massimo)
            Errore(Riga(n), campo,
                   minimo == massimo
                       ? "attesi " + std::to_string(minimo) + " elementi"
                       : "numero di elementi fuori dall'intervallo " + std::to_string(minimo) +
                             " ... " + std::to_string(massimo));
        return *a;
    }
    // Each element of an array through leggi(node, field path of the element).
    template <class T, class F>
    std::vector<T> Elementi(const toml::array& a, const std::string& campo, F leggi) {
        std::vector<T> r;
        for (std::size_t i = 0; i < a.size(); ++i) {
            const std::string nome = campo + "[" + std::to_string(i + 1) + "]";
            righe_[nome] = Riga(a[i]);
            r.push_back(leggi(a[i], nome));
        }
        return r;
    }
    template <std::size_t N>
    std::array<Extended, N> Numeri(const toml::node& n, const std::string& campo) {
        const auto v = Elementi<Extended>(
            Vettore(n, campo, N, N), campo,
            [this](const toml::node& e, const std::string& c) { return Numero(e, c); });
        std::array<Extended, N> r;
        std::copy(v.begin(), v.end(), r.begin());
        return r;
    }
    std::vector<std::string> Testi(const toml::node& n, const std::string& campo,
                                   std::size_t minimo, std::size_t massimo) {
        return Elementi<std::string>(
            Vettore(n, campo, minimo, massimo), campo,
            [this](const toml::node& e, const std::string& c) { return Stringa(e, c); });
    }
    template <class Tabella>
    auto Nome(const toml::node& n, const std::string& campo, const Tabella& nomi) {
        const std::string s = Stringa(n, campo);
        for (const auto& voce : nomi)
            if (s == voce.nome) return voce;
        std::string ammessi;
        for (const auto& voce : nomi)
            ammessi += (ammessi.empty() ? "" : ", ") + std::string(voce.nome);
        Errore(Riga(n), campo, "\"" + s + "\" sconosciuto (ammessi: " + ammessi + ")");
    }

    static int Riga(const toml::node& n) { return static_cast<int>(n.source().begin.line); }
    static std::string Sotto(const std::string& campo, const std::string& chiave) {
        return campo.empty() ? chiave : campo + "." + chiave;
    }

    char separatore = '.';

private:
    const std::string& file_;
    TRighe& righe_;
};

TSistemaWs LeggiSistema(TLettore& l, const toml::table& t) {
    const std::string c = "sistema";
    l.Chiavi(t, c,
             {"schema", "dimensione", "moti", "inizio", "fine", "passo", "origine", "deriva",
              "diffusione"});
    TSistemaWs s;
    s.schema = l.Nome(*l.Campo(t, c, "schema"), c + ".schema", nomiSchemi).schema;
    const bool scalare = s.schema == TSchema::Uni15;
    const bool deterministico =
        s.schema == TSchema::RungeKutta5 || s.schema == TSchema::Implicito10;
    const bool pieno = s.schema == TSchema::Eulero05 || s.schema == TSchema::Debole10;
    s.dimensione = static_cast<int>(
        l.Intero(*l.Campo(t, c, "dimensione"), c + ".dimensione", 1, scalare ? 1 : 99));
    s.moti = deterministico ? 0 : 1;
    if (pieno) s.moti = static_cast<int>(l.Intero(*l.Campo(t, c, "moti"), c + ".moti", 0, 99));
    s.inizio = l.Numero(*l.Campo(t, c, "inizio"), c + ".inizio");
    s.fine = l.Numero(*l.Campo(t, c, "fine"), c + ".fine");
    s.passo = l.Numero(*l.Campo(t, c, "passo"), c + ".passo");
    const auto n = static_cast<std::size_t>(s.dimensione);
    s.origine = l.Elementi<Extended>(
        l.Vettore(*l.Campo(t, c, "origine"), c + ".origine", n, n), c + ".origine",
        [&l](const toml::node& e, const std::string& campo) { return l.Numero(e, campo); });
    s.deriva = l.Testi(*l.Campo(t, c, "deriva"), c + ".deriva", n, n);
    if (s.moti == 0) return s;
    const std::size_t celle = pieno ? static_cast<std::size_t>(s.moti) : 1;
    s.diffusione = l.Elementi<std::vector<std::string>>(
        l.Vettore(*l.Campo(t, c, "diffusione"), c + ".diffusione", n, n), c + ".diffusione",
        [&l, celle](const toml::node& e, const std::string& campo) {
            return l.Testi(e, campo, celle, celle);
        });
    return s;
}

TMappaWs LeggiMappa(TLettore& l, const toml::table& t) {
    const std::string c = "mappa";
    l.Chiavi(t, c, {"dinamica", "derivata", "seed"});
    TMappaWs m;
    m.dinamica = l.Stringa(*l.Campo(t, c, "dinamica"), c + ".dinamica");
    m.derivata = l.Stringa(*l.Campo(t, c, "derivata"), c + ".derivata");
    m.seed = l.Numero(*l.Campo(t, c, "seed"), c + ".seed");
    return m;
}

TFinestraWs LeggiFinestra(TLettore& l, const toml::table& t, const std::string& c) {
    l.Chiavi(
        t, c,
        {"tipo", "geometria", "stato", "estensione", "componenti", "funzioni", "tempi", "funzione",
         "istante", "campioni", "continuo", "lambda", "seed", "salta", "iterazioni"});
    TFinestraWs f;
    f.tipo = l.Nome(*l.Campo(t, c, "tipo"), c + ".tipo", nomiTipi).tipo;
    const auto geometria =
        l.Elementi<int>(l.Vettore(*l.Campo(t, c, "geometria"), c + ".geometria", 4, 4),
                        c + ".geometria", [&l](const toml::node& e, const std::string& campo) {
                            return static_cast<int>(l.Intero(e, campo, -100000, 100000));
                        });
    std::copy(geometria.begin(), geometria.end(), f.geometria.begin());
    if (const toml::node* n = l.Campo(t, c, "stato", false)) {
        const std::string s = l.Stringa(*n, c + ".stato");
        int i = 0;
        while (i < 3 && s != nomiStati[i]) ++i;
        if (i == 3) l.Errore(TLettore::Riga(*n), c + ".stato", "\"" + s + "\" sconosciuto");
        f.stato = static_cast<TStatoFinestra>(i);
    }
    using T = TTipoFinestra;
    const bool piano = f.tipo != T::Speranza;
    if (piano) {
        f.estensione = l.Numeri<4>(*l.Campo(t, c, "estensione"), c + ".estensione");
        if (!(f.estensione[1] > 0 && f.estensione[3] > 0))
            l.Errore(TLettore::Riga(*t.get("estensione")), c + ".estensione",
                     "larghezza e altezza devono essere positive");
    }
    if (f.tipo == T::Traiettorie || f.tipo == T::Fasi) {
        const std::size_t quanti = f.tipo == T::Fasi ? 2 : 0;
        const auto& a = l.Vettore(*l.Campo(t, c, "componenti"), c + ".componenti", quanti,
                                  quanti ? quanti : 255);
        f.componenti = l.Elementi<int>(a, c + ".componenti",
                                       [&l](const toml::node& e, const std::string& campo) {
                                           return static_cast<int>(l.Intero(e, campo, 1, 255));
                                       });
    }
    if (f.tipo == T::Traiettorie || f.tipo == T::Piano || f.tipo == T::Diagramma ||
        f.tipo == T::Lyapunov)
        if (const toml::node* n = l.Campo(t, c, "funzioni", false))
            f.funzioni = l.Testi(*n, c + ".funzioni", 0, 1000);
    if (f.tipo == T::Fasi) f.tempi = l.Numeri<3>(*l.Campo(t, c, "tempi"), c + ".tempi");
    if (f.tipo == T::Speranza) {
        f.funzione = l.Stringa(*l.Campo(t, c, "funzione"), c + ".funzione");
        f.istante = l.Numero(*l.Campo(t, c, "istante"), c + ".istante");
        if (const toml::node* n = l.Campo(t, c, "continuo", false))
            f.continuo = l.Booleano(*n, c + ".continuo");
        if (const toml::node* n = l.Campo(t, c, "campioni", false)) {
            const std::string cc = c + ".campioni";
            const auto* tc = n->as_table();
            if (!tc) l.Errore(TLettore::Riga(*n), cc, "attesa una tabella { numero = ... }");
            l.Chiavi(*tc, cc, {"numero", "media", "scarti2"});
            f.campioni.numero = l.Intero(*l.Campo(*tc, cc, "numero"), cc + ".numero", 0,
                                         std::numeric_limits<int>::max());
            f.campioni.media = l.Numero(*l.Campo(*tc, cc, "media"), cc + ".media");
            f.campioni.scarti2 = l.Numero(*l.Campo(*tc, cc, "scarti2"), cc + ".scarti2");
        }
    }
    if (f.tipo == T::Iterazioni || f.tipo == T::Iterata)
        f.lambda = l.Numeri<3>(*l.Campo(t, c, "lambda"), c + ".lambda");
    if (f.tipo == T::Iterazioni) {
        f.seed = l.Numero(*l.Campo(t, c, "seed"), c + ".seed");
        f.salta = static_cast<int>(
            l.Intero(*l.Campo(t, c, "salta"), c + ".salta", 0, std::numeric_limits<int>::max()));
        f.iterazioni = static_cast<int>(l.Intero(*l.Campo(t, c, "iterazioni"), c + ".iterazioni",
                                                 0, std::numeric_limits<int>::max()));
    }
    return f;
}

TParalleloWs LeggiParallelo(TLettore& l, const toml::table& t) {
    const std::string c = "parallelo";
    l.Chiavi(t, c, {"seme", "thread"});
    TParalleloWs p;
    if (const toml::node* n = l.Campo(t, c, "seme", false)) {
        const std::string s = l.Stringa(*n, c + ".seme");
        std::size_t letti = 0;
        unsigned long long v = 0;
        try {
            v = std::stoull(s, &letti, 10);
        } catch (const std::exception&) {
            letti = 0;
        }
        if (s.empty() || letti != s.size() || s[0] == '-' || s[0] == '+' || s[0] == ' ')
            l.Errore(TLettore::Riga(*n), c + ".seme", "atteso un intero da 0 a 2^64 - 1");
        p.seme = v;
    }
    if (const toml::node* n = l.Campo(t, c, "thread", false))
        p.thread = static_cast<int>(l.Intero(*n, c + ".thread", 1, 4096));
    return p;
}

}  // namespace

std::string PosizioneCampo(const std::string& file, const TRighe& righe,
                           const std::string& campo) {
    const auto i = righe.find(campo);
    return file + ":" + std::to_string(i == righe.end() ? 1 : i->second) + ": " + campo;
}

TWorkspaceLetto LeggiWorkspace(std::string_view testo, const std::string& file) {
    TWorkspaceLetto r;
    TLettore l(file, r.righe);
    toml::table radice;
    try {
        radice = toml::parse(testo, file);
    } catch (const toml::parse_error& e) {
        throw EWorkspace(file + ":" + std::to_string(e.source().begin.line) + ":" +
                         std::to_string(e.source().begin.column) + ": " +
                         std::string(e.description()));
    }
    const toml::node* versione = radice.get("versione");
    if (!versione) l.Errore(1, "versione", "campo mancante: non e' un workspace");
    const std::int64_t v = l.Intero(*versione, "versione", 1, std::numeric_limits<int>::max());
    if (v > VersioneWorkspace)
        l.Errore(TLettore::Riga(*versione), "versione",
                 "schema " + std::to_string(v) +
                     " piu' recente di quello che questo programma "
                     "legge (" +
                     std::to_string(VersioneWorkspace) + ")");
    l.Chiavi(radice, "", {"versione", "separatore", "sistema", "mappa", "finestra", "parallelo"});
    TWorkspace& ws = r.workspace;
    if (const toml::node* n = l.Campo(radice, "", "separatore", false)) {
        const std::string s = l.Stringa(*n, "separatore");
        if (s != "." && s != ",")
            l.Errore(TLettore::Riga(*n), "separatore", "atteso \".\" o \",\"");
        ws.separatore = s[0];
    }
    l.separatore = ws.separatore;
    auto tabella = [&](const char* chiave) -> const toml::table* {
        const toml::node* n = l.Campo(radice, "", chiave, false);
        if (n && !n->is_table()) l.Errore(TLettore::Riga(*n), chiave, "attesa una tabella");
        return n ? n->as_table() : nullptr;
    };
    if (const toml::table* t = tabella("sistema")) ws.sistema = LeggiSistema(l, *t);
    if (const toml::table* t = tabella("mappa")) ws.mappa = LeggiMappa(l, *t);
    if (const toml::table* t = tabella("parallelo")) ws.parallelo = LeggiParallelo(l, *t);
    if (const toml::node* n = l.Campo(radice, "", "finestra", false)) {
        const auto* a = n->as_array();
        if (!a || !a->is_array_of_tables())
            l.Errore(TLettore::Riga(*n), "finestra", "attese tabelle [[finestra]]");
        for (std::size_t i = 0; i < a->size(); ++i)
            ws.finestre.push_back(
                LeggiFinestra(l, *(*a)[i].as_table(), "finestra[" + std::to_string(i + 1) + "]"));
    }
    return r;
}

TWorkspaceLetto LeggiFileWorkspace(const std::string& percorso) {
    std::ifstream file(percorso, std::ios::binary);
    std::ostringstream testo;
    if (!file || !(testo << file.rdbuf()))
        throw EWorkspace(percorso + ": impossibile leggere il file (" + std::strerror(errno) +
                         ")");
    return LeggiWorkspace(testo.str(), percorso);
}

std::string ScriviWorkspace(const TWorkspace& ws) {
    const char sep = ws.separatore;
    auto numero = [sep](Extended v) { return Citata(TestoNumero(v, sep)); };
    auto intero = [](auto v) { return std::to_string(v); };
    std::ostringstream o;
    o << "# Workspace di Vantor (schema in docs/workspace.md)\n";
    o << "versione = " << VersioneWorkspace << "\n";
    o << "separatore = " << Citata(std::string(1, sep)) << "\n";
    if (const auto& s = ws.sistema) {
        o << "\n[sistema]\n";
        for (const auto& voce : nomiSchemi)
            if (voce.schema == s->schema) o << "schema = " << Citata(voce.nome) << "\n";
        o << "dimensione = " << s->dimensione << "\nmoti = " << s->moti << "\n";
        o << "inizio = " << numero(s->inizio) << "\nfine = " << numero(s->fine)
          << "\npasso = " << numero(s->passo) << "\n";
        o << "origine = " << Elenco(s->origine, numero) << "\n";
        o << "deriva = " << Elenco(s->deriva, Citata) << "\n";
        if (!s->diffusione.empty())
            o << "diffusione = " << Elenco(s->diffusione, [](const auto& riga) {
                return Elenco(riga, Citata);
            }) << "\n";
    }
    if (const auto& m = ws.mappa) {
        o << "\n[mappa]\ndinamica = " << Citata(m->dinamica)
          << "\nderivata = " << Citata(m->derivata) << "\nseed = " << numero(m->seed) << "\n";
    }
    if (ws.parallelo.seme || ws.parallelo.thread) {
        o << "\n[parallelo]\n";
        if (ws.parallelo.seme)
            o << "seme = " << Citata(std::to_string(*ws.parallelo.seme)) << "\n";
        if (ws.parallelo.thread) o << "thread = " << *ws.parallelo.thread << "\n";
    }
    using T = TTipoFinestra;
    for (const TFinestraWs& f : ws.finestre) {
        o << "\n[[finestra]]\n";
        for (const auto& voce : nomiTipi)
            if (voce.tipo == f.tipo) o << "tipo = " << Citata(voce.nome) << "\n";
        o << "geometria = " << Elenco(f.geometria, intero) << "\n";
        o << "stato = " << Citata(nomiStati[static_cast<int>(f.stato)]) << "\n";
        if (f.tipo != T::Speranza) o << "estensione = " << Elenco(f.estensione, numero) << "\n";
        if (f.tipo == T::Traiettorie || f.tipo == T::Fasi)
            o << "componenti = " << Elenco(f.componenti, intero) << "\n";
        if (!f.funzioni.empty()) o << "funzioni = " << Elenco(f.funzioni, Citata) << "\n";
        if (f.tipo == T::Fasi) o << "tempi = " << Elenco(f.tempi, numero) << "\n";
        if (f.tipo == T::Speranza) {
            o << "funzione = " << Citata(f.funzione) << "\nistante = " << numero(f.istante)
              << "\ncontinuo = " << (f.continuo ? "true" : "false") << "\n";
            o << "campioni = { numero = " << f.campioni.numero
              << ", media = " << numero(f.campioni.media)
              << ", scarti2 = " << numero(f.campioni.scarti2) << " }\n";
        }
        if (f.tipo == T::Iterazioni || f.tipo == T::Iterata)
            o << "lambda = " << Elenco(f.lambda, numero) << "\n";
        if (f.tipo == T::Iterazioni)
            o << "seed = " << numero(f.seed) << "\nsalta = " << f.salta
              << "\niterazioni = " << f.iterazioni << "\n";
    }
    return o.str();
}
