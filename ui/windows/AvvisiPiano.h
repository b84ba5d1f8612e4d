// Why a plot stays empty, in the user's words: a system's time grid, the phase window's sweep
// and the cobweb's count are taken as typed, so the command that takes them says what the
// plots will draw.
#pragma once

#include <QString>

#include "core/base/Extended.h"

// Empty when a path on the grid from inizio to fine by passo can be drawn against time;
// otherwise what the plots will show.
QString AvvisoGriglia(Extended inizio, Extended fine, Extended passo);

// Empty when the sweep from inizio to fine by passo draws a curve; otherwise the reason.
QString AvvisoTempi(Extended inizio, Extended fine, Extended passo);

// Empty when the cobweb draws its steps; otherwise the reason.
QString AvvisoIterazioni(int iterazioni);
