#include "notes/NotesDocument.h"

#include "controls/Dialogues.h"
#include "notes/NotesFile.h"

#include <functional>
#include <string>
#include <string_view>

using namespace Qt::StringLiterals;

TNotesDocument::TNotesDocument(IDialogues& dialogues)
    : Dialogues(dialogues)
{
}

bool TNotesDocument::Open(const std::filesystem::path& folder, TIoError& ioError)
{
    const std::filesystem::path path = folder / NotesFileName;
    if (!NotesData || NotesData->Path() != path)
        NotesData.emplace(path);
    if (View)
        View->TreeReplacing();
    // Whatever is still in memory gives way to the file.
    FTree.Clear();
    const bool read = LoadNotes(FTree, *NotesData, ioError);
    SavedDigest.reset();
    if (View)
        View->TreeReplaced();
    return read && NotesData->LoadEnd() != TDataFile::leStoppedEarly;
}

bool TNotesDocument::Save(TIoError& ioError, TDateTime now, bool onlyIfChanged)
{
    // Never a tree that was not read: an empty tree would empty the file.
    if (!Loaded())
        return true;
    if (View)
        View->StoreSelected();
    const std::string text = FormatNotes(FTree);
    const size_t digest = std::hash<std::string_view>()(text);
    if (onlyIfChanged && SavedDigest == digest)
        return true;
    // A file that holds the notes already is not written again.
    if (NotesData->Holds(text)) {
        SavedDigest = digest;
        return true;
    }
    const TDataFile::TSaveResult result = SaveDataText(text, *NotesData, ioError, now);
    if (result == TDataFile::srSaved) {
        SavedDigest = digest;
        return true;
    }
    const QString reason = SaveFailureReason(result);
    Dialogues.ShowError(u"The notes could not be saved to \"%1\": %2. "
                        "Your notes are kept in memory; free some space or "
                        "check the folder, then close the window again to save."_s.arg(
                            QString::fromStdString(NotesData->Path().string()), reason));
    return false;
}

void TNotesDocument::ShowLoadNotice(TDateTime now)
{
    if (!NotesData || !NotesData->TakeNotice())
        return;
    const QString why = NotesData->LoadEnd() == TDataFile::leReadError
        ? u"a read error stopped the reading"_s
        : u"it holds an end-of-file mark (the byte 26) with more data after it"_s;
    Dialogues.ShowError(
        u"\"%1\" was read only in part: %2. The notes show what was read. Before the "
        "file is next saved, its original content is kept beside it as \"%3\"."_s.arg(
            QString::fromStdString(NotesData->Path().string()), why,
            QString::fromStdString(NotesData->BackupPathFor(now).filename().string())));
}

void TNotesDocument::Clear()
{
    if (View)
        View->TreeReplacing();
    FTree.Clear();
    if (View)
        View->TreeReplaced();
}
