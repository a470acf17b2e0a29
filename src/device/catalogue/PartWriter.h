#pragma once

#include "PartDefinition.h"

#include <QString>

// A part's definition in the part file format, keys in the order the shipped files use: what
// `tolm-cli devices --show NAME` prints as the start of a user's own part. Reading the text back
// gives the same definition.
QString PartDefinitionText(const PartDefinition &part);
