// TMainForm: the program's multiple-document main window.
#pragma once

#include <QMainWindow>

class QMdiArea;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);

    QMdiArea* Area() const { return area_; }

private:
    QMdiArea* area_;
};
