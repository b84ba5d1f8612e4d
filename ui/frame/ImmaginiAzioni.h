// The images of the main window's three actions and of the plot windows' mouse tools, drawn
// at start instead of read from files; and the program's own icon, built into it.
#pragma once

#include <QIcon>

enum class TImmagineAzione { Ricalcola = 0, NuovoSistema = 1, Interrompi = 2 };

QIcon ImmagineAzione(TImmagineAzione immagine);

enum class TImmagineStrumento { Move = 0, ZoomInverso = 1, Zoom = 2, Nessuno = 3 };

QIcon ImmagineStrumento(TImmagineStrumento immagine);

// The icon of the desktop entry, which every window of the program shows.
QIcon IconaProgramma();
