#include "ui/windows/UFasiChild.h"

TFasiChild::TFasiChild(QWidget* parent) : TComunePiano(parent), piano_(new TPianoFasi(this)) {
    setWindowTitle("Piano delle fasi");
    piano_->setObjectName("PianoFasi1");
    SetPiano(piano_);  // the plane's own extent: -10 to 10 on both axes
}
