#include "DeviceOptions.h"

#include "DeviceRecord.h"

QStringList OscillatorList(uint16_t deviceType)
{
    switch (deviceType) {
    case 18:
    case 19:
        return {"LP", "XT", "Internal RC", "External RC"};
    case 26:
        return {"LP",       "XT",
                "HS",       "Invalid !",
                "IntRC IO", "IntRC Clockout",
                "ExtRC IO", "ExtRC Clockout"};
    case 27:
        return {"LP", "XT", "HS", "EC", "IntRC IO", "IntRC Clockout", "ER IO", "ER Clockout"};
    case 29:
        return {"LP",        "XT",
                "HS",        "ExtClk",
                "IntOsc IO", "IntOsc Clockout",
                "RCOsc IO",  "RCOsc Clockout"};
    case kNoDeviceType:
        return {};
    default:
        return {"LP", "XT", "HS", "RC"};
    }
}

bool HasOscillatorList(uint16_t deviceType)
{
    return deviceType < kNoDeviceType;
}

bool IsTwelveBitCore(uint16_t deviceType)
{
    return deviceType <= 4 || deviceType == 18 || deviceType == 19;
}

QString BlankWordText(uint16_t deviceType)
{
    return IsTwelveBitCore(deviceType) ? QStringLiteral("0FFF") : QStringLiteral("3FFF");
}
