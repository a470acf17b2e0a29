#pragma once

#include <QLockFile>
#include <QString>
#include <mutex>

// The lock every change of a bench's small number files takes (the serial file, a serial
// reserve): a lock file beside the file, which also works between processes, and one mutex
// for the threads of this process, which queue on it instead of polling the lock file. A link
// or a folder in the lock file's place is refused at once rather than waited on.
class BenchFileLock
{
public:
    explicit BenchFileLock(const QString &path);

    // Makes the folder and takes the lock; false with the reason in `error`.
    bool Acquire(QString &error);

private:
    std::unique_lock<std::mutex> m_processLock;
    QString m_path;
    QLockFile m_file;
};
