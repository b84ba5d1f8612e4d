#include "ui/frame/ErroreApplicazione.h"

#include <string>

#include <QMessageBox>

#include "core/base/Exception.h"

void EseguiComando(QWidget* parent, const std::function<void()>& comando) {
    std::string messaggio;
    try {
        comando();
        return;
    } catch (const std::exception& e) {
        messaggio = Frase(e.what());
    } catch (...) {
        messaggio = "Errore sconosciuto.";
    }
    QMessageBox::critical(parent, TitoloApplicazione, QString::fromStdString(messaggio));
}
