#pragma once

#include "engine/ChipResult.h"
#include "link/ExchangeFailure.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// How a chip operation ended. The first three are successes: the work was done, or the user
// chose to end it (Close in the progress window, Abort or Cancel in the write error box), and
// a user's choice is never reported as an error.
enum class EngineOutcome {
    Completed,           // every word of the range was processed
    Closed,              // Close was requested; the word in progress was finished first
    Aborted,             // Abort (or Cancel) in the write error box
    PowerOnFailed,       // the module did not take the power-on sequence; nothing else sent
    BadAddressField,     // an address field is not a hexadecimal number; nothing sent after
                         // the power-on
    CommunicationFailed, // a module exchange did not complete
    VerifyDifference,    // the chip's word differs from the image
    NotBlank,            // the chip's word is not the blank value
    BadImageText,        // an image cell to be written is not a hexadecimal number
};

// A word that did not take and that the user gave up on in the write error box: skipped
// (Ignore, or OK in the 16C5x box), or the word the write was aborted at.
struct WordNotWritten
{
    std::uint16_t address = 0;
    std::uint16_t expected = 0; // the value the image asked for
    // What the location read back after the last attempt. Empty where the module programs and
    // verifies the word itself and only says that it did not take.
    std::optional<std::uint16_t> read;
    bool operator==(const WordNotWritten &) const = default;
};

// What a memory operation did, for the desktop message, the terminal line and the tests.
struct EngineResult
{
    EngineOutcome outcome = EngineOutcome::Completed;
    // The word the operation ended at: where a failure happened, or the next word it would
    // have processed after a Close or Abort. Meaningless for PowerOnFailed and BadAddressField.
    std::uint16_t address = 0;
    // VerifyDifference: the image text; NotBlank: the blank word's text; BadImageText: the
    // cell's text as stored.
    QString expectedText;
    // VerifyDifference and NotBlank: the chip's value as compared (masked for verify).
    QString readText;
    // Words (or bytes) completely processed.
    int wordsDone = 0;
    // PowerOnFailed and CommunicationFailed: the exchange that broke off, and how.
    std::optional<ExchangeFailure> failure;
    // Writes: the words the user skipped in the write error box, in address order, and the
    // word an Abort (or Cancel) ended the write at. The chip holds what it made of them.
    std::vector<WordNotWritten> wordsSkipped;
    std::optional<WordNotWritten> abortedAt;

    bool Succeeded() const
    {
        return outcome == EngineOutcome::Completed || outcome == EngineOutcome::Closed ||
               outcome == EngineOutcome::Aborted;
    }
    explicit operator bool() const { return Succeeded(); }
};
