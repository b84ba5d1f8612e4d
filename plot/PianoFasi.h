// TPianoFasi: a plane that draws the phase curve t -> (X(t), Y(t)) of two functions of time,
// from Inizio to Fine with step Passo, coloured from yellow at the start to red at the end.
#pragma once

#include <memory>

#include "core/base/Funzione.h"
#include "plot/PianoCartesiano.h"

class TPianoFasi : public TPianoCartesiano {
    Q_OBJECT
public:
    explicit TPianoFasi(QWidget* parent = nullptr);  // x and y from -10 to 10
    ~TPianoFasi() override;

    // The plane owns the functions it is given.
    void SetFunzioneX(std::unique_ptr<TFunzione> f);
    void SetFunzioneY(std::unique_ptr<TFunzione> f);
    TFunzione* FunzioneX() const { return funzioneX_.get(); }
    TFunzione* FunzioneY() const { return funzioneY_.get(); }
    // No check is made: a step that never reaches Fine draws until the repaint is cancelled.
    void SetTempi(Extended inizio, Extended fine, Extended passo);
    Extended Inizio() const { return inizio_; }
    Extended Fine() const { return fine_; }
    Extended Passo() const { return passo_; }
    // The rows t, X, Y at the times the drawing visits, up to its first failure.
    std::optional<TDatiPiano> Dati(const std::atomic<bool>& ferma) override;
    bool DatiDisponibili() const override { return true; }

protected:
    void PaintForeground(TRepaintThread& thread) override;

private:
    QPoint Punto(Extended t) const;

    std::unique_ptr<TFunzione> funzioneX_;
    std::unique_ptr<TFunzione> funzioneY_;
    Extended inizio_ = 0, fine_ = 0, passo_ = 0;
};
