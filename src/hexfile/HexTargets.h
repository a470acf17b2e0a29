#pragma once

// The ticked boxes of the Targets group (ProgMemCbx, DataMemCbx, ConfigCbx, IDCodeCbx):
// the memories a file load or save takes part in. Records for the other memories are
// skipped when loading and not written when saving. The fields keep the order of the group's
// boxes, not the order operations visit the targets in (program, data, ID code, configuration):
// build one with named fields, HexTargets{.Program = true, .Config = true}.
struct HexTargets
{
    bool Program = false;
    bool Data = false;
    bool Config = false;
    bool IDCode = false;

    bool Any() const { return Program || Data || Config || IDCode; }
    bool operator==(const HexTargets &) const = default;
};
