#pragma once

#include <QObject>

// Pop-up hints on or off for the whole application: while off it swallows
// every tool-tip request. It watches the application from its construction
// to its destruction; the main window owns the one the program uses.
class THintSwitch final : public QObject
{
    Q_OBJECT
public:
    explicit THintSwitch(QObject* parent = nullptr);

    bool Enabled() const { return On; }
    void SetEnabled(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool On = true;
};
