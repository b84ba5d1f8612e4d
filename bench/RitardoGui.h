// The largest lateness of a 10 ms timer in the GUI thread while the object lives: how long the
// event loop was kept from its other work, in ms.
#pragma once

#include <algorithm>

#include <QElapsedTimer>
#include <QTimer>

class TRitardoGui {
public:
    TRitardoGui() {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            peggiore_ = std::max(peggiore_, orologio_.nsecsElapsed() / 1e6 - 10);
            orologio_.restart();
        });
        orologio_.start();
        timer_.start(10);
    }
    double Peggiore() const { return peggiore_; }

private:
    QTimer timer_;
    QElapsedTimer orologio_;
    double peggiore_ = 0;
};
