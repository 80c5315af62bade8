#include "comms/History.h"

#include <algorithm>

bool AddHistory(std::vector<std::string>& history, std::string_view entry)
{
    if (std::find(history.begin(), history.end(), entry) != history.end())
        return false;
    history.insert(history.begin(), std::string(entry));
    if (history.size() > MaxHistory)
        history.resize(MaxHistory);
    return true;
}

std::string_view HistoryTarget(std::string_view entry)
{
    return entry.substr(0, entry.find('\t'));
}
