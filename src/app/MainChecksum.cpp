// The image's checksum under the Programming page's buttons: the figure users compare with the
// one their assembler or another programmer gives for the same file.
#include "Tolm32U.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTimer>

void TTolmMain::ConnectChecksum()
{
    // A file load changes hundreds of cells one by one: the sum is taken once, after them.
    m_checksumTimer = new QTimer(this);
    m_checksumTimer->setSingleShot(true);
    m_checksumTimer->setInterval(0);
    connect(m_checksumTimer, &QTimer::timeout, this, &TTolmMain::ShowChecksum);
    connect(&m_image, &MemoryImage::programCellChanged, this, &TTolmMain::ScheduleChecksum);
    connect(&m_image, &MemoryImage::programImageFilled, this, &TTolmMain::ScheduleChecksum);
    // The configuration word counts as the controls build it.
    connect(OscBox, &QComboBox::currentIndexChanged, this, &TTolmMain::ScheduleChecksum);
    for (QCheckBox *box :
         {WdtCbx, PutCbx, LvpCbx, BOutCbx, MClrCbx, DebugCbx, CpdCbx, WrtCbx, MpeenCbx})
        connect(box, &QCheckBox::toggled, this, &TTolmMain::ScheduleChecksum);
    connect(ProtectionGroup, &QButtonGroup::buttonToggled, this, &TTolmMain::ScheduleChecksum);
}

void TTolmMain::ScheduleChecksum()
{
    // A chip Read changes the image word by word and lets the event loop run after each word:
    // the sum over the whole image would be taken once a word. It is taken when the chip work
    // has ended (RunWithEngine).
    if (m_checksumTimer && !ModuleBusy())
        m_checksumTimer->start();
}

uint16_t TTolmMain::ShownChecksum() const
{
    const uint16_t configWord =
        ::ControlsToConfig(ReadConfigControls(), m_currentDevice, m_image.ConfigWord);
    return ImageChecksum(m_image, m_currentDevice, configWord);
}

void TTolmMain::ShowChecksum()
{
    ChecksumLbl->setText(QStringLiteral("Checksum %1").arg(FormatHex(ShownChecksum(), 4)));
}
