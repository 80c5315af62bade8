#include "app/TalvoForm.h"
#include "app/TalvoServices.h"
#include "comms/CommsCommands.h"
#include "notes/NotesCommsCaret.h"
#include "notes/NotesEditPane.h"
#include "notes/NotesPage.h"
#include "platform/AnsiText.h"

void TTalvoForm::CreateComms(TNotesEditPane& editor)
{
    NotesCaret = std::make_unique<TNotesCommsCaret>(editor);
    TDialSettings settings;
    settings.ModemPort = [this] { return static_cast<int>(FOptions.ModemPort); };
    // Read when dialling, so a device named in the settings file since the
    // start counts at once.
    settings.ModemDevice = [this] {
        FSettings.OpenSettings();
        const std::string device = FSettings.ReadSettingText(Setting::ModemDevice.Name);
        FSettings.CloseSettings();
        return FromCore(device);
    };
    TCommsCommands::TCommands commands;
    commands.bDial = FNotesPage->bDial;
    commands.bSend = FNotesPage->bSend;
    commands.pmDial = FNotesPage->pmDial;
    commands.pmEmail = FNotesPage->pmEmail;
    commands.mDial = editor.DialItem();
    commands.mSend = editor.SendItem();
    FComms = new TCommsCommands(*NotesCaret, Services.Dialogues, Services.Desktop, Services.Serial,
        std::move(settings), commands, this);
}
