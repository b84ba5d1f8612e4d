// The statistics window's accumulator as a workspace stores it (count, mean and the sum of
// squared deviations), and back.
#pragma once

#include "core/stats/Distribuzione.h"
#include "core/workspace/Workspace.h"

TCampioni CampioniDi(const TDistribuzione& d);
// "Range check error" for a count beyond the accumulator's.
TDistribuzione DistribuzioneDa(const TCampioni& c);
