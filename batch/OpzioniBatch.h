// The command line of vantor-batch:
//   vantor-batch FILE [--paths N] [--threads T] [--seed S] [--out stats.csv]
//                     [--at t1,t2,...] [--values values.csv]
// read into plain values; a bad option raises EOpzioni naming it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/base/Exception.h"
#include "core/base/Extended.h"

struct TOpzioniBatch {
    std::string file;
    std::uint64_t percorsi = 1000;
    std::optional<int> thread;          // the machine's cores when absent
    std::optional<std::uint64_t> seme;  // the file's last seed, else 0, when absent
    std::string statistiche;            // --out; standard output when empty
    std::vector<Extended> istanti;      // --at
    std::string valori;                 // --values; none when empty
    bool aiuto = false;                 // --help: print the usage, nothing else
};

class EOpzioni : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EOpzioni"; }
};

// The arguments after the program's name. Options take their value as the next argument or
// after "=" (--paths=1000).
TOpzioniBatch LeggiOpzioni(std::span<const std::string> argomenti);

extern const char* const UsoBatch;
