#include "app/IcsFiles.h"
#include "app/TalvoForm.h"
#include "app/TalvoServices.h"
#include "base/DataFile.h"
#include "base/TextFile.h"
#include "controls/Dialogues.h"
#include "diary/CalendarPage.h"
#include "ical/IcalExport.h"
#include "ical/IcalImport.h"
#include "notes/NotesPage.h"

#include <QFile>
#include <QFileInfo>
#include <ctime>
#include <set>

using namespace Qt::StringLiterals;

// The diary as an iCalendar file: exported whole, and other calendars
// imported into it in one step.

namespace
{

const QString IcsFilter = u"iCalendar files (*.ics *.ical *.ifb);;All files (*)"_s;

std::filesystem::path LocalPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace

void TTalvoForm::ExportIcsClick()
{
    QString path = Services.Dialogues.PickFile(u"Export to iCalendar"_s, IcsFilter, true);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += u".ics"_s;
    if (FCalendarPage)
        FCalendarPage->EndEditing();
    Diary().CommitSelectedDay();
    const TIcalExport exported = ExportDiaryIcs(Diary().DiaryDays,
        { DiaryMonthsAt(Diary().CurrentDateTime), SystemZoneName(),
            static_cast<int64_t>(std::time(nullptr)) });
    if (!WriteFileAtomically(FollowLinks(LocalPath(path)), exported.Text))
        Services.Dialogues.ShowError(u"The calendar could not be written to "_s + path + u'.');
}

QString TTalvoForm::SaveForExport()
{
    // On its way out the program saved everything already.
    if (Exited)
        return {};
    if (FCalendarPage)
        FCalendarPage->EndEditing();
    if (FNotesPage)
        FNotesPage->EndEditing();
    // Hidden, a diary changed by hand since is read back on restoring, unless
    // memory changed too; a file that stays as memory holds it needs no reading.
    const bool inStep = Session.DiaryFileTime() == DiaryFileAge;
    const std::vector<TSaveFailure> failures
        = Session.Save(FHiddenInTray ? TSaveMode::Changed : TSaveMode::Closing);
    ShowFormNotice();
    if (FHiddenInTray && inStep)
        DiaryFileAge = Session.DiaryFileTime();
    QStringList reasons;
    for (const TSaveFailure& failure : failures)
        reasons << u"the %1 could not be saved to \"%2\": %3"_s.arg(
            failure.Kind == dkDiary ? u"diary"_s : u"notes"_s,
            QString::fromStdString(failure.Path.string()),
            SaveFailureReason(failure.Result, failure.Error));
    return reasons.join(u"; "_s);
}

void TTalvoForm::ImportIcsClick()
{
    const QString path = Services.Dialogues.PickFile(u"Import from iCalendar"_s, IcsFilter, false);
    if (!path.isEmpty())
        ImportIcsFile(path);
}

bool TTalvoForm::ImportIcsFile(const QString& path)
{
    if (FCalendarPage)
        FCalendarPage->EndEditing();
    Diary().CommitSelectedDay();
    TIcalImport import = ReadIcsFile(
        LocalPath(path), { DiaryMonthsAt(Diary().CurrentDateTime), SystemZoneName() });
    if (import.Error.empty())
        LeaveOutPresent(import, Diary().DiaryDays);
    const QString question = QString::fromStdString(ImportQuestion(import));
    if (!import.Error.empty()) {
        Services.Dialogues.ShowError(question);
        return false;
    }
    if (import.Events.empty()) {
        Services.Dialogues.ShowInfo(question);
        return false;
    }
    if (!Services.Dialogues.AskConfirm(question))
        return false;
    ApplyIcsImport(import);
    return true;
}

void TTalvoForm::ApplyIcsImport(const TIcalImport& import)
{
    std::set<uint16_t> slots;
    for (const TImportedEvent& event : import.Events)
        slots.insert(DayIndex(event.Month, event.Day));
    // One step of the diary's history, which undo takes back whole.
    TCalendarPage* page = CalendarPage();
    page->EndEditing();
    Diary().CommitSelectedDay();
    page->BulkStep(
        "Import", { slots.begin(), slots.end() },
        [&] {
            ApplyIcalImport(import, Diary().DiaryDays);
            // The page shows its day's list again, imported events and all.
            Diary().LoadSelectedDay();
            return static_cast<int>(import.Events.size());
        },
        u"Imported %1 events. Ctrl+Z undoes it."_s);
}
