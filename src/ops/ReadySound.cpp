#include "ops/ReadySound.h"

#include <QApplication>
#include <QAudioDevice>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QStandardPaths>
#include <QUrl>

namespace {
const QString kFileName = QStringLiteral("Ready.wav");
} // namespace

QStringList ReadySoundFolders()
{
    QStringList folders{QDir::currentPath(), QCoreApplication::applicationDirPath()};
#ifdef TOLM_DATA_DIR
    folders << QStringLiteral(TOLM_DATA_DIR);
#endif
    for (const QString &data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << QDir(data).filePath(QStringLiteral("tolm"));
    return folders;
}

QString FindReadySoundFile(const QStringList &folders)
{
    for (const QString &folder : folders) {
        const QFileInfo file(QDir(folder).filePath(kFileName));
        if (file.isFile() && file.isReadable())
            return file.absoluteFilePath();
    }
    return {};
}

WaveReadySound::WaveReadySound() = default;
WaveReadySound::~WaveReadySound() = default;

void WaveReadySound::Play()
{
    if (!m_looked) {
        m_looked = true;
        const QString path = FindReadySoundFile(ReadySoundFolders());
        if (!path.isEmpty() && !QMediaDevices::audioOutputs().isEmpty()) {
            m_effect = std::make_unique<QSoundEffect>();
            m_effect->setSource(QUrl::fromLocalFile(path));
        }
    }
    // A sound that could not be loaded (a damaged file, an output that went away) falls back
    // to the beep like a missing one.
    if (!m_effect || m_effect->status() == QSoundEffect::Error) {
        QApplication::beep();
        return;
    }
    m_effect->play();
}

void WaveReadySound::PlayFailure()
{
    QApplication::beep();
}
