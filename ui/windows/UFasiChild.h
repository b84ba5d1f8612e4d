// TFasiChild: a window whose plane draws the phase curve of two components of a system.
#pragma once

#include "plot/PianoFasi.h"
#include "ui/windows/UComunePiano.h"

class TFasiChild : public TComunePiano {
    Q_OBJECT
public:
    explicit TFasiChild(QWidget* parent = nullptr);
    TPianoFasi* PianoFasi1() const { return piano_; }

private:
    TPianoFasi* piano_;
};
