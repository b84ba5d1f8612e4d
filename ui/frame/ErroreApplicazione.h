// The two ways a command shows the exception that ends it, in an error box titled with the
// application's name: its message (the default error box), or the whole exception report.
#pragma once

#include <functional>

class QWidget;

// The program's title, also the caption of the error boxes of commands.
inline constexpr const char* TitoloApplicazione = "Risolutore numerico di sistemi dinamici";

// Runs a command; an exception ends it and its message, as a sentence, is shown.
void EseguiComando(QWidget* parent, const std::function<void()>& comando);

// Runs a command; an exception ends it and its report ("Exception <class> in module ... at
// ...") is shown.
void EseguiConRapporto(QWidget* parent, const std::function<void()>& comando);
