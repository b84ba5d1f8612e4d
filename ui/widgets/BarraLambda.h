// TBarraLambda: the parameter slider of the iteration windows. Position p stands for
// lambda = p / 1000; its popup menu changes the range with "&Minimo..." and "M&assimo...".
#pragma once

#include <functional>

#include <QSlider>

#include "core/base/Extended.h"

class TBarraLambda : public QSlider {
    Q_OBJECT
public:
    explicit TBarraLambda(QWidget* parent = nullptr);

    // After each change of position, with the hint updated.
    void SetOnChange(std::function<void(Extended lambda)> handler) {
        onChange_ = std::move(handler);
    }

    Extended Lambda() const { return value() / 1000.0L; }

    // Ask for the lowest or highest lambda; the ticks then divide the range in 20.
    void Minimo1Click();
    void Massimo1Click();

private:
    void ChiediLimite(bool minimo);

    std::function<void(Extended)> onChange_;
};
