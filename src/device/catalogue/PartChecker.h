#pragma once

// Shared by the files that check a part: where a problem goes and how numbers are written in it.
#include "CatalogueProblem.h"
#include "PartDefinition.h"

#include <vector>

QString HexText(uint32_t value); // "0x3FFF"

class PartChecker
{
public:
    explicit PartChecker(const PartDefinition &part) : m_part(part) {}

    const PartDefinition &Part() const { return m_part; }
    std::vector<CatalogueProblem> TakeProblems() { return std::move(m_problems); }

    // A problem at the key of the path (relative to the part).
    void Fail(const QString &path, CatalogueRule rule, const QString &detail);
    // A value that must fit the core's word.
    void Width(const QString &path, uint32_t value);

private:
    const PartDefinition &m_part;
    std::vector<CatalogueProblem> m_problems;
};

void CheckControls(PartChecker &c);
void CheckLocations(PartChecker &c);
void CheckPublishedChecksums(PartChecker &c);
void CheckVppCondition(PartChecker &c);
