#include "ui/dialogs/URicalcoloParallelo.h"

#include <chrono>
#include <thread>

#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

#include "ui/dialogs/PulsantiDialogo.h"

namespace {

int Nuclei() { return static_cast<int>(std::max(1u, std::thread::hardware_concurrency())); }

}  // namespace

TRicalcoloParallelo::TRicalcoloParallelo(QWidget* parent)
    : QDialog(parent), percorsi_(new QLineEdit("1000", this)),
      thread_(new QLineEdit(QString::number(Nuclei()), this)), seme_(new QLineEdit(this)) {
    setObjectName("RicalcoloParallelo");
    setWindowTitle("Ricalcolo parallelo");
    const auto orologio = std::chrono::system_clock::now().time_since_epoch();
    seme_->setText(QString::number(static_cast<quint64>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(orologio).count())));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(CreaRighe({{"Percorsi", percorsi_}, {"Thread", thread_}, {"Seme", seme_}}));
    layout->addLayout(CreaPulsantiOkCancel(this));
    seme_->setMinimumWidth(220);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::optional<TParametriParalleli> TRicalcoloParallelo::Leggi(const QString& percorsi,
                                                              const QString& thread,
                                                              const QString& seme,
                                                              QString& errore) {
    TParametriParalleli p;
    bool ok = false;
    p.percorsi = percorsi.trimmed().toInt(&ok);
    if (!ok || p.percorsi < 0) {
        errore = "Il numero di percorsi deve essere un intero da 0 a 2147483647!";
        return std::nullopt;
    }
    const int massimo = 4 * Nuclei();
    p.numThread = thread.trimmed().toInt(&ok);
    if (!ok || p.numThread < 1 || p.numThread > massimo) {
        errore = QString("Il numero di thread deve essere un intero da 1 a %1!").arg(massimo);
        return std::nullopt;
    }
    p.seme = seme.trimmed().toULongLong(&ok);
    if (!ok || seme.trimmed().startsWith('-') || seme.trimmed().startsWith('+')) {
        errore = "Il seme deve essere un intero da 0 a 18446744073709551615!";
        return std::nullopt;
    }
    return p;
}

void TRicalcoloParallelo::accept() {
    QString errore;
    const std::optional<TParametriParalleli> p =
        Leggi(percorsi_->text(), thread_->text(), seme_->text(), errore);
    if (!p) {
        QMessageBox::warning(this, windowTitle(), errore);
        return;
    }
    parametri_ = *p;
    QDialog::accept();
}
