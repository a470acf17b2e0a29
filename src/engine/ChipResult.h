#pragma once

#include "link/ExchangeFailure.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <variant>

// A location written by a single-value operation (configuration word, ID location,
// calibration word) that read back something else.
struct ReadBackDifference
{
    std::uint16_t expected = 0;
    std::uint16_t read = 0;
    int location = -1; // the ID location (0 to 3); -1 for a single word
    bool operator==(const ReadBackDifference &) const = default;
};

// A chip whose code or data protection only Chip Erase (PIC command 1F) can clear, which the
// module cannot send (16F87XA): found by reading its configuration word before anything that
// would change the chip was sent, and left as it was.
struct ProtectedChip
{
    std::uint16_t configWord = 0;
    bool operator==(const ProtectedChip &) const = default;
};

// Why a single-value operation stopped: the exchange with the module that broke off, the value
// a written location read back, or a chip that cannot be changed while it is protected. The
// first says the module or the line is in trouble, the others that the chip would not take the
// work; the user is told which.
using ChipFailure = std::variant<ExchangeFailure, ReadBackDifference, ProtectedChip>;

// The module stopped answering or the port went away: no fault of the chip.
inline bool ModuleSilent(const ChipFailure &failure)
{
    const auto *exchange = std::get_if<ExchangeFailure>(&failure);
    return exchange && exchange->ModuleSilent();
}

// The value of an operation that gives none back (a write, an erase).
struct NoValue
{
    bool operator==(const NoValue &) const = default;
};

// What a single-value operation (configuration word, ID code, calibration word, device ID,
// protect, unprotect) came to: its value, or the failure that stopped it.
template <typename T> class ChipResult
{
public:
    ChipResult(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    ChipResult(ExchangeFailure failure) : m_state(std::in_place_index<1>, failure) {}
    ChipResult(ReadBackDifference difference) : m_state(std::in_place_index<1>, difference) {}
    ChipResult(ProtectedChip refusal) : m_state(std::in_place_index<1>, refusal) {}
    ChipResult(ChipFailure failure) : m_state(std::in_place_index<1>, std::move(failure)) {}

    bool Ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return Ok(); }

    // Only when Ok().
    const T &Value() const { return std::get<0>(m_state); }
    const T &operator*() const { return Value(); }
    const T *operator->() const { return &Value(); }

    // Only when not Ok().
    const ChipFailure &Failure() const { return std::get<1>(m_state); }
    // The failure, or nothing when the operation completed.
    std::optional<ChipFailure> FailureIfAny() const
    {
        return Ok() ? std::nullopt : std::optional<ChipFailure>(Failure());
    }
    const ExchangeFailure *Exchange() const
    {
        return Ok() ? nullptr : std::get_if<ExchangeFailure>(&Failure());
    }
    const ReadBackDifference *ReadBack() const
    {
        return Ok() ? nullptr : std::get_if<ReadBackDifference>(&Failure());
    }

    // The same failure for an operation of another value type.
    template <typename U> ChipResult<U> FailureAs() const { return ChipResult<U>(Failure()); }

    bool operator==(const ChipResult &) const = default;

private:
    std::variant<T, ChipFailure> m_state;
};
