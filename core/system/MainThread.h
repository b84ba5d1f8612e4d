// How the core hands work to the program's main thread without knowing the GUI toolkit.
#pragma once

#include <functional>

// Implemented by the Qt shell (a queued call into the GUI thread) and, in tests, by a simple
// message pump. The recalculation thread builds its blocking "run in the main thread and
// wait" on top of Accoda, so that a run being torn down can be cancelled while it waits.
class IThreadPrincipale {
public:
    virtual ~IThreadPrincipale() = default;
    // Queues work to run later in the main thread, in order; returns at once. Callable from
    // any thread.
    virtual void Accoda(std::function<void()> work) = 0;
};
