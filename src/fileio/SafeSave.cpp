#include "fileio/SafeSave.h"

#include <QFile>
#include <QSaveFile>
#include <sys/stat.h>

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

SafeSaveResult SaveFileSafely(const QString &path, const QByteArray &bytes)
{
    if (const auto kind = SpecialFileKind(path))
        return {
            false,
            QStringLiteral("It is not a regular file but %1; it was left as it is.").arg(*kind)};
    // Unbuffered: a buffered QSaveFile keeps a small file in memory until commit(), whose
    // flush does not notice a failed write and renames the empty or cut copy over the old
    // file. Written directly, every failure shows in the write that caused it.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, file.errorString()};
    qint64 written = 0;
    while (written < bytes.size()) {
        // A write that fills the disk stores what fits and reports no error; the next one,
        // for the rest, fails and carries the system's reason.
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return {false, reason};
        }
        written += n;
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {true, QString()};
}
