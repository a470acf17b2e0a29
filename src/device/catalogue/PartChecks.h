#pragma once

#include "CatalogueProblem.h"
#include "PartDefinition.h"

#include <vector>

// Checks one definition on its own: sizes against its algorithm, masks against the word width,
// configuration fields, controls, locations and the published checksums. Every broken rule
// adds a problem at the key that breaks it; an empty result means the part may be offered.
std::vector<CatalogueProblem> CheckPart(const PartDefinition &part);
