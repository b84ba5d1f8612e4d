// The program's main thread as the core sees it: work queued from any thread runs, in order,
// in the GUI thread's event loop.
#pragma once

#include <QObject>

#include "core/system/MainThread.h"

class TThreadPrincipaleQt : public QObject, public IThreadPrincipale {
    Q_OBJECT
public:
    // Must be created in the GUI thread; work still queued when it is destroyed is dropped.
    explicit TThreadPrincipaleQt(QObject* parent = nullptr) : QObject(parent) {}
    void Accoda(std::function<void()> work) override;
};
