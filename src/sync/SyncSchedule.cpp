#include "sync/SyncSchedule.h"

#include <algorithm>

std::chrono::seconds NextSyncDelay(int failuresInARow, std::chrono::seconds interval)
{
    using std::chrono::seconds;
    if (failuresInARow <= 0)
        return std::max(interval, seconds(1));
    const seconds longest = std::max(interval, seconds(15 * 60));
    seconds delay(30);
    for (int n = 1; n < failuresInARow && delay < longest; ++n)
        delay *= 2;
    return std::min(delay, longest);
}
