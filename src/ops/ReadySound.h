#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QSoundEffect;

// The chime that tells the user, who may be looking at the chip rather than the screen, that
// an operation has finished. Playing never waits and never reports an error.
class ReadySound
{
public:
    virtual ~ReadySound() = default;
    virtual void Play() = 0;
    // A run that failed ends with another sound than one that worked, so that a user who is
    // not looking does not take the chip for done.
    virtual void PlayFailure() { Play(); }
};

// The folders "Ready.wav" is looked for in, in order: the current directory (a user's own
// sound wins), beside the executable (a build tree), then the installed data folders.
QStringList ReadySoundFolders();

// The first folder's "Ready.wav" that exists, or an empty text.
QString FindReadySoundFile(const QStringList &folders);

// Plays "Ready.wav" asynchronously; without the file or without an audio output it beeps.
class WaveReadySound : public ReadySound
{
public:
    WaveReadySound();
    ~WaveReadySound() override;
    void Play() override;
    // The desktop's alert sound (the system beep), never the chime.
    void PlayFailure() override;

private:
    // Made at the first Play: opening the audio output costs time at start-up and is not
    // needed at all by a session that never finishes an operation.
    std::unique_ptr<QSoundEffect> m_effect;
    bool m_looked = false;
};
