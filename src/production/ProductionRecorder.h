#pragma once

#include "production/LogPlace.h"
#include "production/ProductionRow.h"

#include <QString>
#include <optional>

// Writes the production log's rows for both front ends, wherever the log lives. An SQLite
// file takes each row at once. A PostgreSQL log is shared by several benches: a row that
// cannot reach the server is kept in this bench's queue (an SQLite file beside the local log)
// and goes out with the next chip command or `log --sync`; each row's own id makes a second
// sending harmless. Every call opens a connection of its own on the calling thread, so the
// ports of one run may append at once.
class ProductionRecorder
{
public:
    // `benchFolder`: where this bench keeps its local files (the queue).
    ProductionRecorder(LogPlace place, QString benchFolder);

    const LogPlace &Place() const { return m_place; }

    struct Readiness
    {
        // Why no row can be written. For a PostgreSQL log this stops the command before any
        // port is opened (a refused login, a newer schema): waiting would not help.
        std::optional<QString> refusal;
        bool serverAway = false; // the rows will be kept on the bench
        QString awayReason;
        int sent = 0;    // rows from the queue that reached the server now
        int waiting = 0; // rows still in the queue
    };

    // Before any chip: makes the log ready (the file, the schema), and for a server sends the
    // rows that wait for it.
    Readiness Prepare();

    enum class Outcome { Logged, Kept, Lost };
    struct Appended
    {
        Outcome outcome = Outcome::Lost;
        QString reason; // Kept: why the server did not take it; Lost: why it is nowhere
    };
    // The row gets its uid here when it has none.
    Appended Append(ProductionRow row);

    // Rows that wait in this bench's queue for the server (0 for a file log).
    int Waiting() const;

    // Sends the waiting rows; how many went, and the reason when some could not.
    struct Synced
    {
        int sent = 0;
        int waiting = 0;
        QString error;
    };
    Synced Sync();

    // Where this bench keeps the rows for this server.
    QString QueuePath() const;

private:
    LogPlace m_place;
    QString m_benchFolder;
};

// A unique id for a row: kept and sent again, it is still stored once.
QString NewRowId();

// "logged on this bench; 3 rows wait for the server" (one row waits).
QString KeptRowsText(int waiting);
