#pragma once

#include <QSet>
#include <QString>

class Messages;
struct DeviceRecord;

// What the user hears before the chip is written: once a session for each part that has not
// yet been confirmed on hardware, a warning that its programming is the specification's, never
// yet tried through the module.
class WriteWarnings
{
public:
    explicit WriteWarnings(Messages &messages) : m_messages(messages) {}

    // Before a command that writes the chip of this part.
    void BeforeWrite(const DeviceRecord &device);

private:
    Messages &m_messages;
    QSet<QString> m_warnedParts;
};

// The warning's text for the part.
QString UnconfirmedPartText(const QString &partName);
