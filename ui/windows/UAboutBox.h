// TAboutBox: the program's description and the version information of an executable file,
// read once when the box is made; "&About" shows it modally and OK hides it again.
#pragma once

#include <string>

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    // The program's own file by default; tests point it at other files.
    explicit TAboutBox(QWidget* parent = nullptr,
                       const std::string& eseguibile = "/proc/self/exe");

    QLabel* ProductName() const { return productName_; }
    QPushButton* OKButton() const { return okButton_; }
    // Key and value columns, one row per version key the file holds.
    QTableWidget* VersionInfo() const { return versionInfo_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* productName_;
    QPushButton* okButton_;
    QTableWidget* versionInfo_;
};
