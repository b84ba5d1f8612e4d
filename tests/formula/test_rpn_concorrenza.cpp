// Many threads evaluate one compiler while one of them resets it with a count error.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "core/formula/RPNCompiler.h"

namespace {

TEST(Concorrenza, CountErrorDuringEvaluationsIsSafeAndFinal) {
    TRPNCompiler c;
    c.SetText("x0*x1*(1-x1)+sin(x1)*0");
    const std::vector<Extended> valori = {2, 0.25L};
    const Extended atteso = 2 * 0.25L * 0.75L;
    const Extended10 packed[2] = {2, 0.25L};
    std::atomic<int> avviati{0}, errati{0};
    std::atomic<bool> via{false};

    std::vector<std::thread> lettori;
    for (int t = 0; t < 4; ++t)
        lettori.emplace_back([&, t] {
            ++avviati;
            for (long i = 0;; ++i) {
                try {
                    const Extended v = t % 2 ? c.Valuta(valori) : c.ValutaVettore(packed);
                    if (v != atteso) ++errati;
                    if (i == 1000) via = true;
                } catch (const RPNException& e) {
                    if (std::string(e.what()) != "RPN Compiler not initialized!") ++errati;
                    return;
                }
            }
        });
    while (!via) std::this_thread::yield();
    const std::vector<Extended> uno = {2};
    EXPECT_THROW(c.Valuta(uno), RPNException);
    for (auto& t : lettori) t.join();

    EXPECT_EQ(avviati, 4);
    EXPECT_EQ(errati, 0);
    EXPECT_EQ(c.Text(), "");
    EXPECT_THROW(c.ValutaVettore(packed), RPNException);
    c.SetText("x1+1");  // frees the retired code; the compiler is usable again
    EXPECT_EQ(c.Valuta(valori), 1.25L);
}

// Count errors raised by several threads at once retire the compiled code exactly once.
TEST(Concorrenza, SimultaneousCountErrors) {
    TRPNCompiler c;
    for (int giro = 0; giro < 50; ++giro) {
        c.SetText(giro % 2 ? "x3" : "x3+0");
        std::vector<std::thread> th;
        std::atomic<int> messaggiGiusti{0};
        for (int t = 0; t < 4; ++t)
            th.emplace_back([&] {
                const std::vector<Extended> due = {1, 2};
                try {
                    c.Valuta(due);
                } catch (const RPNException& e) {
                    const std::string m = e.what();
                    if (m == "Too few arguments!" || m == "RPN Compiler not initialized!")
                        ++messaggiGiusti;
                }
            });
        for (auto& t : th) t.join();
        EXPECT_EQ(messaggiGiusti, 4);
        EXPECT_EQ(c.Text(), "");
    }
}

}  // namespace
