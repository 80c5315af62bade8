#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class IDialogues;
class QComboBox;
class QPushButton;

// The "Find" window: a text box with the last 20 searches and two buttons.
// What is searched belongs to the main window's showing page, so the window
// hands the text to Search and only reports the outcome. It stays open for
// the next search and above the main window.
class TFindForm final : public QDialog
{
    Q_OBJECT

public:
    // Where the window first appears.
    static constexpr int FirstLeft = 118;
    static constexpr int FirstTop = 176;

    explicit TFindForm(IDialogues& dialogues, QWidget* parent = nullptr);
    ~TFindForm() override;

    // Searches the showing page for the text and selects the hit: true when
    // found, false when not, nothing when the page has nothing to search.
    std::function<std::optional<bool>(const QString& text)> Search;
    // After the window has closed: the focus goes back to the page.
    std::function<void()> Closed;

    QComboBox* Target() const { return FindTarget; }
    const std::vector<std::string>& History() const { return FHistory; }

    void FindNextClick();
    void FindCloseClick();
    // Esc, as "Close".
    void reject() override { FindCloseClick(); }

protected:
    void changeEvent(QEvent* event) override;

private:
    void FormActivate();
    void ShowHistory(const QString& text);

    IDialogues& Dialogues;
    QComboBox* FindTarget = nullptr;
    QPushButton* FindNext = nullptr;
    QPushButton* FindClose = nullptr;
    // Newest first, as UTF-8.
    std::vector<std::string> FHistory;
    // The text in the box was picked from the list, not typed.
    bool Picked = false;
};
