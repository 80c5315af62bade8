// Any bytes load as a diary, read as they are and as a file marked UTF-8: the
// descriptions are valid UTF-8, and what is saved, in the form the file was
// read in, loads back to the same save.
#include "diary/DiaryFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (const std::string& text : { bytes, std::string(Utf8Mark) + bytes }) {
        TDiaryDays days;
        const TTextRead read = ParseDiary(text, days);
        for (const TEventLink& head : days)
            for (const TDiaryEvent* e = head.get(); e; e = e->Next.get())
                if (!IsValidUtf8(e->Description))
                    std::abort();
        const std::string saved = FormatDiary(days, read.Form);
        TDiaryDays again;
        if (ParseDiary(saved, again).Invalid || FormatDiary(again, read.Form) != saved)
            std::abort();
    }
    return 0;
}
