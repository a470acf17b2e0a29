#pragma once

#include <QString>
#include <QStringList>
#include <optional>

struct PartDefinition;

// What the device selector tells about a part beside its name: whether it has been written and
// verified on a real chip through the module, and whether it comes from the user's own file
// (a new part, or one that replaces the shipped part of its name).
struct PartMarks
{
    bool unconfirmed = false;
    bool userFile = false;
    bool overridesShipped = false;
    QString file; // the user's file, for the hint

    bool Any() const { return unconfirmed || userFile; }
};
PartMarks MarksOf(const PartDefinition &part);

// The hint of a marked part's item ("" for a part with no mark).
QString MarkText(const PartMarks &marks);

// The parts whose names hold the typed text, whatever its case, in list order.
QStringList PartsMatching(const QStringList &names, const QString &typed);

// The part a typed text names: the name itself whatever its case ("16C62a" is the 16c62A), or
// else the only part whose name holds the text ("877a"). Nothing when it names none or several.
std::optional<QString> PartNamedBy(const QStringList &names, const QString &typed);
