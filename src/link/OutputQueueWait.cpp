#include "link/OutputQueueWait.h"

#include <thread>

bool WaitForEmptyOutputQueue(const QueuedBytesProbe &queuedBytes, const QDeadlineTimer &deadline)
{
    for (;;) {
        const std::optional<int> queued = queuedBytes();
        if (!queued || *queued == 0) {
            return true;
        }
        if (deadline.hasExpired()) {
            return false;
        }
        std::this_thread::sleep_for(kDeparturePollInterval);
    }
}
