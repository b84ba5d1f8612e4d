// TComune: the base of every window bound to a system. As paths complete the system calls
// SistemaAggiornato; Registrazione is the window's entry in the system's listener list.
#pragma once

#include <functional>

#include <QWidget>

#include "core/system/Sistema.h"

class TComune : public QWidget {
    Q_OBJECT
public:
    explicit TComune(QWidget* parent = nullptr);

    TSistema::TNotifica* Registrazione() const { return registrazione_; }
    void SetRegistrazione(TSistema::TNotifica* handle) { registrazione_ = handle; }
    // Called in the main thread with the system as sender: during a run at most about 30
    // times a second, and once at its end with the final state.
    virtual void SistemaAggiornato(TSistema& sender) = 0;
    // Runs when the user closes the window, before it is freed; the main window sets it
    // when it binds the window to its system.
    void SetOnChiusura(std::function<void(TComune&)> handler) { onChiusura_ = std::move(handler); }

protected:
    void closeEvent(QCloseEvent* event) override;
    // Ends the window's registration (the closing handler) if it still has one. A window
    // observed by the run's worker calls it in its own destructor, before its state goes.
    void Scollega();

private:
    TSistema::TNotifica* registrazione_ = nullptr;
    std::function<void(TComune&)> onChiusura_;
};
