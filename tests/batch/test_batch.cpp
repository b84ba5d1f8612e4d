// vantor-batch: its options, the split of the paths between processes, and the program run
// as a user runs it: the same CSV bytes for any thread count and under mpirun, a mean from
// theory, and bad files refused with status 2 and their place.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "batch/EsecuzioneBatch.h"
#include "batch/OpzioniBatch.h"

namespace {

namespace fs = std::filesystem;

TEST(OpzioniBatch, ReadsEveryOptionInBothForms) {
    const std::vector<std::string> a = {"w.toml",   "--paths=5000", "--threads", "3",
                                        "--seed",   "18446744073709551615",    "--out", "s.csv",
                                        "--at=0.5,1", "--values", "v.csv"};
    const TOpzioniBatch o = LeggiOpzioni(a);
    EXPECT_EQ(o.file, "w.toml");
    EXPECT_EQ(o.percorsi, 5000u);
    EXPECT_EQ(o.thread, 3);
    EXPECT_EQ(o.seme, 18446744073709551615u);
    EXPECT_EQ(o.statistiche, "s.csv");
    EXPECT_EQ(o.istanti, (std::vector<Extended>{0.5L, 1}));
    EXPECT_EQ(o.valori, "v.csv");
}

TEST(OpzioniBatch, RefusesBadInputNamingTheOption) {
    const struct {
        std::vector<std::string> argomenti;
        const char* messaggio;
    } casi[] = {
        {{}, "manca il FILE"},
        {{"a.toml", "b.toml"}, "un solo FILE"},
        {{"a.toml", "--paths", "0"}, "--paths: atteso un intero da 1"},
        {{"a.toml", "--paths", "12x"}, "--paths: atteso"},
        {{"a.toml", "--threads", "-1"}, "--threads: atteso"},
        {{"a.toml", "--seed", "18446744073709551616"}, "--seed: atteso"},
        {{"a.toml", "--at", "0.5,,1"}, "--at: \"\" non e' un istante"},
        {{"a.toml", "--out"}, "--out: manca il valore"},
        {{"a.toml", "--out="}, "--out: manca il valore"},
        {{"a.toml", "--path", "5"}, "opzione sconosciuta: --path"},
    };
    for (const auto& c : casi) {
        try {
            LeggiOpzioni(c.argomenti);
            ADD_FAILURE() << c.messaggio;
        } catch (const EOpzioni& e) {
            EXPECT_NE(std::string(e.what()).find(c.messaggio), std::string::npos) << e.what();
        }
    }
}

// The shares of the processes cover every path once, in rank order, in whole blocks.
TEST(QuotaBatch, SharesAreContiguousWholeBlocks) {
    for (std::uint64_t n : {1u, 1024u, 1025u, 5000u, 100000u})
        for (int p : {1, 2, 3, 7}) {
            std::uint64_t atteso = 0;
            for (int r = 0; r < p; ++r) {
                const TQuota q = QuotaDi(n, r, p);
                EXPECT_EQ(q.primo, atteso);
                EXPECT_EQ(q.primo % 1024, 0u);
                EXPECT_TRUE(q.fine % 1024 == 0 || q.fine == n);
                atteso = q.fine;
            }
            EXPECT_EQ(atteso, n) << n << " paths, " << p << " processes";
        }
}

// Geometric Brownian motion, mu = 0.1, sigma = 0.2: E[X(1)] = e^0.1.
const std::string Gbm = [] {
    std::stringstream s;
    s << std::ifstream(VANTOR_GBM).rdbuf();
    return s.str();
}();

class ProgrammaBatch : public ::testing::Test {
protected:
    fs::path cartella_ = fs::temp_directory_path() / ("test_batch_" + std::to_string(getpid()));

    void SetUp() override { fs::create_directories(cartella_); }
    void TearDown() override { fs::remove_all(cartella_); }

    fs::path File(const std::string& nome, const std::string& testo) {
        std::ofstream(cartella_ / nome) << testo;
        return cartella_ / nome;
    }
    static std::string Leggi(const fs::path& p) {
        std::stringstream s;
        s << std::ifstream(p).rdbuf();
        return s.str();
    }
    // The exit status; the standard error in errore.
    int Esegui(const std::string& argomenti, std::string& errore,
               const std::string& prima = "") {
        const fs::path e = cartella_ / "errore.txt";
        const std::string comando = prima + " '" VANTOR_BATCH "' " + argomenti + " 2>'" +
                                    e.string() + "' >/dev/null";
        const int stato = std::system(comando.c_str());
        errore = Leggi(e);
        return WIFEXITED(stato) ? WEXITSTATUS(stato) : -1;
    }
};

TEST_F(ProgrammaBatch, SameBytesForAnyThreadsAndProcesses) {
    const fs::path w = File("gbm.toml", Gbm);
    std::vector<std::string> lanci = {"", ""};
    std::vector<std::string> thread = {"1", "2"};
#ifdef VANTOR_MPIRUN
    lanci.push_back(VANTOR_MPIRUN " -n 2 --oversubscribe --allow-run-as-root");
    thread.push_back("1");
#endif
    std::string riferimento, valori, errore;
    for (std::size_t i = 0; i < lanci.size(); ++i) {
        const std::string nome = std::to_string(i);
        ASSERT_EQ(Esegui(w.string() + " --paths 5000 --seed 9 --at 0.5 --threads " + thread[i] +
                             " --out " + (cartella_ / (nome + ".csv")).string() +
                             " --values " + (cartella_ / (nome + "v.csv")).string(),
                         errore, lanci[i]),
                  0)
            << lanci[i] << errore;
        if (lanci[i].empty()) {
            EXPECT_EQ(errore, "");  // no progress line off a terminal
        }
        const std::string csv = Leggi(cartella_ / (nome + ".csv"));
        const std::string v = Leggi(cartella_ / (nome + "v.csv"));
        if (i == 0) {
            riferimento = csv;
            valori = v;
        }
        EXPECT_EQ(csv, riferimento) << lanci[i] << " --threads " << thread[i];
        EXPECT_EQ(v, valori) << lanci[i] << " --threads " << thread[i];
    }
    // x1 at 1, then x1 at 0.5; the values file has a line per path.
    std::istringstream righe(riferimento);
    std::string riga;
    std::getline(righe, riga);
    std::getline(righe, riga);
    long double media = 0, varianza = 0, errStd = 0;
    std::sscanf(riga.c_str(), "x1,1,5000,%Lf,%Lf,%Lf", &media, &varianza, &errStd);
    EXPECT_LT(std::fabs(media - std::exp(0.1L)), 4 * errStd) << riga;
    EXPECT_LT(errStd, 0.01L);
    EXPECT_EQ(std::count(valori.begin(), valori.end(), '\n'), 5001);
}

TEST_F(ProgrammaBatch, BadFilesExitTwoNamingThePlace) {
    std::string errore;
    const struct {
        std::string testo;
        std::string argomenti;
        std::string messaggio;
    } casi[] = {
        {"versione = 1\nseparatore = \n", "", "w.toml:2"},
        {"versione = 1\n", "", "non ha un [sistema]"},
        {std::string(Gbm) + "x = 1\n", "", "w.toml:"},
        {std::string(Gbm).replace(std::string(Gbm).find("funzione = \"x1\""), 15,
                                  "funzione = \"x1+\""),
         "", "finestra[1].funzione"},
        {std::string(Gbm).replace(std::string(Gbm).find("istante = \"1\""), 13,
                                  "istante = \"2\""),
         "", "w.toml:17: finestra[1].istante: fuori da [0, 1]"},
        {Gbm, "--at 1.5", "--at: 1.5 fuori da [0, 1]"},
        {Gbm, "--threads 0", "--threads: atteso"},
    };
    for (const auto& c : casi) {
        const fs::path w = File("w.toml", c.testo);
        EXPECT_EQ(Esegui(w.string() + " " + c.argomenti, errore), 2) << c.messaggio;
        EXPECT_NE(errore.find(c.messaggio), std::string::npos) << errore;
    }
    EXPECT_EQ(Esegui((cartella_ / "assente.toml").string(), errore), 2);
    EXPECT_NE(errore.find("assente.toml"), std::string::npos) << errore;
}

}  // namespace
