// Any caption parses and lays out; its runs hold exactly its characters.
#include "controls/NiceText.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view caption(reinterpret_cast<const char*>(data), size);
    const TNiceText text = ParseNiceText(caption);
    size_t characters = 0;
    for (const TNiceRun& run : text.Runs) {
        if (run.Text.empty() || run.Line < 0 || run.Line >= text.LineCount)
            std::abort();
        characters += run.Text.size();
    }
    if (characters > size)
        std::abort();
    const TNiceLayout layout
        = LayOutNiceText(text, 13, [](const TNiceRun& run) { return int(run.Text.size()) * 7; });
    if (layout.Left.size() != text.Runs.size() || layout.Height != 13 * text.LineCount)
        std::abort();
    NiceCaption(caption);
    return 0;
}
