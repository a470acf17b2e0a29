#include "ChipHexFile.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

namespace tolm::sim {

namespace {

constexpr uint32_t kDataByteAddress = 0x4200;
constexpr size_t kRecordBytes = 16;

std::string Record(uint32_t address, uint8_t type, const std::vector<uint8_t> &bytes)
{
    unsigned sum = static_cast<unsigned>(bytes.size()) + (address >> 8) + (address & 0xFF) + type;
    char head[10];
    std::snprintf(head, sizeof head, ":%02X%04X%02X", static_cast<unsigned>(bytes.size()),
                  address & 0xFFFF, type);
    std::string line = head;
    for (uint8_t b : bytes) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", b);
        line += digits;
        sum += b;
    }
    char check[3];
    std::snprintf(check, sizeof check, "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
    return line + check + "\r\n";
}

// Splits a run of bytes into records of at most 16 bytes.
void AppendRecords(std::string &text, uint32_t address, const std::vector<uint8_t> &bytes)
{
    for (size_t at = 0; at < bytes.size(); at += kRecordBytes) {
        const size_t end = std::min(bytes.size(), at + kRecordBytes);
        text += Record(address + static_cast<uint32_t>(at), 0,
                       std::vector<uint8_t>(bytes.begin() + static_cast<long>(at),
                                            bytes.begin() + static_cast<long>(end)));
    }
}

void PushWord(std::vector<uint8_t> &bytes, uint16_t word)
{
    bytes.push_back(static_cast<uint8_t>(word & 0xFF));
    bytes.push_back(static_cast<uint8_t>(word >> 8));
}

std::optional<unsigned> HexByte(std::string_view line, size_t at)
{
    unsigned value = 0;
    for (size_t i = at; i < at + 2; ++i) {
        const char c = line[i];
        unsigned digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else {
            return std::nullopt;
        }
        value = value * 16 + digit;
    }
    return value;
}

// Reads the data records into a byte map. Returns an error text, empty on success.
std::string ReadRecords(std::string_view text, std::map<uint32_t, uint8_t> &bytes)
{
    uint32_t base = 0;
    int lineNumber = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n') {
            ++pos;
        }
        ++lineNumber;
        if (line.empty()) {
            continue;
        }
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (line[0] != ':' || line.size() < 11 || (line.size() - 1) % 2 != 0) {
            return where + "not an Intel HEX record";
        }
        std::vector<unsigned> fields;
        for (size_t at = 1; at < line.size(); at += 2) {
            const auto b = HexByte(line, at);
            if (!b) {
                return where + "not an Intel HEX record";
            }
            fields.push_back(*b);
        }
        const unsigned count = fields[0];
        if (fields.size() != count + 5) {
            return where + "record length does not match its byte count";
        }
        unsigned sum = 0;
        for (unsigned f : fields) {
            sum += f;
        }
        if ((sum & 0xFF) != 0) {
            return where + "checksum error";
        }
        const uint32_t address = fields[1] << 8 | fields[2];
        switch (fields[3]) {
        case 0x00:
            for (unsigned i = 0; i < count; ++i) {
                bytes[base + address + i] = static_cast<uint8_t>(fields[4 + i]);
            }
            break;
        case 0x01:
            return {};
        case 0x02:
            base = count == 2 ? (fields[4] << 8 | fields[5]) << 4 : base;
            break;
        case 0x04:
            base = count == 2 ? (fields[4] << 8 | fields[5]) << 16 : base;
            break;
        default:
            break; // start addresses mean nothing to a chip
        }
    }
    return {};
}

// The second configuration word and a factory calibration word in configuration space.
bool IsFurtherConfigSpaceWord(const ChipDescription &d, uint32_t word)
{
    return (d.secondConfig && word == d.secondConfig->address) ||
           (d.configCalibration && word == d.configCalibration->address);
}

uint16_t WithByte(uint16_t word, uint32_t byteAddress, uint8_t value)
{
    const unsigned shift = (byteAddress & 1) ? 8 : 0;
    return static_cast<uint16_t>((word & ~(0xFFu << shift)) | static_cast<unsigned>(value)
                                                                  << shift);
}

void PlaceByte(SimChip &chip, uint32_t byteAddress, uint8_t value)
{
    const ChipDescription &d = chip.Description();
    const uint32_t word = byteAddress / 2;
    if (word < d.programWords) {
        chip.SetProgramWord(
            static_cast<uint16_t>(word),
            WithByte(chip.ProgramWord(static_cast<uint16_t>(word)), byteAddress, value));
    } else if (word >= d.idAddress && word < d.idAddress + 4u) {
        const int k = static_cast<int>(word - d.idAddress);
        chip.SetIdWord(k, WithByte(chip.IdWord(k), byteAddress, value));
    } else if (word == d.configAddress || IsFurtherConfigSpaceWord(d, word)) {
        const auto address = static_cast<uint16_t>(word);
        chip.SetStoredWord(address, WithByte(chip.StoredWord(address), byteAddress, value));
    } else if (byteAddress >= kDataByteAddress && (byteAddress & 1) == 0 &&
               (byteAddress - kDataByteAddress) / 2 < d.dataBytes) {
        chip.SetDataByte(static_cast<uint16_t>((byteAddress - kDataByteAddress) / 2), value);
    }
}

} // namespace

std::string ChipHexText(const SimChip &chip)
{
    const ChipDescription &d = chip.Description();
    std::string text;
    std::vector<uint8_t> bytes;
    for (uint16_t a = 0; a < d.programWords; ++a) {
        PushWord(bytes, chip.ProgramWord(a));
    }
    AppendRecords(text, 0, bytes);
    bytes.clear();
    for (uint16_t a = 0; a < d.dataBytes; ++a) {
        bytes.push_back(chip.DataByte(a));
        bytes.push_back(0);
    }
    AppendRecords(text, kDataByteAddress, bytes);
    bytes.clear();
    PushWord(bytes, chip.ConfigWord());
    AppendRecords(text, 2u * d.configAddress, bytes);
    bytes.clear();
    for (uint16_t address = d.configAddress + 1u; IsFurtherConfigSpaceWord(d, address); ++address) {
        PushWord(bytes, chip.StoredWord(address));
        AppendRecords(text, 2u * address, bytes);
        bytes.clear();
    }
    for (int k = 0; k < 4; ++k) {
        PushWord(bytes, chip.IdWord(k));
    }
    AppendRecords(text, 2u * d.idAddress, bytes);
    return text + ":00000001FF\r\n";
}

bool ParseChipHex(std::string_view text, SimChip &chip, std::string &error)
{
    std::map<uint32_t, uint8_t> bytes;
    error = ReadRecords(text, bytes);
    if (!error.empty()) {
        return false;
    }
    for (const auto &[address, value] : bytes) {
        PlaceByte(chip, address, value);
    }
    return true;
}

bool SaveChipHex(const std::string &path, const SimChip &chip, std::string &error)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << ChipHexText(chip);
    out.close();
    if (!out) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool LoadChipHex(const std::string &path, SimChip &chip, std::string &error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (!ParseChipHex(text.str(), chip, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

} // namespace tolm::sim
