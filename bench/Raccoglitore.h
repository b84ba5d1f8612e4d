// A console reporter that also keeps the CPU time per iteration of every benchmark by name
// (the median when repeated), so that a benchmark program can print ratios to its baseline.
// CPU time, because wall time on a shared machine includes other processes; wall time too,
// for work that other threads do.
#pragma once

#include <benchmark/benchmark.h>

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
    std::map<std::string, double> tempi;
    std::map<std::string, double> reali;
};
