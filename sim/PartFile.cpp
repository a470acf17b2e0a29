#include "PartFile.h"

#include "PartFileReader.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace tolm::sim {

namespace {

constexpr uint16_t kConfigSpace = 0x2000;
constexpr uint16_t kConfigSpaceEnd = 0x20FF;
constexpr uint16_t kDeviceIdAddress = 0x2006;
constexpr int kDefaultFlashCycleUs = 8000;
// Factory words the simulator puts where a file names a calibration value.
constexpr uint16_t kFactoryK = 0x80;
constexpr uint16_t kFactoryCalibrationSpaceWord = 0x1E5A;

struct Read
{
    std::string name;
    ChipDescription chip;
};

// The catalogue's algorithms and what chip each stands for. "flash14-bulk" covers several chip
// families whose erase differs in detail; the part's calibration values and second
// configuration word say which one it is.
bool ApplyAlgorithm(const std::string &name, ChipDescription &chip)
{
    using enum ChipAlgorithm;
    if (name == "16c5x") {
        chip.core = ChipCore::Core12Module;
        chip.algorithm = Eprom12Module;
    } else if (name == "12c508") {
        chip.core = ChipCore::Core12Serial;
        chip.algorithm = Eprom12Serial;
    } else if (name == "eprom14") {
        chip.algorithm = Eprom14;
    } else if (name == "flash14") {
        chip.algorithm = FlashEraseWrite;
    } else if (name == "flash14-bulk") {
        chip.algorithm = FlashProgramOnly;
    } else if (name == "flash14-block8") {
        chip.algorithm = FlashEightWordBlock;
    } else {
        return false;
    }
    chip.memory = Rules(chip.algorithm).eprom ? ChipMemory::Eprom : ChipMemory::Flash;
    return true;
}

// The program-only families differ in how their bulk erase treats protected data and the
// OSCCAL word; what the part carries tells them apart.
void SettleProgramOnlyFamily(ChipDescription &chip)
{
    if (chip.algorithm != ChipAlgorithm::FlashProgramOnly) {
        return;
    }
    if (chip.bandGapMask != 0 || (chip.calibrationWord && *chip.calibrationWord >= 0x3400)) {
        chip.algorithm = ChipAlgorithm::FlashOscCalBandGap;
    } else if (chip.secondConfig) {
        chip.algorithm = ChipAlgorithm::FlashTwoConfigWords;
    } else if (chip.configCalibration) {
        chip.algorithm = ChipAlgorithm::FlashCalibrationWord;
    }
}

class PartMapper
{
public:
    explicit PartMapper(PartFileReader &reader) : m_reader(reader) {}

    std::optional<Read> Map(const toml::table &part);

private:
    void ReadSizes(const toml::table &part, ChipDescription &chip);
    void ReadConfig(const toml::array &configs, ChipDescription &chip);
    void ReadProtection(const toml::table &config, ChipDescription &chip);
    void ReadCalibration(const toml::table &calibration, ChipDescription &chip);
    uint16_t ConfigSpaceAddress(const toml::table &table, const ChipDescription &chip);

    PartFileReader &m_reader;
};

std::optional<Read> PartMapper::Map(const toml::table &part)
{
    Read read{{},
              {{},
               ChipCore::Core14,
               ChipMemory::Flash,
               0,
               0,
               0x2007,
               0x3FFF,
               kConfigSpace,
               0,
               0,
               std::nullopt,
               std::nullopt,
               kDefaultFlashCycleUs,
               false}};
    ChipDescription &chip = read.chip;
    const std::optional<std::string> name = m_reader.String(part, "name");
    const std::optional<std::string> algorithm = m_reader.String(part, "algorithm");
    if (algorithm && !ApplyAlgorithm(*algorithm, chip)) {
        m_reader.Fail(part["algorithm"].node()->source(),
                      "the simulator has no chip for the algorithm \"" + *algorithm + "\"");
    }
    if (m_reader.Failed()) {
        return std::nullopt;
    }
    read.name = *name;
    if (name->empty()) {
        m_reader.Fail(part["name"].node()->source(), "the name is empty");
    }
    ReadSizes(part, chip);
    if (const toml::array *configs = m_reader.Tables(part, "config")) {
        ReadConfig(*configs, chip);
    } else {
        m_reader.Fail(part.source(), "the part has no [[config]] table");
    }
    if (const toml::array *calibrations = m_reader.Tables(part, "calibration")) {
        for (const toml::node &calibration : *calibrations) {
            ReadCalibration(*calibration.as_table(), chip);
        }
    }
    if (m_reader.Failed()) {
        return std::nullopt;
    }
    SettleProgramOnlyFamily(chip);
    return read;
}

void PartMapper::ReadSizes(const toml::table &part, ChipDescription &chip)
{
    const int64_t word = chip.WordMask();
    chip.programWords = static_cast<uint16_t>(
        m_reader.Integer(part, "program_words", 1, chip.IsTwelveBit() ? 2048 : 8192).value_or(1));
    chip.dataBytes =
        static_cast<uint16_t>(m_reader.OptionalInteger(part, "data_bytes", 0, 256).value_or(0));
    if (const auto id = m_reader.OptionalInteger(part, "device_id", 0, word)) {
        chip.deviceId = static_cast<uint16_t>(*id);
        chip.revisionMask =
            static_cast<uint16_t>(m_reader.Integer(part, "revision_mask", 0, word).value_or(0));
    }
    chip.needsParity = m_reader.OptionalBool(part, "memory_parity").value_or(false);
    chip.writeLatchWords =
        static_cast<int>(m_reader.OptionalInteger(part, "write_latch_words", 1, 8).value_or(1));
    if (chip.IsTwelveBit()) {
        chip.configAddress = 0x0FFF;
        chip.configErased = 0x0FFF;
        chip.idAddress = chip.programWords;
    }
    if (const toml::table *ids = m_reader.Table(part, "id_locations", true)) {
        const auto address = m_reader.Integer(*ids, "address", 0, 0x3FFF);
        if (address && *address != chip.idAddress) {
            m_reader.Fail((*ids)["address"].node()->source(),
                          chip.IsTwelveBit()
                              ? "ID locations must follow program memory on 12-bit parts"
                              : "ID locations must be at 0x2000 on 14-bit parts");
        }
    }
    const bool eprom = chip.memory == ChipMemory::Eprom;
    chip.programCycleUs = eprom ? 0 : kDefaultFlashCycleUs;
    if (const toml::table *timing = m_reader.Table(part, "timing", false); timing && !eprom) {
        chip.programCycleUs =
            m_reader.OptionalMicros(*timing, "program_ms").value_or(chip.programCycleUs);
        chip.dataCycleUs = m_reader.OptionalMicros(*timing, "data_ms").value_or(0);
        chip.eraseUs = m_reader.OptionalMicros(*timing, "erase_ms").value_or(0);
    }
}

uint16_t PartMapper::ConfigSpaceAddress(const toml::table &table, const ChipDescription &chip)
{
    const auto address = m_reader.Integer(table, "address", 0, 0x3FFF);
    if (!address) {
        return 0;
    }
    const bool inside = chip.IsTwelveBit()
                            ? *address == 0x0FFF
                            : *address >= kConfigSpace + 4 && *address <= kConfigSpaceEnd &&
                                  *address != kDeviceIdAddress;
    if (!inside) {
        m_reader.Fail(table["address"].node()->source(),
                      "the address is not a configuration-space word the chip can have");
    }
    return static_cast<uint16_t>(*address);
}

void PartMapper::ReadConfig(const toml::array &configs, ChipDescription &chip)
{
    const int64_t word = chip.WordMask();
    for (size_t i = 0; i < configs.size() && !m_reader.Failed(); ++i) {
        const toml::table &config = *configs[i].as_table();
        const uint16_t address = ConfigSpaceAddress(config, chip);
        const auto implemented =
            static_cast<uint16_t>(m_reader.Integer(config, "implemented", 0, word).value_or(0));
        const auto blank =
            static_cast<uint16_t>(m_reader.Integer(config, "blank", 0, word).value_or(0));
        if (i == 0) {
            chip.configAddress = address;
            chip.configImplemented = implemented;
            chip.configErased = blank;
            ReadProtection(config, chip);
        } else if (i == 1 && !chip.IsTwelveBit() && address != chip.configAddress) {
            chip.secondConfig = ConfigSpaceWord{address, implemented, blank};
        } else {
            m_reader.Fail(config.source(), "the simulator models one configuration word, or two on "
                                           "14-bit parts at different addresses");
        }
    }
}

// The protection bits are those an unprotected chip has set ("none") and a fully protected one
// clear ("all"); a bit both keep set is no protection bit. A field bound to the data-protection
// check box is the data-protection bit.
void PartMapper::ReadProtection(const toml::table &config, ChipDescription &chip)
{
    const toml::array *fields = config["fields"].as_array();
    if (fields == nullptr) {
        return;
    }
    for (const toml::node &node : *fields) {
        const toml::table *field = node.as_table();
        if (field == nullptr) {
            continue;
        }
        const auto control = (*field)["control"].value<std::string>();
        const auto mask = (*field)["mask"].value<int64_t>();
        if (control == "protection" && mask) {
            const int64_t none = (*field)["values"]["none"].value<int64_t>().value_or(*mask);
            const int64_t all = (*field)["values"]["all"].value<int64_t>().value_or(0);
            chip.codeProtectMask = static_cast<uint16_t>(none & ~all);
        } else if (control == "CpdCbx" && mask) {
            chip.dataProtectMask = static_cast<uint16_t>(*mask);
        }
    }
}

void PartMapper::ReadCalibration(const toml::table &calibration, ChipDescription &chip)
{
    const std::optional<std::string> kind = m_reader.String(calibration, "kind");
    if (!kind) {
        return;
    }
    const auto last = static_cast<uint16_t>(chip.programWords - 1);
    if (*kind == "movlw-last-word" || *kind == "retlw-last-word") {
        if (m_reader.Integer(calibration, "address", 0, 0x3FFF).value_or(last) != last) {
            m_reader.Fail(calibration["address"].node()->source(),
                          "the calibration word must be the last program word");
        }
        const bool retlw = *kind == "retlw-last-word";
        chip.calibrationWord = static_cast<uint16_t>((retlw ? 0x3400 : 0x0C00) | kFactoryK);
    } else if (*kind == "config-word") {
        const uint16_t address = ConfigSpaceAddress(calibration, chip);
        if (address == chip.configAddress ||
            (chip.secondConfig && address == chip.secondConfig->address)) {
            m_reader.Fail(calibration["address"].node()->source(),
                          "the calibration word lies on a configuration word");
        }
        chip.configCalibration = CalibrationSpaceWord{address, kFactoryCalibrationSpaceWord};
    } else if (*kind == "band-gap") {
        const auto mask = static_cast<uint16_t>(
            m_reader.Integer(calibration, "mask", 0, chip.configImplemented).value_or(0));
        chip.bandGapMask = mask;
        chip.configFactory = static_cast<uint16_t>((chip.configErased & ~mask) | (mask & 0x2AAA));
    } else {
        m_reader.Fail(calibration["kind"].node()->source(),
                      "the simulator has no calibration value of the kind \"" + *kind + "\"");
    }
}

} // namespace

bool UserParts::Load(const std::string &path, std::string &error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return LoadText(text.str(), path, error);
}

bool UserParts::LoadText(std::string_view text, const std::string &source, std::string &error)
{
    toml::table document;
    try {
        document = toml::parse(text, source);
    } catch (const toml::parse_error &e) {
        PartFileReader where(source);
        where.Fail(e.source(), std::string(e.description()));
        error = where.Problem();
        return false;
    }
    PartFileReader reader(source);
    std::vector<const toml::table *> parts{&document};
    if (const toml::array *many = reader.Tables(document, "part")) {
        parts.clear();
        for (const toml::node &part : *many) {
            parts.push_back(part.as_table());
        }
    }
    std::vector<Read> read;
    PartMapper mapper(reader);
    for (const toml::table *part : parts) {
        if (std::optional<Read> one = mapper.Map(*part)) {
            read.push_back(std::move(*one));
        }
    }
    if (reader.Failed()) {
        error = reader.Problem();
        return false;
    }
    for (Read &one : read) {
        m_names.push_back(std::move(one.name));
        one.chip.name = m_names.back();
        m_chips.push_back(one.chip);
        m_sources.push_back(source);
    }
    return true;
}

const ChipDescription *UserParts::Find(std::string_view name) const
{
    for (auto chip = m_chips.rbegin(); chip != m_chips.rend(); ++chip) {
        if (chip->name == name) {
            return &*chip;
        }
    }
    return nullptr;
}

} // namespace tolm::sim
