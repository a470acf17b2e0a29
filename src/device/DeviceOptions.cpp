#include "DeviceOptions.h"

#include "DeviceRecord.h"

QStringList OscillatorList(const DeviceRecord &device)
{
    switch (device.Oscillators) {
    case OscillatorSet::LpXtHsRc:
        return {"LP", "XT", "HS", "RC"};
    case OscillatorSet::InternalRc12:
        return {"LP", "XT", "Internal RC", "External RC"};
    case OscillatorSet::Ce674:
        return {"LP",       "XT",
                "HS",       "Invalid !",
                "IntRC IO", "IntRC Clockout",
                "ExtRC IO", "ExtRC Clockout"};
    case OscillatorSet::F628:
        return {"LP", "XT", "HS", "EC", "IntRC IO", "IntRC Clockout", "ER IO", "ER Clockout"};
    case OscillatorSet::F628a:
        return {"LP",        "XT",
                "HS",        "ExtClk",
                "IntOsc IO", "IntOsc Clockout",
                "RCOsc IO",  "RCOsc Clockout"};
    case OscillatorSet::None:
        break;
    }
    return {};
}

bool HasOscillatorList(const DeviceRecord &device)
{
    return device.Oscillators != OscillatorSet::None;
}
