#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

// A tiny tmpfs of its own, filled up to the last few pages: a real full disk, where every
// file (also a lock file or a temporary copy) competes for the same few blocks. Needs root
// (mount); Ready() is false otherwise and the test should skip.
class SmallDisk
{
public:
    explicit SmallDisk(int kib = 256)
    {
        if (::geteuid() != 0 || !m_dir.isValid())
            return;
        const QByteArray options = "size=" + QByteArray::number(kib) + "k";
        m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                            options.constData()) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool Ready() const { return m_mounted; }
    QString Path(const QString &name) const { return m_dir.filePath(name); }

    // Fills the disk with one file until only `pages` pages stay free.
    bool LeaveFreePages(int pages)
    {
        struct statvfs info = {};
        if (::statvfs(QFile::encodeName(m_dir.path()).constData(), &info) != 0)
            return false;
        const qint64 freeBytes = static_cast<qint64>(info.f_bavail) * info.f_frsize;
        const qint64 fill = freeBytes - static_cast<qint64>(pages) * info.f_frsize;
        QFile filler(Path(QStringLiteral("filler")));
        if (fill <= 0 || !filler.open(QIODevice::WriteOnly))
            return fill == 0;
        return filler.write(QByteArray(fill, 'x')) == fill && filler.flush();
    }

    // Makes the disk read-only, as a mount of someone else's files or a write-protected medium.
    bool RemountReadOnly()
    {
        return ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs",
                       MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};
