#pragma once

#include "engine/EngineHost.h"
#include "engine/EngineResult.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class ProgrammerModule;
class MemoryImage;
struct DeviceRecord;

// The chip-level steps and the algorithms that read, verify, blank-check and write a PIC's
// memories through the programmer module. It owns no widget and no state between calls: the
// device, the image and the user's choices are looked at when an operation needs them.
//
// Every chip operation is one power cycle: power-on, work, power-off on every way out. The
// chip's address counter is lost at power-off, so each operation steps from the power-on
// position again (address 0 for 14-bit parts, the configuration word for 12-bit parts).
class PicEngine
{
public:
    // The device is the caller's current selection and is read at the start of each
    // operation, so it must outlive the engine (the main window's CurrentDevice, or the
    // record tolm-cli resolved).
    PicEngine(ProgrammerModule &module, EngineHost &host, MemoryImage &image,
              const DeviceRecord &device);

    // --- Chip steps ---
    bool PicPowerOn();
    bool PicPowerOff();
    // Steps the address counter count locations forward from where it is.
    bool PicGoAddress(std::uint16_t count);
    // Reads the program (data) address fields and steps the chip to the start address.
    bool PicGoStartAddress(std::uint16_t &start, std::uint16_t &end);
    bool PicGoDataStartAddress(std::uint16_t &start, std::uint16_t &end);
    void Delay(int ms);
    // One word at one address, in a power cycle of its own, with the "Please Wait" window.
    ChipResult<std::uint16_t> PicRead(std::uint16_t address);
    ChipResult<NoValue> PicWrite(std::uint16_t address, std::uint16_t word);

    // Which words a write programs. SkipBlank (for a freshly erased flash part) leaves out the
    // words that equal the blank value and steps the address over them instead, so a small
    // program on a large chip takes a fraction of the time; the chip ends up the same.
    enum class WriteScope { EveryWord, SkipBlank };

    // --- Program memory, over the program address fields ---
    EngineResult PicReadProgMem();
    EngineResult PicVerifyProgMem();
    EngineResult PicBlankCheckProgMem();
    EngineResult PicWriteProgMem(WriteScope scope = WriteScope::EveryWord);

    // --- Data memory, over the data address fields ---
    EngineResult PicReadDataMem();
    EngineResult PicVerifyDataMem();
    EngineResult PicBlankCheckDataMem();
    EngineResult PicWriteDataMem(WriteScope scope = WriteScope::EveryWord);

    // --- Configuration word ---
    ChipResult<std::uint16_t> PicReadConfig();
    // Writes the configuration word, and the second one where the part has one (16F88X: 2008)
    // and `second` gives it. The chip's band-gap bits (12F629 family) stay as they are,
    // whatever the word has there.
    ChipResult<NoValue> PicWriteConfig(std::uint16_t word,
                                       std::optional<std::uint16_t> second = std::nullopt);
    // The second configuration word alone (16F88X: 2008), the first left as it is.
    ChipResult<NoValue> PicWriteSecondConfig(std::uint16_t word);
    // Both configuration words in one power cycle; `second` is empty on a part with one.
    struct ConfigWords
    {
        std::uint16_t first = 0;
        std::optional<std::uint16_t> second;
    };
    ChipResult<ConfigWords> PicReadConfigWords();
    // Writes the word as given, band-gap bits included: only for putting back the bits an
    // erase took, when the chip holds none of its own.
    ChipResult<NoValue> PicWriteConfigExactly(std::uint16_t word);
    // Whether the chip's configuration word has any code protection set.
    ChipResult<bool> PicCodeProtected();

    // Moves the counter into configuration space: Load Configuration with loadData (2000),
    // then steps locations further, by the given method.
    bool PicGoConfigLocation(std::uint16_t loadData, int steps, bool parallel);
    // Reads the word the counter of a 14-bit part points at, by the given method; the counter
    // does not move.
    bool PicReadWordAtCounter(bool parallel, std::uint16_t &word);

    // --- ID locations ---
    // The four digits read, the first location's first ("1234").
    ChipResult<QString> PicReadIDCode();
    // Writes the code (IdCodeValue of the ID code text), one digit per location, the first
    // digit into the first location.
    ChipResult<NoValue> PicWriteIDCode(std::uint16_t code);

    // The result of a power cycle run from the chip steps above: `value` when every step
    // went through, else what stopped the cycle (the first exchange that broke off, else the
    // value a location read back).
    template <typename T> ChipResult<T> Outcome(bool ok, T value) const
    {
        return ok ? ChipResult<T>(std::move(value)) : ChipResult<T>(CycleFailure());
    }
    ChipFailure CycleFailure() const;

    // Ends every program range at this address at the latest: the factory calibration word at
    // the top of program memory stays out of writes, verifies and blank checks.
    void LimitProgramEnd(std::optional<std::uint16_t> lastAddress)
    {
        m_programEndLimit = lastAddress;
    }

    // Whether the module acknowledged the last Power Off. When it did not, it may still hold
    // the chip powered, which the user must hear of even after work that succeeded.
    bool PowerOffConfirmed() const { return m_powerOffConfirmed; }

    ProgrammerModule &Module() { return m_module; }
    EngineHost &Host() { return m_host; }
    MemoryImage &Image() { return m_image; }
    const DeviceRecord &Device() const { return m_device; }

private:
    // Pulse-and-verify programming of one EPROM location by the Serial method.
    enum class PulseOutcome { Matched, NoMatch, Failed };
    PulseOutcome PulseProgramWord(std::uint16_t data, std::uint16_t expected);

    // What one word step of the loop came to.
    enum class StepOutcome { Next, Failed, Difference, NotBlank, Aborted, BadText };
    using WordStep = std::function<StepOutcome(std::uint16_t address, EngineResult &result)>;
    struct WordLoop
    {
        ChipOperation operation; // with the range, what the status line says
        bool dataRange = false;  // the data address fields and counter, else the program ones
        std::function<bool()> preamble;
        WordStep step;
        // Where the counter goes before the first word, given the range (default: its start);
        // the 8-word-block writes start at the first word of the block.
        std::function<std::uint16_t(std::uint16_t start, std::uint16_t end)> position = {};
    };
    EngineResult RunWordLoop(const WordLoop &loop);
    EngineResult FinishLoop(EngineResult result, EngineOutcome outcome);

    bool PowerOnSequence();
    bool StepBy(std::uint16_t count);
    bool ParseRange(const QString &startText, const QString &endText, std::uint16_t &start,
                    std::uint16_t &end);
    bool ReadProgRange(std::uint16_t &start, std::uint16_t &end);
    bool ReadDataRange(std::uint16_t &start, std::uint16_t &end);
    bool StepToDataAddress(std::uint16_t start);
    bool SerialReadWord(std::uint8_t readCommand, std::uint16_t &word);
    // Load Data, the data word and one programming pulse at the counter (EPROM, Serial).
    bool LoadAndPulse(std::uint16_t data);
    // One erase/program cycle of a flash location by the Serial method (Load Data, the data,
    // Begin Programming), then the location read back; false when an exchange failed.
    bool SerialFlashCycle(std::uint16_t data, std::uint16_t &readBack);
    // One power cycle with the "Please Wait" window around stepping to address and work.
    bool SingleWordCycle(std::uint16_t address, const std::function<bool()> &work);
    bool ReadAtCounter(std::uint16_t &word);
    bool WriteAtCounter(std::uint16_t word);

    // Program memory pieces, by family and method.
    bool ProgReadPreamble(std::uint8_t family);
    bool ProgWritePreamble(std::uint8_t family);
    bool ProgReadWord(std::uint8_t family, bool parallel, std::uint16_t &word);
    bool ProgAdvance(std::uint8_t family, bool parallel);
    WordStep
    ProgReadingStep(std::function<StepOutcome(std::uint16_t, std::uint16_t, EngineResult &)> judge);
    StepOutcome ProgWriteWord(std::uint8_t family, bool parallel, std::uint16_t address,
                              std::uint16_t value);
    // Wraps a write step so that blank words only add to a pending skip, which is stepped
    // over just before the next word that is written (trailing blanks are never stepped).
    WordStep SkippingBlank(WordStep write, std::uint32_t blank, bool data,
                           std::function<bool(std::uint16_t)> stepOver);
    // Tries the word until it takes or the user gives it up in the write error box; the words
    // given up are kept for the result. An attempt that reads the location back leaves what it
    // read in m_wordReadBack.
    StepOutcome RepeatUntilWritten(std::uint16_t address, std::uint16_t expected,
                                   WriteErrorButtons buttons,
                                   const std::function<StepOutcome()> &attempt,
                                   bool dataMemory = false);
    // After a module write command that failed: true when the module answered with another
    // byte than the acknowledge, its way of saying the word did not take (the chip's answer,
    // not the link's), which is then no link failure; false when the link broke.
    bool ModuleRefusedWord();
    void NoteReadBack(std::uint16_t expected, std::uint16_t read, int location = -1);
    bool ReadBackMatches(std::uint16_t expected, std::uint16_t read, std::uint16_t mask = 0xFFFF);

    // Data memory pieces, by method.
    bool DataReadByte(bool parallel, std::uint16_t &word);
    bool DataAdvance(bool parallel);
    WordStep
    DataReadingStep(std::function<StepOutcome(std::uint16_t, std::uint8_t, EngineResult &)> judge);

    // Configuration pieces.
    bool ReachConfigWord(bool parallel);
    bool ReadConfigWord(std::uint16_t &word);
    bool WriteConfigWord(std::uint16_t word, bool keepChipBandGap = true);
    bool WriteSecondConfigWord(std::uint16_t word);
    ChipResult<NoValue> ConfigWriteCycle(const std::function<bool()> &work);
    // Program memory of the 8-word-block parts (BlockWrite.cpp).
    struct BlockWriteState;
    EngineResult WriteProgramBlocks(WriteScope scope);
    WordStep BlockWriteStep(WriteScope scope, std::shared_ptr<BlockWriteState> state);
    bool LoadProgramWord(std::uint16_t word);
    std::uint16_t ImageWordOrBlank(std::uint16_t address, std::uint16_t start,
                                   std::uint16_t end) const;
    bool BlockIsBlank(std::uint16_t first, std::uint16_t start, std::uint16_t end) const;
    bool WriteIdBlock(std::uint16_t value);

    // ID pieces.
    bool ReachIdLocations(std::uint8_t family, bool parallel);
    bool ReadIdNibbles(std::uint8_t family, bool parallel, std::uint16_t &value);
    bool WriteIdNibbles(std::uint8_t family, bool parallel, std::uint16_t value);

    ProgrammerModule &m_module;
    EngineHost &m_host;
    MemoryImage &m_image;
    const DeviceRecord &m_device;
    std::optional<std::uint16_t> m_programEndLimit;
    std::optional<ReadBackDifference> m_readBackDifference;
    // The word loop in progress: the words given up in the write error box.
    std::optional<std::uint16_t> m_wordReadBack;
    std::vector<WordNotWritten> m_wordsSkipped;
    std::optional<WordNotWritten> m_abortedAt;
    bool m_powerOffConfirmed = true;
};

// The code the ID code text stands for, one digit per location read from the left: a shorter
// text leaves the last locations 0, a longer one is cut after the fourth digit. Nothing when the
// text is not hexadecimal; the chip is then not touched.
std::optional<std::uint16_t> IdCodeValue(const QString &text);
