#pragma once

#include "base/DataFile.h"
#include "base/IoError.h"
#include "base/Utf8Text.h"
#include "notes/NotesTree.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// "NOTES.DAT": the category tree as text. Each category is a header line
// (0xFF, the level digit, the view digit, ten four-digit column widths, the
// name) followed by its content lines, in depth-first pre-order, every line
// ending in CR LF.
//
// What the plain format cannot hold is written in a form of its own, which
// files without such text never contain (README.md, "NOTES.DAT"):
// - a content line that begins with 0xFF or holds a CR or the byte 0x1A is
//   written as 0xFF "=" and the line with those bytes escaped;
// - a name holding a CR or 0x1A is escaped the same way, and its header says
//   so with a view letter "A" + view instead of the view digit.
// Escaped text writes 0xFF 0xFF for 0xFF, 0xFF "M" for CR, 0xFF "Z" for 0x1A.
//
// The file is Windows-1252 unless it begins with the UTF-8 mark; the 0xFF
// marks stay single bytes in both forms (UTF-8 text never holds 0xFF).

inline constexpr std::string_view NotesFileName = "NOTES.DAT";
inline constexpr char NoteHeaderMark = '\xFF';

// The form a save of the tree takes: `least` (the form its file has), or
// UTF-8 when a name or a line holds a character Windows-1252 has not.
TTextForm NotesForm(const TNotesTree& tree, TTextForm least = tfAnsi);
// The file's text for the tree, in NotesForm(tree, least). Every category gets
// a record if it has none (as saving one does). Every top-level category is
// written at level 1.
std::string FormatNotes(TNotesTree& tree, TTextForm least = tfAnsi);
// Appends one category's block, and those below it, to `out` in the form.
void WriteNotesNode(std::string& out, uint8_t level, TNoteNode& node, TTextForm form = tfAnsi);
// Reads the categories of the text into the (empty) tree. Lines before the
// first header become the first lines of the first category's text. The
// byte 0x1A ends the text. Returns false when 0x1A stopped the reading with
// data after it (more 0x1A bytes and line ends are no data). `read` learns the
// form and whether bytes of a UTF-8 text were not UTF-8 (read as U+FFFD).
bool ParseNotes(std::string_view text, TNotesTree& tree, TTextRead* read = nullptr);

// Fills the (empty) tree from the file, or with the default categories when
// nothing was read. A read error, or an end-of-file byte with data after it,
// is noted in `file`, which then keeps the original before the next save
// replaces it. False after a read error.
bool LoadNotes(TNotesTree& tree, TDataFile& file, TIoError& ioError);

// Fills the (empty) tree from "NOTES.DAT" in the folder, or with the default
// categories when nothing was read. True when the whole file was read (a
// missing file counts as read); false after a read error or an end-of-file
// byte with more data after it, when the tree holds what came before.
bool LoadNotes(TNotesTree& tree, const std::filesystem::path& folder, TIoError& ioError);
// Writes the tree to "NOTES.DAT" through a temporary file, so a failed save
// leaves the previous file as it was. True on success.
bool SaveNotes(TNotesTree& tree, const std::filesystem::path& folder, TIoError& ioError);
