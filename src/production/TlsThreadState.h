#pragma once

// Frees what the TLS library under PostgreSQL's client keeps for the calling thread. Qt's
// threads are detached: their exit hooks may run after QThread::wait has returned, while the
// process, leaving main, is already tearing that library down; the hook then frees the
// thread's state a second time. A thread that may have talked to a server calls this as its
// last step. Nothing happens where the library was never loaded.
void ReleaseTlsThreadState();
