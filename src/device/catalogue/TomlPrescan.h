#pragma once

#include "PartDefinition.h"

#include <QByteArray>
#include <optional>

// Where a part file holds a non-ASCII character outside a string or a comment, if it does.
// TOML allows none there, and the toml++ of Debian 12 (3.3.0) runs into undefined behaviour
// deciding whether such a character is white space; a user's file must never reach that, so
// the reader refuses the file here with the character's line and column instead.
std::optional<SourcePos> FirstNonAsciiOutsideStrings(const QByteArray &text);
