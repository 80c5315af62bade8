#pragma once

#include "diary/DiaryFile.h"
#include "ical/IcalImport.h"
#include "ical/IcalText.h"

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The diary's months in the tests: February 2027 to January 2028, in Berlin.
inline constexpr TDiaryMonths TestMonths { 2027, 3 };
inline const std::string TestZone = "Europe/Berlin";

inline std::string Fixture(const std::string& name)
{
    std::ifstream file(std::string(TALVO_ICAL_FIXTURES) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// "04-05 0930 A L Dentist": month-day, time, type (-, A, D, X), lock and
// description (UTF-8) of each event.
inline std::vector<std::string> Listed(const TIcalImport& import)
{
    std::vector<std::string> lines;
    for (const TImportedEvent& e : import.Events) {
        char head[32];
        std::snprintf(head, sizeof head, "%02u-%02u %04u %c%s ", e.Month, e.Day, e.Time,
            "-ADX"[e.EventType & 3], e.Locked ? " L" : "");
        lines.push_back(head + Utf8FromDiaryText(e.Description));
    }
    return lines;
}

inline TIcalImport ReadTestIcs(std::string_view text, const std::string& zone = TestZone)
{
    return ReadIcs(text, { TestMonths, zone });
}
