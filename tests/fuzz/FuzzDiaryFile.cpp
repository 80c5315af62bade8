// Any bytes load as a diary, and what is saved loads back to the same save.
#include "diary/DiaryFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TDiaryDays days;
    ParseDiary(text, days);
    const std::string saved = FormatDiary(days);
    TDiaryDays again;
    ParseDiary(saved, again);
    if (FormatDiary(again) != saved)
        std::abort();
    return 0;
}
