// Any bytes load as a notes tree, read as they are and as a file marked
// UTF-8, and a saved tree loads back to the same save in the form it was read
// in. The first save may still differ from the second: a column width above
// 9999 is written as "??nn", which reads back as another width.
#include "notes/NotesFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace
{

std::string Resaved(std::string_view text)
{
    TNotesTree tree;
    TTextRead read;
    ParseNotes(text, tree, &read);
    for (const TNoteNode* n = tree.Root(); n; n = tree.NextInOrder(*n)) {
        if (!IsValidUtf8(n->Name))
            std::abort();
        if (n->Data)
            for (const std::string_view line : n->Data->Lines)
                if (!IsValidUtf8(line))
                    std::abort();
    }
    return FormatNotes(tree, read.Form);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (const std::string& text : { bytes, std::string(Utf8Mark) + bytes }) {
        const std::string saved = Resaved(Resaved(text));
        if (Resaved(saved) != saved)
            std::abort();
    }
    return 0;
}
