#pragma once

#include "controls/Dialogues.h"

#include <QStringList>
#include <deque>
#include <functional>

// Records every box and answers from a queue; an unexpected question is an error.
class TFakeDialogues final : public IDialogues
{
public:
    QStringList Infos, Errors, Confirms, ApplicationErrors, Inputs, FilePicks;
    std::deque<bool> ConfirmAnswers;
    std::deque<QString> InputAnswers; // a null QString answers Cancel
    std::deque<QString> FileAnswers; // none left answers Cancel
    // Runs while an information box would be open.
    std::function<void()> WhileInfoShown;

    void ShowInfo(const QString& message) override
    {
        Infos << message;
        if (WhileInfoShown)
            WhileInfoShown();
    }
    void ShowError(const QString& message) override { Errors << message; }
    bool AskConfirm(const QString& message) override
    {
        Confirms << message;
        if (ConfirmAnswers.empty())
            return false;
        const bool answer = ConfirmAnswers.front();
        ConfirmAnswers.pop_front();
        return answer;
    }
    void ShowApplicationError(const QString& message) override { ApplicationErrors << message; }
    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override
    {
        Inputs << caption + u'|' + prompt;
        if (InputAnswers.empty() || InputAnswers.front().isNull()) {
            if (!InputAnswers.empty())
                InputAnswers.pop_front();
            return false;
        }
        value = InputAnswers.front();
        InputAnswers.pop_front();
        return true;
    }
    QString PickFile(const QString& caption, const QString&, bool forSave) override
    {
        FilePicks << caption + (forSave ? QStringLiteral("|save") : QStringLiteral("|open"));
        if (FileAnswers.empty())
            return {};
        const QString answer = FileAnswers.front();
        FileAnswers.pop_front();
        return answer;
    }
};
