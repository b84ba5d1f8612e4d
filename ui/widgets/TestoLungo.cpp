#include "ui/widgets/TestoLungo.h"

#include <limits>

#include <QLineEdit>

void AccettaTestoIntero(QLineEdit* edit) { edit->setMaxLength(std::numeric_limits<int>::max()); }
