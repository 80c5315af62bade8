#pragma once

#include "settings/Colours.h"

#include <QObject>
#include <functional>
#include <map>

class QColor;

// Keeps the colours that the options give to controls in step with the
// desktop. A desktop colour reference (the default calendar, notes tree and
// calculator colours) is looked up in the palette again whenever the desktop's
// palette changes while the program runs, so a switch to a dark theme brings
// dark bodies with light text; a direct colour stays exactly as the user chose
// it. Only applied colours are followed: an edit in the properties window
// waits for "Apply" as before. The main window owns the one the program uses.
class TPaletteColours final : public QObject
{
    Q_OBJECT
public:
    enum Slot { CalendarSlot, TreeSlot, CalculatorSlot };
    using TSetter = std::function<void(const QColor&)>;

    explicit TPaletteColours(QObject* parent = nullptr);
    ~TPaletteColours() override;

    // Gives `set` the colour now and after every change of the palette,
    // replacing what the slot followed before.
    void Follow(Slot slot, TColour colour, TSetter set);
    // Gives every followed colour again, from the current palette.
    void Refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TFollowed {
        TColour Colour;
        TSetter Set;
    };
    std::map<Slot, TFollowed> Followed;
};
