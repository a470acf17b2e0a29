#include "cli/CliContext.h"
#include "cli/CommandTable.h"
#include "cli/options/ConfigControlOptions.h"
#include "cli/options/NamedFieldOptions.h"
#include "device/DeviceOptions.h"
#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"

namespace {

struct ProtectionName
{
    const char *name;
    bool ConfigControls::*button;
};
const ProtectionName kProtections[] = {
    {"none", &ConfigControls::ProtNoneBtn},
    {"upper34", &ConfigControls::ProtUp34Btn},
    {"upper12", &ConfigControls::ProtUp12Btn},
    {"all", &ConfigControls::ProtAllBtn},
};

bool ProtectionOffered(const DeviceRecord &d, bool ConfigControls::*button)
{
    const ConfigControlsEnabled enabled = EnabledControls(d);
    if (button == &ConfigControls::ProtUp34Btn)
        return enabled.ProtUp34Btn;
    if (button == &ConfigControls::ProtUp12Btn)
        return enabled.ProtUp12Btn;
    return true; // "None" and "All" exist on every device
}

// Applies --protect; false with a message when the choice is unknown or not offered.
bool ApplyProtection(CliContext &ctx, const DeviceRecord &d, const QString &value,
                     ConfigControls &c)
{
    for (const ProtectionName &p : kProtections) {
        if (value.compare(QLatin1String(p.name), Qt::CaseInsensitive) != 0)
            continue;
        if (!ProtectionOffered(d, p.button)) {
            ctx.UsageError(
                QStringLiteral("%1 does not offer protection '%2'").arg(d.DeviceName, value));
            return false;
        }
        c.ProtNoneBtn = c.ProtUp12Btn = c.ProtUp34Btn = c.ProtAllBtn = false;
        c.*(p.button) = true;
        return true;
    }
    ctx.UsageError(
        QStringLiteral("unknown protection '%1'; use none, upper34, upper12 or all").arg(value));
    return false;
}

bool ApplyOscillator(CliContext &ctx, const DeviceRecord &d, const QString &value,
                     ConfigControls &c)
{
    const auto index = FindOscillatorItem(d, value);
    if (!index) {
        ctx.UsageError(QStringLiteral("%1 has no oscillator '%2'; items: %3")
                           .arg(d.DeviceName, value, OscillatorList(d).join(QStringLiteral(", "))));
        return false;
    }
    c.OscBox = *index;
    return true;
}

} // namespace

int RunConfigBuildCommand(CliContext &ctx, const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Prints the configuration word (four hex digits) built from the controls as they "
        "stand right after the device is selected (last oscillator item, boxes unchecked, "
        "protection None), changed by the options."));
    CliContext::AddGlobalOptions(parser);
    parser.addOption({"osc", "Oscillator item, by its text or its index.", "ITEM"});
    int boxCount = 0;
    const CliBox *boxes = CliBoxes(boxCount);
    for (int i = 0; i < boxCount; ++i)
        parser.addOption({QString::fromLatin1(boxes[i].name),
                          QStringLiteral("Check \"%1\".").arg(boxes[i].description)});
    parser.addOption({"protect", "Protection: none, upper34, upper12 or all.", "CHOICE"});
    parser.addOption({"field",
                      "Set a configuration field by the names its part file gives, NAME=VALUE "
                      "(BOREN=off, WRT=0000-00FF); may be repeated. On a part with a second "
                      "configuration word its fields too, and that word is printed on a second "
                      "line.",
                      "NAME=VALUE"});
    int exitCode = 0;
    if (!ctx.Parse(parser, args, exitCode))
        return exitCode;
    if (!parser.positionalArguments().isEmpty())
        return ctx.UsageError(QStringLiteral("config build takes no arguments"));
    const auto device = ctx.Device();
    if (!device)
        return CliExit::kUsage;

    ConfigControls controls = FreshControls(*device);
    const ConfigControlsEnabled enabled = EnabledControls(*device);
    for (int i = 0; i < boxCount; ++i) {
        if (!parser.isSet(QString::fromLatin1(boxes[i].name)))
            continue;
        if (!(enabled.*(boxes[i].enabled)))
            return ctx.UsageError(QStringLiteral("%1 has no \"%2\" bit (--%3)")
                                      .arg(device->DeviceName,
                                           QString::fromLatin1(boxes[i].description),
                                           QString::fromLatin1(boxes[i].name)));
        controls.*(boxes[i].box) = true;
    }
    if (parser.isSet("osc") && !ApplyOscillator(ctx, *device, parser.value("osc"), controls))
        return CliExit::kUsage;
    if (parser.isSet("protect") &&
        !ApplyProtection(ctx, *device, parser.value("protect"), controls))
        return CliExit::kUsage;

    ConfigWords words{ControlsToConfig(controls, *device, 0), std::nullopt};
    if (SecondConfigAddress(*device))
        words.second = SecondConfigBlank(*device);
    for (const QString &assignment : parser.values("field")) {
        if (const auto refusal = SetNamedField(*device, assignment, words))
            return ctx.UsageError(*refusal);
    }
    ctx.out << FormatHex(words.first, 4) << '\n';
    if (words.second)
        ctx.out << FormatHex(*words.second, 4) << '\n';
    return CliExit::kOk;
}

int RunConfigDecodeCommand(CliContext &ctx, const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prints the controls a configuration word selects, one name=value a "
                       "line, starting from the controls right after the device is selected. "
                       "A protection pattern no choice uses gives protect=unknown, except on "
                       "the 16f877, 16f876, 12ce674, 16f628, 16c715 and 16f628a, which keep "
                       "protect=none as the window keeps its previous choice. The fields no "
                       "control stands for follow by their part file's names (boren=on); "
                       "WORD2, on a part with a second configuration word, adds its fields."));
    CliContext::AddGlobalOptions(parser);
    parser.addPositionalArgument("WORD", "Configuration word, hexadecimal (3FF3).");
    parser.addPositionalArgument("WORD2", "The second configuration word, on a part that has one.",
                                 "[WORD2]");
    int exitCode = 0;
    if (!ctx.Parse(parser, args, exitCode))
        return exitCode;
    const QStringList words = parser.positionalArguments();
    if (words.isEmpty() || words.size() > 2)
        return ctx.UsageError(QStringLiteral("config decode takes one WORD"));
    for (const QString &word : words) {
        const auto parsed = ParseHexText(word);
        if (!parsed || *parsed > 0xFFFF)
            return ctx.UsageError(
                QStringLiteral("'%1' is not a 16-bit hexadecimal word").arg(word));
    }
    const auto value = ParseHexText(words[0]);
    const auto device = ctx.Device();
    if (!device)
        return CliExit::kUsage;
    if (words.size() == 2 && !SecondConfigAddress(*device))
        return ctx.UsageError(
            QStringLiteral("%1 has no second configuration word").arg(device->DeviceName));

    const ConfigControls c =
        ConfigToControls(static_cast<uint16_t>(*value), *device, FreshControls(*device));
    ctx.out << "osc=" << OscillatorList(*device).value(c.OscBox) << '\n';
    int boxCount = 0;
    const CliBox *boxes = CliBoxes(boxCount);
    const ConfigControlsEnabled enabled = EnabledControls(*device);
    for (int i = 0; i < boxCount; ++i) {
        if (enabled.*(boxes[i].enabled))
            ctx.out << boxes[i].name << '=' << (c.*(boxes[i].box) ? "on" : "off") << '\n';
    }
    QString protect = QStringLiteral("unknown");
    for (const ProtectionName &p : kProtections) {
        if (c.*(p.button)) {
            protect = QString::fromLatin1(p.name);
            break;
        }
    }
    ctx.out << "protect=" << protect << '\n';
    // The fields no control stands for (16F88X, 12F683 family, 16F87XA), by their file's names.
    ConfigWords decoded{static_cast<uint16_t>(*value), std::nullopt};
    if (words.size() == 2)
        decoded.second = static_cast<uint16_t>(*ParseHexText(words[1]));
    for (const QString &line : NamedFieldLines(*device, decoded))
        ctx.out << line << '\n';
    return CliExit::kOk;
}
