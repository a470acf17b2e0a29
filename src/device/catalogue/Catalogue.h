#pragma once

#include "CatalogueProblem.h"
#include "PartDefinition.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// The parts Tolm offers: the shipped part files with the user's own on top, every definition
// checked. A broken definition is left out with its problems; every other part is kept.
struct Catalogue
{
    std::vector<PartDefinition> parts; // in the selector's order
    std::vector<CatalogueProblem> problems;

    const PartDefinition *Find(const QString &name) const; // exact, case-sensitive
    QStringList Names() const;
};

// One part file's name (as messages show it) and text.
struct PartFileText
{
    QString file;
    QByteArray text;
};

// Reads and checks one set of files (the shipped ones, or the user's): each definition on its
// own, then the names within the set. Parts stay in file order.
Catalogue ReadPartSet(const std::vector<PartFileText> &files, bool userFiles);

// The shipped set with the user's set on top: a user's part replaces a shipped one of its name
// (and is marked so); device IDs are then checked across all parts; the result is ordered.
Catalogue CombinePartSets(Catalogue shipped, Catalogue user);

// The *.toml files of a folder, in name order; a file that cannot be read is a problem.
std::vector<PartFileText> PartFilesIn(const QString &folder,
                                      std::vector<CatalogueProblem> &problems);

// ":/devices", the part files compiled into the programs.
QString ShippedPartsFolder();
// $XDG_DATA_HOME/tolm/devices (~/.local/share/tolm/devices when it is not set).
QString UserPartsFolder();

// The catalogue the programs use: the shipped parts and the user's folder.
Catalogue LoadCatalogue(const QString &shippedFolder = ShippedPartsFolder(),
                        const QString &userFolder = UserPartsFolder());

// `devices --check FILE...`: the given files read as a user's files on top of the shipped parts;
// the problems of those files only (empty when they are clean).
std::vector<CatalogueProblem> CheckPartFiles(const QStringList &paths,
                                             const QString &shippedFolder = ShippedPartsFolder());
