// What the benchmarks that drive the main window share: waiting for a run's end and opening a
// system window bound to the current system.
#pragma once

#include <QAction>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "ui/frame/Main.h"
#include "ui/windows/UComune.h"

// Serves events until the run has ended: "Eulero 0.5..." is enabled again only then.
inline void Attendi(TMainForm& main) {
    auto* eulero = main.findChild<QAction*>("Eulero05");
    while (!eulero->isEnabled()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

inline void Collega(TMainForm& main, TComune* finestra) {
    QMdiSubWindow* sotto = main.Area()->addSubWindow(finestra);
    sotto->resize(435, 300);
    sotto->show();
    main.AffidaFinestraAlSistema(sotto);
    main.CollegaFinestra(finestra);
}
