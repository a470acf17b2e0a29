#pragma once

#include <cstdint>

// Why an exchange with the module failed, kept from the link up to the words the user reads:
// a module that stops answering is a different trouble from a word the chip would not take,
// and the user needs to know which.
struct ExchangeFailure
{
    enum class Kind {
        NoAnswer,         // a reply or acknowledge byte did not arrive in time
        WrongAcknowledge, // the module answered, but not with the acknowledge byte
        BadDigit,         // a reply character was not a hexadecimal digit
        PortGone,         // a byte could not be handed to the port
    } kind = Kind::NoAnswer;
    std::uint8_t command = 0; // the exchange's command byte
    int replyByte = 0;        // which byte of the answer (0 = first) was missing or wrong
    std::uint8_t received = 0; // the wrong byte, for WrongAcknowledge and BadDigit

    // The module is gone or not listening, as opposed to answering that something failed.
    bool ModuleSilent() const { return kind == Kind::NoAnswer || kind == Kind::PortGone; }
    bool operator==(const ExchangeFailure &) const = default;
};
