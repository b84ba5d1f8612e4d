// A console reporter that also keeps the CPU time per iteration of every benchmark by name
// (the median when repeated), so that a benchmark program can print ratios to its baseline.
// CPU time, because wall time on a shared machine includes other processes; wall time too,
// for work that other threads do.
#pragma once

#include <benchmark/benchmark.h>

#include <limits>
#include <map>
#include <string>
#include <vector>

class Raccoglitore : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration || r.aggregate_name == "median") {
                tempi[r.run_name.str()] = r.GetAdjustedCPUTime();
                reali[r.run_name.str()] = r.GetAdjustedRealTime();
            }
    }
    // The median when the run was repeated (--benchmark_repetitions), else the one run; NaN
    // for a benchmark that did not run.
    double Tempo(const std::string& nome) const {
        for (const std::string& chiave : {nome + "_median", nome})
            if (auto t = tempi.find(chiave); t != tempi.end()) return t->second;
        return std::numeric_limits<double>::quiet_NaN();
    }
    std::map<std::string, double> tempi;
    std::map<std::string, double> reali;
};
