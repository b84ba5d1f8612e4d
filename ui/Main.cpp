#include "ui/Main.h"

#include <QMdiArea>

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent), area_(new QMdiArea(this)) {
    setObjectName("MainForm");
    setWindowTitle("Sistemi Dinamici");
    area_->setObjectName("Area");
    setCentralWidget(area_);
    resize(800, 600);
}
