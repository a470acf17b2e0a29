#include "ops/TargetVerdict.h"

#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "engine/ChipCommands.h"
#include "texts/FailureTexts.h"

#include <QStringList>

namespace {

// A long run of words that would not take is one fault (a spoilt chip, a wrong part): a few
// addresses show where, the count says how bad.
constexpr std::size_t kWordsNamed = 3;

QString WordText(const WordNotWritten &word, bool dataMemory)
{
    const int digits = dataMemory ? 2 : 4;
    QString text = QStringLiteral("%1, expected %2")
                       .arg(FormatHex(dataMemory ? word.address & 0xFF : word.address, digits),
                            FormatHex(word.expected, digits));
    if (word.read)
        text += QStringLiteral(", read %1").arg(FormatHex(*word.read, digits));
    return text;
}

} // namespace

bool TargetFailed(const TargetReport &report)
{
    return !report.succeeded || !report.detail.wordsSkipped.empty() || report.detail.abortedAt;
}

QString TargetResultReason(const TargetReport &report)
{
    if (!TargetFailed(report))
        return {};
    const bool data = report.target == ChipTarget::DataMemory;
    if (IsMemoryTarget(report.target) && report.succeeded) {
        QStringList parts;
        if (!report.detail.wordsSkipped.empty())
            parts << WordsNotWrittenText(report.detail.wordsSkipped, data);
        if (report.detail.abortedAt)
            parts << AbortedAtText(*report.detail.abortedAt, data);
        return parts.join(QStringLiteral("; "));
    }
    return TargetFailureReason(report);
}

QString WordsNotWrittenText(const std::vector<WordNotWritten> &words, bool dataMemory)
{
    const QString unit = dataMemory ? QStringLiteral("byte") : QStringLiteral("word");
    QStringList named;
    for (std::size_t i = 0; i < words.size() && i < kWordsNamed; ++i)
        named << WordText(words[i], dataMemory);
    QString text = QStringLiteral("%1 %2%3 not written: %4")
                       .arg(words.size())
                       .arg(unit, words.size() == 1 ? QString() : QStringLiteral("s"),
                            named.join(QStringLiteral("; ")));
    if (words.size() > kWordsNamed)
        text += QStringLiteral(" and %1 more").arg(words.size() - kWordsNamed);
    return text;
}

QString AbortedAtText(const WordNotWritten &word, bool dataMemory)
{
    const QString where = WordText(word, dataMemory);
    const int comma = where.indexOf(QLatin1Char(','));
    return QStringLiteral("aborted at %1, which did not take (%2); the %3 from there on were "
                          "not written")
        .arg(where.left(comma), where.mid(comma + 2),
             dataMemory ? QStringLiteral("bytes") : QStringLiteral("words"));
}

QString WriteErrorDetail(const WordNotWritten &word, bool dataMemory, const DeviceRecord &device,
                         const QString &calibrationFieldText)
{
    const int digits = dataMemory ? 2 : 4;
    QString detail = QStringLiteral("The %1 should hold %2")
                         .arg(dataMemory ? QStringLiteral("byte") : QStringLiteral("word"),
                              FormatHex(word.expected, digits));
    detail += word.read ? QStringLiteral(" and reads %1.").arg(FormatHex(*word.read, digits))
                        : QStringLiteral("; the module reports that it did not take.");
    const auto calibration = CalibrationAddress(device);
    if (dataMemory || !calibration || *calibration != word.address)
        return detail;
    // The user ticked "Write calibration word": the word written is the image's, whatever the
    // Calibration field shows. An image from an assembler has no calibration instruction there.
    const auto instruction = CalibrationInstruction(device, word.expected & 0xFF);
    const bool imageHoldsCalibration = instruction && *instruction == word.expected;
    detail += QStringLiteral("\n\nThis is the calibration word. ");
    if (imageHoldsCalibration)
        detail += QStringLiteral("The value written, %1, is the image's calibration word.")
                      .arg(FormatHex(word.expected, 4));
    else
        detail += QStringLiteral("The image holds %1 there, which is no calibration word, and "
                                 "that is what was written: the image's value, not the "
                                 "Calibration field's (%2).")
                      .arg(FormatHex(word.expected, 4), calibrationFieldText);
    detail += QStringLiteral(" An EPROM bit once at 0 cannot be set back to 1. To keep the "
                             "chip's own value, untick \"Write calibration word\"; to write the "
                             "field's value, use Write Oscillator Calibration.");
    return detail;
}

QString AsSentence(QString reason)
{
    if (!reason.isEmpty())
        reason[0] = reason[0].toUpper();
    return reason;
}
