#pragma once

#include "PartDefinition.h"

#include "device/ConfigControls.h"

#include <cstdint>

// The configuration word and the option controls, translated by a part's named fields: the
// oscillator list, the System page's check boxes and the protection choices of its first
// configuration word. The same contract as ConfigToControls/ControlsToConfig of the device
// record, so the program can switch from one to the other without a change a user could see.

// Word -> controls. `current` is kept for controls the part has no field for, and, with
// protection patterns, for a protection pattern the part does not know.
ConfigControls PartConfigToControls(uint16_t word, const PartDefinition &part,
                                    const ConfigControls &current);

// Controls -> word. `currentWord` is the base when no protection choice is checked; building
// only ever sets bits on the base. An oscillator index outside the list adds no bits.
uint16_t PartControlsToConfig(const ConfigControls &controls, const PartDefinition &part,
                              uint16_t currentWord);

// The bits the option controls read and build.
uint16_t PartConfigBitsUsed(const PartDefinition &part);

// What "All Code Protect" programs, from the chip's word and the controls read from it.
uint16_t PartAllCodeProtectWord(const PartDefinition &part, uint16_t chipWord,
                                const ConfigControls &controls);

// The controls right after the part is chosen: its selected oscillator item, "None", and every
// box the part does not have unchecked.
ConfigControls PartControlsAfterSelection(const PartDefinition &part,
                                          const ConfigControls &previous);
