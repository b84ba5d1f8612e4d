#include "ui/widgets/BarraLambda.h"

#include <cmath>

#include <QInputDialog>
#include <QMenu>

#include "core/base/Conversioni.h"
#include "core/base/Exception.h"
#include "ui/frame/ErroreApplicazione.h"

TBarraLambda::TBarraLambda(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setObjectName("TrackBar1");
    setRange(0, 4000);
    setValue(0);
    setTickInterval(200);
    setTickPosition(QSlider::TicksBelow);
    setFixedHeight(45);
    setContextMenuPolicy(Qt::CustomContextMenu);
    auto* menu = new QMenu(this);
    menu->setObjectName("PopupMenu1");
    menu->addAction("&Minimo...", this, &TBarraLambda::Minimo1Click)->setObjectName("Minimo1");
    menu->addAction("M&assimo...", this, &TBarraLambda::Massimo1Click)->setObjectName("Massimo1");
    connect(this, &QWidget::customContextMenuRequested, this,
            [this, menu](const QPoint& p) { menu->popup(mapToGlobal(p)); });
    // The hint stays empty until the first change.
    connect(this, &QSlider::valueChanged, this, [this] {
        const QString testo = QString::fromStdString("Lambda: " + FormatoFisso(Lambda(), 7, 3));
        setToolTip(testo);
        setStatusTip(testo);
        if (onChange_) onChange_(Lambda());
    });
}

void TBarraLambda::Minimo1Click() { ChiediLimite(true); }
void TBarraLambda::Massimo1Click() { ChiediLimite(false); }

void TBarraLambda::ChiediLimite(bool minimo) {
    const int attuale = minimo ? minimum() : maximum();
    bool ok = false;
    const QString testo = QInputDialog::getText(
        this, "Parametro della biforcazione", minimo ? "Valore minimo" : "Valore massimo",
        QLineEdit::Normal, QString::fromStdString(FloatToStr(attuale / 1000.0L)), &ok);
    if (!ok) return;
    EseguiComando(this, [&] {
        const Extended posizione = std::nearbyint(StrToFloat(testo.toStdString()) * 1000);
        if (!(std::fabs(posizione) <= 1e9L)) throw ERangeError();
        if (minimo)
            setMinimum(static_cast<int>(posizione));  // the maximum follows when lower
        else
            setMaximum(static_cast<int>(posizione));
        setTickInterval((maximum() - minimum()) / 20);
    });
}
