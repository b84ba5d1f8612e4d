// How a command shows the exception that ends it: its message alone, as a sentence, in an
// error box captioned with the application's title.
#pragma once

#include <functional>

class QWidget;

// The program's title, also the caption of the error boxes of commands.
inline constexpr const char* TitoloApplicazione = "Risolutore numerico di sistemi dinamici";

// Runs a command; an exception ends it and its message is shown.
void EseguiComando(QWidget* parent, const std::function<void()>& comando);
