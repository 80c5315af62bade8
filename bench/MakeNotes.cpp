// Writes the benchmarks' 40 MB NOTES.DAT (10,000 categories, 1,000,000 lines)
// into a folder, for the scripts that run the whole program.
#include "BenchNotes.h"
#include "notes/NotesFile.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "Usage: bench_make_notes <folder>\n");
        return 2;
    }
    TNotesTree tree;
    FillNotes(tree);
    TIoError ioError;
    return SaveNotes(tree, argv[1], ioError) ? 0 : 1;
}
