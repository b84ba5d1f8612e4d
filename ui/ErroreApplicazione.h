// The application's default error report: the message of an exception that ends a command,
// shown in an error box titled with the application's name.
#pragma once

#include <functional>

class QWidget;

// The program's title, also the caption of the error boxes of commands.
inline constexpr const char* TitoloApplicazione = "Risolutore numerico di sistemi dinamici";

// Runs a command; an exception ends it and is shown in the error box. The message gets a
// final "." when it has none.
void EseguiComando(QWidget* parent, const std::function<void()>& comando);
