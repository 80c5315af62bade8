// Any bytes load as a notes tree, and a saved tree loads back to the same save.
// The first save may still differ from the second: a column width above 9999
// is written as "??nn", which reads back as another width.
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
    ParseNotes(text, tree);
    return FormatNotes(tree);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string saved
        = Resaved(Resaved(std::string_view(reinterpret_cast<const char*>(data), size)));
    if (Resaved(saved) != saved)
        std::abort();
    return 0;
}
