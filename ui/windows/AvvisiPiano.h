// Why a plot stays empty, in the user's words: the phase window's time sweep and the cobweb's
// count are taken as typed, so the command that takes them says what they will draw.
#pragma once

#include <QString>

#include "core/base/Extended.h"

// Empty when the sweep from inizio to fine by passo draws a curve; otherwise the reason.
QString AvvisoTempi(Extended inizio, Extended fine, Extended passo);

// Empty when the cobweb draws its steps; otherwise the reason.
QString AvvisoIterazioni(int iterazioni);
