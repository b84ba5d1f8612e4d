#include "ui/windows/USplashScreen.h"

#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "core/discrete/Bifurcation.h"
#include "plot/PianoTraiettorie.h"

TSplashScreen::TSplashScreen(QWidget* parent)
    : QDialog(parent), motore_(std::make_unique<TBifurcation>()),
      image1_(new TPianoTraiettorie), timer1_(new QTimer(this)) {
    setObjectName("SplashScreen");
    setWindowTitle("Vantor");
    setWindowFlag(Qt::FramelessWindowHint);  // a picture, not a window to move or close
    // The logistic map from its first period doubling to full chaos.
    motore_->Dinamica().SetText("x0*x1*(1-x1)");
    image1_->setObjectName("Image1");
    image1_->SetMinX(2.8L);
    image1_->SetDX(1.2L);
    image1_->SetMinY(0);
    image1_->SetDY(1);
    image1_->AddMultiFunzione(motore_->CreaBiforcazione());
    image1_->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(image1_);
    setFixedSize(Lato, Lato);

    timer1_->setObjectName("Timer1");
    timer1_->setSingleShot(true);
    timer1_->setInterval(Durata);
    connect(timer1_, &QTimer::timeout, this, &TSplashScreen::Timer1Timer);
}

TSplashScreen::~TSplashScreen() {
    // The picture's repaint thread reads the engine, which goes before the picture does.
    image1_->StopRepaint();
}

void TSplashScreen::Timer1Timer() { close(); }

void TSplashScreen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    timer1_->start();
}

void TSplashScreen::hideEvent(QHideEvent* event) {
    // However the window closes, its timer must not fire afterwards.
    timer1_->stop();
    QDialog::hideEvent(event);
}

bool TSplashScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == image1_ && event->type() == QEvent::MouseButtonPress) {
        Timer1Timer();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
