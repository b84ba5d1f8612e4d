// The images of the main window's three actions, drawn at start instead of read from files.
#pragma once

#include <QIcon>

enum class TImmagineAzione { Ricalcola = 0, NuovoSistema = 1, Interrompi = 2 };

QIcon ImmagineAzione(TImmagineAzione immagine);
