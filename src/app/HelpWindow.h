#pragma once

#include <QWidget>

class QTextBrowser;

// The program's help: HTML topics 1 (the program), 4 (the diary), 5 (the
// notes) and 6 (the calculator), shown in a window of its own.
class THelpWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);
    // Shows the window at the topic; an unknown topic shows topic 1.
    void ShowTopic(int topic);
    int CurrentTopic() const { return Topic; }
    static bool HasTopic(int topic);

private:
    QTextBrowser* Browser;
    int Topic = 0;
};
