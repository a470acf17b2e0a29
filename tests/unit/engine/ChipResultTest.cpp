// The result of every single-value operation: its value, or the one failure that stopped it,
// handed on unchanged to whatever the caller does next and worded the same for every front end.
#include "engine/ChipResult.h"
#include "texts/FailureTexts.h"

#include <gtest/gtest.h>

namespace {

TEST(ChipResult, HoldsTheValueOrWhatStoppedIt)
{
    const ExchangeFailure silent{ExchangeFailure::Kind::NoAnswer, 0x07, 0, 0};
    const ExchangeFailure refused{ExchangeFailure::Kind::WrongAcknowledge, 0x10, 0, 0x41};
    const ExchangeFailure gone{ExchangeFailure::Kind::PortGone, 0x02, 0, 0};
    const ReadBackDifference readBack{0x0003, 0x0005, 2};
    const struct
    {
        const char *name;
        ChipResult<std::uint16_t> result;
        bool ok;
        bool exchange;
        bool moduleSilent;
        const char *reason; // what the user is told, in part
    } rows[] = {
        {"value", 0x3FF1, true, false, false, ""},
        {"module silent", silent, false, true, true, "the module stopped answering"},
        {"port gone", gone, false, true, true, "the port stopped taking bytes"},
        {"word refused", refused, false, true, false, "the word did not take"},
        {"read back", readBack, false, false, false, "ID location 2 read back 0005, expected 0003"},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(r.result.Ok(), r.ok);
        EXPECT_EQ(r.result.FailureIfAny().has_value(), !r.ok);
        if (r.ok) {
            EXPECT_EQ(*r.result, 0x3FF1);
            continue;
        }
        EXPECT_EQ(r.result.Exchange() != nullptr, r.exchange);
        EXPECT_EQ(r.result.ReadBack() != nullptr, !r.exchange);
        EXPECT_EQ(ModuleSilent(r.result.Failure()), r.moduleSilent);
        // Handed on to an operation of another value, the failure stays what it was.
        const ChipResult<QString> passedOn = r.result.FailureAs<QString>();
        EXPECT_FALSE(passedOn.Ok());
        EXPECT_EQ(passedOn.Failure(), r.result.Failure());
        EXPECT_TRUE(FailureReason(r.result.Failure()).contains(QLatin1String(r.reason)))
            << FailureReason(r.result.Failure()).toStdString();
    }
}

} // namespace
