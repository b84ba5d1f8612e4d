#include "ui/frame/ThreadPrincipaleQt.h"

#include <utility>

void TThreadPrincipaleQt::Accoda(std::function<void()> work) {
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}
