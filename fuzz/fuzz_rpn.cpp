// Any text: compile it, evaluate it on 26 values both ways. Only the compiler's own errors
// may escape; anything else (a crash, a sanitizer report, another exception) is a finding.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/formula/RPNCompiler.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TRPNCompiler compilatore;
    static const Extended kValori[26] = {0,   1,    -1,  0.5L, 2,    -3,   1e10L, -1e-10L, 7,
                                         100, -100, 3,   4,    5,    6,    7,     8,       9,
                                         10,  11,   1e4, -2.5, 1e30, 0.25, 12,    13};
    Extended10 vettore[26];
    for (int i = 0; i < 26; ++i) vettore[i] = kValori[i];
    const std::string testo(reinterpret_cast<const char*>(data), size);
    try {
        compilatore.SetText(testo);
        compilatore.ValutaVettore(vettore);
        compilatore.Valuta(kValori);
    } catch (const ERangeError&) {
    } catch (const RPNException&) {
    }
    return 0;
}
