#pragma once

#include <QSet>
#include <QString>
#include <cstdint>

class Messages;
struct DeviceRecord;

// What the user hears before the chip is written: once a session for each part that has not
// yet been confirmed on hardware, a warning that its programming follows the manufacturer's
// programming guide, never yet tried through the module; and before each configuration word
// that the part's programming guide wants entered with Vpp before Vdd, which the module's fixed
// power-up order does not give, the question whether to write it all the same.
class WriteWarnings
{
public:
    explicit WriteWarnings(Messages &messages) : m_messages(messages) {}

    // Before a command that writes the chip of this part.
    void BeforeWrite(const DeviceRecord &device);
    // Before writing this configuration word; false: the user chose not to.
    bool ConfigWriteAllowed(const DeviceRecord &device, std::uint16_t word);

private:
    Messages &m_messages;
    QSet<QString> m_warnedParts;
};

// The texts of the two, for the part (and the word).
QString UnconfirmedPartText(const QString &partName);
QString VppFirstQuestion(const QString &partName, std::uint16_t word);
