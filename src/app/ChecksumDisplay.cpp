#include "ChecksumDisplay.h"

#include "ConfigurationPart.h"
#include "ControlFactory.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"

#include <QLabel>
#include <QTimer>

#include <algorithm>

ChecksumDisplay::ChecksumDisplay(const MemoryImage &image, const DeviceRecord &device,
                                 const ConfigurationPart &config,
                                 std::function<bool()> chipWorkRunning, QObject *parent)
    : QObject(parent), m_image(image), m_device(device), m_config(config),
      m_chipWorkRunning(std::move(chipWorkRunning))
{
    setObjectName(QStringLiteral("ChecksumDisplay"));
    ChecksumLbl = Named(new QLabel, "ChecksumLbl");
    ChecksumLbl->setToolTip(
        QStringLiteral("Sum of every program word and the configuration word as Write "
                       "programs it"));
    ChecksumLbl->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The window takes its fixed size before the first sum is shown: the label keeps room for
    // its widest text, so the sum never pushes the page out of the window.
    const QFontMetrics metrics = ChecksumLbl->fontMetrics();
    int widestDigit = 0;
    for (const QChar digit : QStringLiteral("0123456789ABCDEF"))
        widestDigit = std::max(widestDigit, metrics.horizontalAdvance(digit));
    ChecksumLbl->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("Checksum ")) +
                                 4 * widestDigit);
    // A file load changes hundreds of cells one by one: the sum is taken once, after them.
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setInterval(0);
    connect(m_timer, &QTimer::timeout, this, &ChecksumDisplay::Show);
    connect(&m_image, &MemoryImage::programCellChanged, this, &ChecksumDisplay::Schedule);
    connect(&m_image, &MemoryImage::programImageFilled, this, &ChecksumDisplay::Schedule);
    connect(&m_config, &ConfigurationPart::ControlsChanged, this, &ChecksumDisplay::Schedule);
}

QWidget *ChecksumDisplay::Label() const
{
    return ChecksumLbl;
}

void ChecksumDisplay::Schedule()
{
    if (!m_chipWorkRunning())
        m_timer->start();
}

std::uint16_t ChecksumDisplay::Checksum() const
{
    return ImageChecksum(m_image, m_device, m_config.WordFromControls());
}

void ChecksumDisplay::Show()
{
    ChecksumLbl->setText(QStringLiteral("Checksum %1").arg(FormatHex(Checksum(), 4)));
}
