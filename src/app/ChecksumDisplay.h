#pragma once

#include <QObject>
#include <functional>

class ConfigurationPart;
class MemoryImage;
class QLabel;
class QTimer;
class QWidget;
struct DeviceRecord;

// The image's checksum under the Programming page's buttons: the figure users compare with the
// one their assembler or another programmer gives for the same file. It counts every program
// word of the device and the configuration word as the option controls build it for Write.
class ChecksumDisplay : public QObject
{
    Q_OBJECT
public:
    // chipWorkRunning: while true the sum waits (see Schedule).
    ChecksumDisplay(const MemoryImage &image, const DeviceRecord &device,
                    const ConfigurationPart &config, std::function<bool()> chipWorkRunning,
                    QObject *parent = nullptr);

    QWidget *Label() const;
    // The sum as shown, over the image and the word the option controls build.
    std::uint16_t Checksum() const;

public slots:
    // Takes the sum once after a burst of changes. A chip Read changes the image word by word
    // and lets the event loop run after each word: the sum is taken when the work has ended.
    void Schedule();

private:
    void Show();

    const MemoryImage &m_image;
    const DeviceRecord &m_device;
    const ConfigurationPart &m_config;
    std::function<bool()> m_chipWorkRunning;
    QTimer *m_timer = nullptr;
    QLabel *ChecksumLbl = nullptr;
};
