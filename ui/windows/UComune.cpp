#include "ui/windows/UComune.h"

#include <QCloseEvent>

// The sub-window that shows it is freed, with this window, when closed.
TComune::TComune(QWidget* parent) : QWidget(parent) {}

void TComune::closeEvent(QCloseEvent* event) {
    if (onChiusura_) onChiusura_(*this);
    QWidget::closeEvent(event);
}

void TComune::Scollega() {
    if (registrazione_ && onChiusura_) onChiusura_(*this);
}
