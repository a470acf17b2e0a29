#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

// One part as its file describes it: named facts only, no row numbers. The loader fills it from
// a part file (PartReader), the checks look at it (PartChecks), and everything the program
// decides about a part is derived from it (PartRecord, PartConfigMapping).

// The family drivers of the engine; which one programs a part is the part file's `algorithm`.
enum class PartAlgorithm {
    P16C5x,       // 12-bit EPROM parts, 16C5x power-on, the module's 12-bit commands
    P12C508,      // 12-bit EPROM parts programmed by serial PIC commands
    Eprom14,      // 14-bit EPROM parts: pulse, read back, overprogram
    Flash14,      // code 8 erases and writes a word; erase by the code-protect disable sequence
    Flash14Bulk,  // code 8 only programs; the chip is bulk-erased first
    Flash14Block8 // aligned 8-word blocks; bulk erase followed by code 8
};

// How the user sets a configuration field. The System page's check boxes and the oscillator
// list carry the names of today's controls, so a part can use exactly the page it always had.
enum class FieldControl {
    OscBox,
    Protection,
    WdtCbx,
    PutCbx,
    BOutCbx,
    MClrCbx,
    LvpCbx,
    DebugCbx,
    WrtCbx,
    CpdCbx,
    MpeenCbx,
    Check, // a check box of its own, named after the field
    List,  // a list of the field's values
    None   // not offered: the bits keep what the chip or the file holds
};

struct FieldValue
{
    QString name;
    uint16_t bits = 0; // the value as it sits in the word

    bool operator==(const FieldValue &) const = default;
};

struct ConfigField
{
    QString name;
    uint16_t mask = 0;
    FieldControl control = FieldControl::List;
    std::vector<FieldValue> values; // ascending by bits: the order of a list's items
    std::optional<QString> selected;

    const FieldValue *Find(const QString &valueName) const;

    bool operator==(const ConfigField &) const = default;
};

enum class ProtectionStyle {
    Words,   // each choice is a whole word; an unknown pattern shows no choice
    Patterns // each choice is the field's value plus the unimplemented bits at their blank value
};

enum class AllCodeProtect { FromControls, ClearProtectionBits, Unchanged };

struct ConfigWordDef
{
    uint16_t address = 0;
    uint16_t implemented = 0;
    uint16_t blank = 0;
    std::optional<uint16_t> checksumMask;
    std::optional<ProtectionStyle> protection;
    std::map<QString, uint16_t> protectionWords; // "none", "upper34", "upper12", "all"
    std::optional<AllCodeProtect> allCodeProtect;
    std::vector<ConfigField> fields;

    const ConfigField *FieldWith(FieldControl control) const;

    bool operator==(const ConfigWordDef &) const = default;
};

enum class CalibrationKind { MovlwLastWord, RetlwLastWord, ConfigWord, BandGap };

struct CalibrationDef
{
    CalibrationKind kind = CalibrationKind::ConfigWord;
    uint16_t address = 0;
    uint16_t mask = 0; // band-gap bits of the configuration word at `address`

    bool operator==(const CalibrationDef &) const = default;
};

// When the part's programming guide asks for Vpp before Vdd: never, always, or for
// configurations where each listed field holds one of its listed values.
struct VppBeforeVdd
{
    bool always = false;
    std::vector<std::pair<QString, QStringList>> when;

    bool operator==(const VppBeforeVdd &) const = default;
};

struct PartTiming
{
    std::optional<int> programUs;
    std::optional<int> dataUs;
    std::optional<int> eraseUs;

    bool operator==(const PartTiming &) const = default;
};

struct PublishedChecksums
{
    uint16_t blank = 0;
    uint16_t pattern = 0;
    uint16_t patternWord = 0x25E6;

    bool operator==(const PublishedChecksums &) const = default;
};

// Where a key stood in its file.
struct SourcePos
{
    int line = 0;
    int column = 0;

    bool operator==(const SourcePos &) const = default;
};

// The file a part came from and where each of its keys stood, by path ("config.0.fields.2.mask").
struct PartSource
{
    QString file;
    bool userFile = false;
    QString prefix; // "part.1" for the second part of a file of several, else empty
    std::map<QString, SourcePos> keys;

    // The position of the path (relative to the part), or of its nearest parent that has one.
    SourcePos Where(const QString &path) const;

    bool operator==(const PartSource &) const = default;
};

struct PartDefinition
{
    QString name;
    PartAlgorithm algorithm = PartAlgorithm::Flash14;
    bool parallel = false;
    bool serial = false;
    int programWords = 0;
    int dataBytes = 0;
    std::optional<uint16_t> deviceId;
    uint16_t revisionMask = 0;
    bool confirmedOnHardware = false;
    std::optional<int> selectorOrder;
    bool memoryParity = false;
    bool configSerialOnly = false;
    VppBeforeVdd vppBeforeVdd;
    int writeLatchWords = 1;
    PartTiming timing;
    uint16_t idAddress = 0;
    uint16_t idUsedBits = 0;
    std::vector<ConfigWordDef> config;
    std::vector<CalibrationDef> calibration;
    std::optional<PublishedChecksums> checksums;

    PartSource source;
    bool overridesShipped = false; // a user's file that replaces a shipped part of this name

    bool operator==(const PartDefinition &) const = default;
};
