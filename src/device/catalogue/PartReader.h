#pragma once

#include "CatalogueProblem.h"
#include "PartDefinition.h"

#include <QByteArray>
#include <QString>
#include <vector>

// What one part file held: the parts it describes in full, and a problem for each one it could
// not describe (that part is left out; the file's other parts are kept).
struct PartFileRead
{
    std::vector<PartDefinition> parts;
    std::vector<CatalogueProblem> problems;
};

// Reads the text of a part file. `file` names it in messages and in each part's source.
// Only the form is checked here (syntax, keys, types, names); PartChecks judges the facts.
PartFileRead ReadPartFile(const QString &file, const QByteArray &text, bool userFile = false);
