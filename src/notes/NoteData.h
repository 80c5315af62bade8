#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One category's content: its text as lines (8-bit, without line ends; TABs
// separate a table's fields), whether the page shows it as a table, and the
// pixel widths of table columns 1 to 10.
struct TNoteData {
    static constexpr uint16_t DefaultColWidth = 64;

    std::vector<std::string> Lines;
    // 0: shown as text; any other value: as a table. The page writes back 0 or 1.
    uint8_t AsGrid = 0;
    std::array<uint16_t, 10> ColWidths { DefaultColWidth, DefaultColWidth, DefaultColWidth,
        DefaultColWidth, DefaultColWidth, DefaultColWidth, DefaultColWidth, DefaultColWidth,
        DefaultColWidth, DefaultColWidth };
};
