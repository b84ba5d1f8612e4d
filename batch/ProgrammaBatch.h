// The whole of vantor-batch once its processes are set up: options, the file, the run, the
// CSV files. Exit status 0 when every path was computed, 2 for a bad option or file (with a
// message naming it), 130 when stopped by ferma (the figures gathered are still written,
// marked incomplete), 1 for an error during the run.
#pragma once

#include <atomic>
#include <span>
#include <string>

#include "batch/Processi.h"

int ProgrammaBatch(std::span<const std::string> argomenti, IProcessi& processi,
                   const std::atomic<bool>& ferma);
