#include "fileio/SafeSave.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Writes every byte to the new copy and syncs it; the reason when that failed (the copy is
// then abandoned and removed).
std::optional<QString> WriteAndSync(QSaveFile &file, const QByteArray &bytes)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        // A write that fills the disk stores what fits and reports no error; the next one,
        // for the rest, fails and carries the system's reason.
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return reason;
        }
        written += n;
    }
    // Some file systems report a lack of space only when the data reaches the disk; the
    // commit's own sync ignores errors, so the copy is synced here, before any rename.
    if (::fsync(file.handle()) != 0 && errno != EINVAL) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        file.cancelWriting();
        return reason;
    }
    return std::nullopt;
}

// Opens the new copy beside `path`; the reason when the target is refused or no copy can be
// made.
std::optional<QString> OpenCopy(QSaveFile &file, const QString &path)
{
    if (const auto kind = SpecialFileKind(path))
        return QStringLiteral("It is not a regular file but %1; it was left as it is.").arg(*kind);
    // Unbuffered: a buffered QSaveFile keeps a small file in memory until commit(), whose
    // flush does not notice a failed write and renames the empty or cut copy over the old
    // file. Written directly, every failure shows in the write that caused it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    return std::nullopt;
}

} // namespace

std::optional<QString> SpecialFileKind(const QString &path)
{
    struct stat info = {};
    // stat, not lstat: a link to /dev/null must be seen as the device it leads to.
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || S_ISREG(info.st_mode))
        return std::nullopt;
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("a directory");
    if (S_ISFIFO(info.st_mode))
        return QStringLiteral("a FIFO");
    if (S_ISCHR(info.st_mode))
        return QStringLiteral("a character device");
    if (S_ISBLK(info.st_mode))
        return QStringLiteral("a block device");
    if (S_ISSOCK(info.st_mode))
        return QStringLiteral("a socket");
    return QStringLiteral("a special file");
}

SafeSaveResult SaveFileSafely(const QString &path, const QByteArray &bytes,
                              std::optional<QFileDevice::Permissions> permissions)
{
    const bool isNew = !QFile::exists(path);
    QSaveFile file(path);
    if (auto failure = OpenCopy(file, path))
        return {false, *failure};
    // On the copy, before any byte is in it: the file never exists with wider permissions.
    if (permissions && isNew && !file.setPermissions(*permissions)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {false, reason};
    }
    if (auto failure = WriteAndSync(file, bytes))
        return {false, *failure};
    if (!file.commit())
        return {false, file.errorString()};
    return {true, QString()};
}

SafeSaveResult TrySavingFileSafely(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (auto failure = OpenCopy(file, path))
        return {false, *failure};
    if (auto failure = WriteAndSync(file, bytes))
        return {false, *failure};
    file.cancelWriting(); // the copy goes; the target was never touched
    return {true, QString()};
}
