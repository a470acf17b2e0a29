// Where a part's configuration words, ID locations and calibration words lie: where its driver
// reaches them, each at an address of its own; and whether its published checksums are the ones
// its definition gives.
#include "PartAlgorithms.h"
#include "PartChecker.h"
#include "PartChecksum.h"

#include <map>

namespace {

constexpr int kIdLocations = 4;
constexpr uint32_t kTwelveBitConfigWord = 0x0FFF;

class Occupied
{
public:
    explicit Occupied(PartChecker &c) : m_c(c) {}

    void Take(uint32_t address, const QString &path, const QString &what)
    {
        const auto [it, fresh] = m_taken.emplace(address, what);
        if (!fresh)
            m_c.Fail(
                path, CatalogueRule::LocationsOverlap,
                QStringLiteral("%1 and %2 both at %3").arg(it->second, what, HexText(address)));
    }

private:
    PartChecker &m_c;
    std::map<uint32_t, QString> m_taken;
};

void Outside(PartChecker &c, const QString &path, const QString &what, uint32_t address,
             const QString &where)
{
    c.Fail(path, CatalogueRule::LocationOutsideSpace,
           QStringLiteral("%1 at %2; %3").arg(what, HexText(address), where));
}

void CheckConfigAddresses(PartChecker &c, Occupied &taken)
{
    const PartDefinition &part = c.Part();
    const AddressRange space = ConfigurationSpace(part);
    const bool twelveBit = InfoOf(part.algorithm).wordBits == 12;
    for (size_t i = 0; i < part.config.size(); ++i) {
        const QString path = QStringLiteral("config.%1.address").arg(i);
        const uint32_t address = part.config[i].address;
        if (twelveBit ? address != kTwelveBitConfigWord : !space.Contains(address))
            Outside(c, path, QStringLiteral("configuration word"), address,
                    twelveBit ? QStringLiteral("a 12-bit part keeps it at 0x0FFF")
                              : QStringLiteral("the driver reaches 0x2000 to 0x20FF"));
        taken.Take(address, path, QStringLiteral("configuration word %1").arg(i));
    }
}

void CheckIdLocations(PartChecker &c, Occupied &taken)
{
    const PartDefinition &part = c.Part();
    const uint32_t expected = IdAddressOfAlgorithm(part);
    if (part.idAddress != expected)
        Outside(c, QStringLiteral("id_locations.address"), QStringLiteral("ID locations"),
                part.idAddress,
                QStringLiteral("the driver finds them at %1").arg(HexText(expected)));
    for (int k = 0; k < kIdLocations; ++k)
        taken.Take(part.idAddress + k, QStringLiteral("id_locations.address"),
                   QStringLiteral("ID location %1").arg(k));
    if (part.deviceId)
        taken.Take(kDeviceIdAddress, QStringLiteral("device_id"), QStringLiteral("device ID"));
}

void CheckCalibration(PartChecker &c, Occupied &taken)
{
    const PartDefinition &part = c.Part();
    for (size_t i = 0; i < part.calibration.size(); ++i) {
        const CalibrationDef &cal = part.calibration[i];
        const QString path = QStringLiteral("calibration.%1.address").arg(i);
        const QString what = QStringLiteral("calibration %1").arg(i);
        switch (cal.kind) {
        case CalibrationKind::MovlwLastWord:
        case CalibrationKind::RetlwLastWord:
            if (cal.address != part.programWords - 1)
                Outside(c, path, what, cal.address,
                        QStringLiteral("it sits at the last program word"));
            break;
        case CalibrationKind::ConfigWord:
            if (!ConfigurationSpace(part).Contains(cal.address))
                Outside(c, path, what, cal.address, QStringLiteral("outside configuration space"));
            taken.Take(cal.address, path, what);
            break;
        case CalibrationKind::BandGap: {
            const ConfigWordDef *word = nullptr;
            for (const ConfigWordDef &w : part.config)
                word = w.address == cal.address ? &w : word;
            if (!word)
                Outside(c, path, what, cal.address, QStringLiteral("no configuration word there"));
            else if (cal.mask & ~word->implemented)
                c.Fail(QStringLiteral("calibration.%1.mask").arg(i),
                       CatalogueRule::FieldOutsideImplemented,
                       QStringLiteral("band-gap mask %1, implemented %2")
                           .arg(HexText(cal.mask), HexText(word->implemented)));
            break;
        }
        }
    }
}

} // namespace

void CheckLocations(PartChecker &c)
{
    Occupied taken(c);
    CheckConfigAddresses(c, taken);
    CheckIdLocations(c, taken);
    CheckCalibration(c, taken);
}

void CheckPublishedChecksums(PartChecker &c)
{
    const PartDefinition &part = c.Part();
    if (!part.checksums)
        return;
    bool masks = true;
    for (size_t i = 0; i < part.config.size(); ++i) {
        if (!part.config[i].checksumMask) {
            masks = false;
            c.Fail(QStringLiteral("config.%1").arg(i), CatalogueRule::MissingKey,
                   QStringLiteral("config.%1.checksum_mask").arg(i));
        }
    }
    if (!masks)
        return;
    const PublishedChecksums &published = *part.checksums;
    const uint16_t blank = ComputedChecksum(part);
    const uint16_t pattern = ComputedChecksum(part, published.patternWord);
    if (published.blank != blank)
        c.Fail(QStringLiteral("checksums.blank"), CatalogueRule::ChecksumDiffers,
               QStringLiteral("blank: published %1, computed %2")
                   .arg(HexText(published.blank), HexText(blank)));
    if (published.pattern != pattern)
        c.Fail(QStringLiteral("checksums.pattern"), CatalogueRule::ChecksumDiffers,
               QStringLiteral("pattern: published %1, computed %2")
                   .arg(HexText(published.pattern), HexText(pattern)));
}
