// TFinestreAffidate: the child windows that belong to an object of the core (the system, the
// map engine). They read it, so they are freed with it and before it.
#pragma once

#include <utility>

#include <QList>
#include <QMdiSubWindow>
#include <QPointer>

class TFinestreAffidate {
public:
    void Aggiungi(QMdiSubWindow* finestra) { finestre_ << QPointer<QMdiSubWindow>(finestra); }
    bool Contiene(QMdiSubWindow* finestra) const { return finestre_.contains(finestra); }
    // Frees every window the user has not closed yet.
    void Libera() {
        for (const QPointer<QMdiSubWindow>& finestra : std::exchange(finestre_, {}))
            delete finestra.data();
    }

private:
    QList<QPointer<QMdiSubWindow>> finestre_;
};
