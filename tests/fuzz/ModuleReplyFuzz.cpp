// libFuzzer target: the module's reply decoders, alone and behind the command set, on any
// bytes a broken or hostile module could send.
#include "link/ByteChannel.h"
#include "link/ModuleEncoding.h"
#include "link/ProgrammerModule.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

bool AllDigits(std::string_view text)
{
    for (char c : text) {
        if (!HexDigitValue(c))
            return false;
    }
    return true;
}

// A module that takes every byte and answers with the fuzzer's bytes, then falls silent.
class FuzzedModule : public ByteChannel
{
public:
    FuzzedModule(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}
    bool WriteByte(std::uint8_t) override { return true; }
    std::optional<std::uint8_t> ReadByte() override
    {
        if (m_next >= m_size)
            return std::nullopt;
        return m_data[m_next++];
    }
    bool Exhausted() const { return m_next >= m_size; }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_next = 0;
};

void CheckDecoders(std::string_view digits)
{
    const bool valid = digits.size() == 4 && AllDigits(digits);
    const auto reply14 = DecodeReply14(digits);
    const auto reply16 = DecodeReply16(digits);
    Require(reply14.has_value() == valid && reply16.has_value() == valid);
    Require(!reply14 || *reply14 <= 0x3FFF);
    const auto twelve = Decode12BitB(digits.substr(0, 3));
    Require(!twelve || *twelve <= 0x0FFF);
    if (reply16) {
        Require(TransferWordValue(*reply16, false) <= 0x3FFF);
        Require(TransferWordValue(*reply16, true) <= 0x3FFF);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    for (std::size_t at = 0; at < bytes.size(); at += 4)
        CheckDecoders(bytes.substr(at, 4));

    FuzzedModule channel(data, size);
    ProgrammerModule module(channel);
    std::string transcript;
    module.SetTranscript([&transcript](const std::string &line) { transcript = line; });
    std::uint16_t word = 0;
    std::uint8_t id = 0;
    // Each command's reply width differs, so the same bytes are cut in many ways.
    for (unsigned step = 0; !channel.Exhausted(); ++step) {
        switch (step % 6) {
        case 0:
            module.ModuleReadProgWord(word);
            break;
        case 1:
            module.ModuleRead12BitWord(word);
            break;
        case 2:
            module.ModuleReadDataWord(word);
            break;
        case 3:
            module.ModuleSerialReadData(word);
            break;
        case 4:
            module.ModuleIdentify(id);
            break;
        case 5:
            module.ModuleParityMode();
            break;
        }
    }
    return 0;
}
