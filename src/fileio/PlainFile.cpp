#include "fileio/PlainFile.h"

#include "fileio/SafeSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString SystemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// A descriptor that closes itself.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

std::optional<QString> NotPlainFileReason(const QString &path)
{
    struct stat info = {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0 || S_ISREG(info.st_mode))
        return std::nullopt;
    if (S_ISLNK(info.st_mode))
        return QStringLiteral("it is a symbolic link");
    return QStringLiteral("it is not a regular file but %1")
        .arg(SpecialFileKind(path).value_or(QStringLiteral("a special file")));
}

SmallFileRead ReadSmallPlainFile(const QString &path, qint64 maxBytes)
{
    SmallFileRead read;
    // O_NOFOLLOW refuses a link; O_NONBLOCK keeps a FIFO from waiting for a writer.
    Descriptor fd(::open(QFile::encodeName(path).constData(),
                         O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd.Get() < 0) {
        const int error = errno;
        read.exists = error != ENOENT;
        if (read.exists)
            read.error =
                error == ELOOP ? QStringLiteral("it is a symbolic link") : SystemReason(error);
        return read;
    }
    read.exists = true;
    struct stat info = {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        read.error = NotPlainFileReason(path).value_or(QStringLiteral("it is not a regular file"));
        return read;
    }
    read.bytes.resize(maxBytes + 1);
    qint64 got = 0;
    while (got < read.bytes.size()) {
        const ssize_t n =
            ::read(fd.Get(), read.bytes.data() + got, static_cast<size_t>(read.bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            read.error = SystemReason(errno);
            return read;
        }
        if (n == 0)
            break;
        got += n;
    }
    read.bytes.truncate(got);
    return read;
}

int RemoveStaleSaveTemporaries(const QString &path)
{
    const QFileInfo target(path);
    QDir folder = target.absoluteDir();
    // Qt names the copy with six random letters of both cases; a name of one case only (a
    // user's "backup") is someone's own file.
    const QRegularExpression temporary(
        QStringLiteral("^%1\\.(?=[A-Za-z]*[A-Z])(?=[A-Za-z]*[a-z])[A-Za-z]{6}$")
            .arg(QRegularExpression::escape(target.fileName())));
    int removed = 0;
    const auto names = folder.entryList({target.fileName() + QStringLiteral(".??????")},
                                        QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const QString candidate = folder.filePath(name);
        // Only our own regular files: never a link, never anything else someone put there.
        if (!temporary.match(name).hasMatch() || QFileInfo(candidate).isSymLink() ||
            NotPlainFileReason(candidate))
            continue;
        if (QFile::remove(candidate))
            ++removed;
    }
    return removed;
}

std::optional<QString> CreatePrivateFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        return std::nullopt;
    }
    if (errno == EEXIST)
        return std::nullopt;
    return QStringLiteral("cannot make %1: %2").arg(path, SystemReason(errno));
}
