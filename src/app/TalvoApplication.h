#pragma once

#include <QApplication>

class IDialogues;

// An application whose event handlers cannot end the program by an error:
// whatever escapes one is shown in the general error box and the program
// carries on.
class TGuardedApplication final : public QApplication
{
public:
    TGuardedApplication(int& argc, char** argv)
        : QApplication(argc, argv)
    {
    }
    bool notify(QObject* receiver, QEvent* event) override;
    void SetDialogues(IDialogues* dialogues) { Dialogues = dialogues; }

private:
    IDialogues* Dialogues = nullptr;
};

// The program's entry: one copy per user, the desktop's adapters, the main
// window, and an orderly end however the program is asked to stop.
class TTalvoApplication
{
public:
    static int Run(TGuardedApplication& application);
};
