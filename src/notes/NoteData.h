#pragma once

#include "notes/NoteLines.h"

#include <array>
#include <cstdint>

// One category's content: its text as lines (UTF-8, without line ends; TABs
// separate a table's fields), whether the page shows it as a table, and the
// pixel widths of table columns 1 to 10.
struct TNoteData {
    static constexpr uint16_t DefaultColWidth = 64;

    TNoteLines Lines;
    // 0: shown as text; any other value: as a table. The page writes back 0 or 1.
    uint8_t AsGrid = 0;
    std::array<uint16_t, 10> ColWidths { DefaultColWidth, DefaultColWidth, DefaultColWidth,
        DefaultColWidth, DefaultColWidth, DefaultColWidth, DefaultColWidth, DefaultColWidth,
        DefaultColWidth, DefaultColWidth };
};
