// TWorkspace: everything a user has set up, as plain data: the system, the map, the open
// windows, the separator and the parallel command's last choices. Read from and written to a
// workspace file (WorkspaceToml.h); built into live objects by CostruisciWorkspace.h.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/base/Exception.h"
#include "core/base/Extended.h"

// The schema this program writes; it opens files of this version and older.
inline constexpr int VersioneWorkspace = 1;

// The integration scheme of a system, as the creation commands name it.
enum class TSchema { Eulero05, Milstein10, Uni15, Debole10, RungeKutta5, Implicito10 };

struct TSistemaWs {
    TSchema schema = TSchema::Eulero05;
    int dimensione = 1;
    int moti = 1;  // full-diffusion schemes; 1 for the diagonal ones, 0 for the deterministic
    Extended inizio = 0, fine = 1, passo = 0.01L;
    std::vector<Extended> origine;    // one per component
    std::vector<std::string> deriva;  // one per component
    // Row k: the diffusion formulas of component k (moti cells, or 1 on the diagonal).
    std::vector<std::vector<std::string>> diffusione;
    bool operator==(const TSistemaWs&) const = default;
};

struct TMappaWs {
    std::string dinamica;  // f(x0 = lambda, x1 = x)
    std::string derivata;
    Extended seed = 0.321L;
    bool operator==(const TMappaWs&) const = default;
};

// A statistics window's sample: count, mean and sum of squared deviations from the mean.
struct TCampioni {
    std::int64_t numero = 0;
    Extended media = 0;
    Extended scarti2 = 0;
    bool operator==(const TCampioni&) const = default;
};

enum class TTipoFinestra {
    Traiettorie,  // components and functions of a system against time
    Fasi,         // two components against each other
    Speranza,     // statistics of a function at an instant
    Piano,        // the free "Piano Cartesiano"
    Diagramma,    // the map's bifurcation diagram
    Lyapunov,     // the map's Lyapunov exponent
    Iterazioni,   // the cobweb
    Iterata,      // the iterate's graph
};

enum class TStatoFinestra { Normale, Minimizzata, Massimizzata };

// One window; the fields a kind does not use keep their defaults.
struct TFinestraWs {
    TTipoFinestra tipo = TTipoFinestra::Piano;
    std::array<int, 4> geometria{0, 0, 435, 300};  // x, y, width, height in the frame
    TStatoFinestra stato = TStatoFinestra::Normale;
    std::array<Extended, 4> estensione{0, 10, -10, 20};  // MinX, DX, MinY, DY
    std::vector<int> componenti;                         // trajectory: any; phase: x and y
    std::vector<std::string> funzioni;            // formulas of x0 added with "&Aggiungi..."
    std::array<Extended, 3> tempi{0, 10, 0.01L};  // phase sweep: start, end, step
    std::string funzione;                         // statistics: the function of x0 ... xn
    Extended istante = 0;
    TCampioni campioni;
    bool continuo = true;
    std::array<Extended, 3> lambda{0, 0, 4};  // map windows' slider: minimum, value, maximum
    Extended seed = 0.321L;                   // cobweb
    int salta = 0;
    int iterazioni = 100;
    bool operator==(const TFinestraWs&) const = default;
};

// The parallel command's last choices; absent until it has run.
struct TParalleloWs {
    std::optional<std::uint64_t> seme;
    std::optional<int> thread;
    bool operator==(const TParalleloWs&) const = default;
};

struct TWorkspace {
    char separatore = '.';
    std::optional<TSistemaWs> sistema;
    std::optional<TMappaWs> mappa;
    std::vector<TFinestraWs> finestre;
    TParalleloWs parallelo;
    bool operator==(const TWorkspace&) const = default;
};

// The line of each field in the file it was read from, by field path
// ("sistema.deriva[2]", "finestra[3].funzione"; indices 1-based), for error reports.
using TRighe = std::map<std::string, int>;

// A file that cannot become a workspace; the message names the file, line and field.
class EWorkspace : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EWorkspace"; }
};
