#include "production/BenchFileLock.h"

#include "fileio/PlainFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Another run holds the lock only while it reads and replaces a few bytes.
constexpr int kLockTimeoutMs = 10000;

std::mutex g_processLock;

} // namespace

BenchFileLock::BenchFileLock(const QString &path)
    : m_processLock(g_processLock, std::defer_lock), m_path(path + QStringLiteral(".lock")),
      m_file(m_path)
{}

bool BenchFileLock::Acquire(QString &error)
{
    m_processLock.lock();
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("cannot make the folder %1").arg(folder);
        return false;
    }
    if (const auto reason = NotPlainFileReason(m_path)) {
        error = QStringLiteral("cannot use the lock file %1: %2").arg(m_path, *reason);
        return false;
    }
    if (m_file.tryLock(kLockTimeoutMs))
        return true;
    error = m_file.error() == QLockFile::LockFailedError
                ? QStringLiteral("another run holds %1").arg(m_path)
                : QStringLiteral("cannot make the lock file %1").arg(m_path);
    return false;
}
