#pragma once

#include <QStringList>
#include <QValidator>
#include <functional>

// A line editor's guard for the 8-bit files: an edit (typing, pasting,
// dropping, an input method) that would bring in a character Windows-1252
// cannot hold, or a CR that would split a line of the file, is turned down as
// a whole, and `refused` is told which characters it held, so the user sees
// why nothing happened.
class TAnsiValidator final : public QValidator
{
    Q_OBJECT

public:
    explicit TAnsiValidator(
        std::function<void(const QStringList&)> refused, QObject* parent = nullptr);

    State validate(QString& input, int& pos) const override;

    // The characters of `text` that an 8-bit line cannot hold.
    static QStringList Refusable(const QString& text);

private:
    std::function<void(const QStringList&)> Refused;
};
