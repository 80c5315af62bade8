#pragma once

#include "base/DataFile.h"
#include "base/IoError.h"
#include "base/Utf8Text.h"
#include "diary/DiaryEvent.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// "DIARY.DAT", the whole day table as text, and "DiaryOld.txt", the log of
// purged events. Both live in one folder that the caller names.

inline constexpr std::string_view DiaryFileName = "DIARY.DAT";
inline constexpr std::string_view DiaryOldFileName = "DiaryOld.txt";

// Type names in the purge log and the schedule's copy; indexed by TEventType.
inline constexpr std::array<std::string_view, 4> EventTypeNames { "", "Alarm", "Done", "Canned" };

// The form a save of the table takes: `least` (the form its file has), or
// UTF-8 when a description holds a character Windows-1252 has not.
TTextForm DiaryForm(const TDiaryDays& days, TTextForm least = tfAnsi);
// The file's text for the table, in DiaryForm(days, least): per slot its event
// lines and a line holding the byte 255, every line ending in CR LF; a UTF-8
// text begins with the mark and keeps the byte 255 (which UTF-8 never holds).
// A description is written up to its first CR, LF or byte 26, so it can
// neither split its line nor end the file.
std::string FormatDiary(const TDiaryDays& days, TTextForm least = tfAnsi);
// The text in the given form in blocks of DiaryBlockSize bytes (the last one
// shorter), each handed to `block` as soon as it is full, so the whole text is
// never held; stops once `block` returns false.
inline constexpr size_t DiaryBlockSize = 64 * 1024;
void FormatDiaryBlocks(const TDiaryDays& days, const std::function<bool(std::string_view)>& block,
    TTextForm form = tfAnsi);

// A digest of a diary text, taken block by block: the text whole and its
// blocks from FormatDiaryBlocks give the same value.
class TDiaryDigest
{
public:
    void Add(std::string_view block);
    uint64_t Value() const { return Digest; }

private:
    uint64_t Digest = 0xCBF29CE484222325;
};
uint64_t DiaryTextDigest(std::string_view text);
// The digest of the table's text in DiaryForm(days, least), formatted block by block.
uint64_t DiaryDigest(const TDiaryDays& days, TTextForm least = tfAnsi);
// The digest of the table's text when the diary's file holds exactly that text,
// so that a save would change nothing; nothing when it differs, cannot be read,
// or was not read whole at its last load (its original is yet to be kept).
std::optional<uint64_t> UnchangedDiaryDigest(const TDiaryDays& days, const TDataFile& file);
// Appends the events of the text to the table, slot 0 first. CR LF, LF and CR
// each end a line, empty lines are skipped, the byte 26 ends the text. A text
// that begins with the mark is UTF-8, any other Windows-1252. Any byte
// sequence is accepted: bytes of a UTF-8 text that are not UTF-8 read as
// U+FFFD, and the result says so.
TTextRead ParseDiary(std::string_view text, TDiaryDays& days);

// Fills the (empty) table from the diary's file. A missing or unreadable file
// leaves it empty; a read that fails part-way keeps what was read. The file
// learns its form and whether the load stopped early (a read error, a byte 26
// with data after it, or bytes of a UTF-8 file that are not UTF-8), so its
// original is kept before the next save. True when the whole file was read.
// The file is read twice, in pieces of `pieceSize` bytes into one buffer: a
// sweep that counts, then `betweenSweeps`, then a sweep that parses.
bool LoadDiary(TDiaryDays& days, TDataFile& file, TIoError& ioError,
    size_t pieceSize = DiaryBlockSize, const std::function<void()>& betweenSweeps = {});
// The same for "DIARY.DAT" in the folder.
bool LoadDiary(TDiaryDays& days, const std::filesystem::path& folder, TIoError& ioError);
// Writes the table to "DIARY.DAT" in the folder, in DiaryForm(days, least).
// True on success.
bool SaveDiary(const TDiaryDays& days, const std::filesystem::path& folder, TIoError& ioError,
    TTextForm least = tfAnsi);

// "05 Mar 2024<TAB>09:30<TAB>Alarm<TAB>Dentist": the line of one event in the
// purge log and in the schedule's copy.
std::string EventReportLine(uint16_t day, uint16_t month, uint16_t year,
    std::string_view description, TEventType eventType, uint16_t time);

// Appends the lines to "DiaryOld.txt" in the folder, creating it when it is
// missing, each line ending in CR LF and cut at its first line break. The log
// stays Windows-1252 while the lines fit; the first line that does not turns
// it into UTF-8 with the mark, its earlier lines converted. False when the
// file could not be written; the purge goes on regardless.
bool AppendDiaryOld(const std::filesystem::path& folder, const std::vector<std::string>& lines);
