#pragma once

#include "production/ProductionRow.h"

#include <QString>

// What every row of a bench says about the bench itself, whichever front end writes it.
struct BenchFacts
{
    QString station;        // the host name
    QString operatorName;   // who works the bench
    QString lot;            // the batch being programmed; empty when not given
    QString programVersion; // "tolm-cli 2.60.0", "tolm 2.60.0"
};

// The facts of this bench: the host name, `operatorName` or else the login name, the lot and
// the program that writes the rows.
BenchFacts CurrentBenchFacts(const QString &operatorName, const QString &lot,
                             const QString &programVersion);

// A row stamped now, with a new uid, the host and the bench's facts; the caller adds what the
// chip command did.
ProductionRow NewProductionRow(const BenchFacts &facts);

// The user's login name ($LOGNAME, $USER, else the password database's), or "unknown".
QString LoginName();
