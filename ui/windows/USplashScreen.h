// TSplashScreen: the window shown once at start, with the logistic map's bifurcation diagram
// drawn by the map engine; it closes itself after three seconds or at a click on the picture.
#pragma once

#include <memory>

#include <QDialog>

class QTimer;
class TBifurcation;
class TPianoTraiettorie;

class TSplashScreen : public QDialog {
    Q_OBJECT
public:
    static constexpr int Lato = 321;
    static constexpr int Durata = 3000;

    explicit TSplashScreen(QWidget* parent = nullptr);
    ~TSplashScreen() override;

    TPianoTraiettorie* Image1() const { return image1_; }
    QTimer* Timer1() const { return timer1_; }

    void Timer1Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<TBifurcation> motore_;  // read by the picture's repaint thread
    TPianoTraiettorie* image1_;
    QTimer* timer1_;
};
