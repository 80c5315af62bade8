#include "settings/PaletteColours.h"

#include "settings/SettingsConvert.h"

#include <QCoreApplication>
#include <QEvent>

TPaletteColours::TPaletteColours(QObject* parent)
    : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

TPaletteColours::~TPaletteColours()
{
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeEventFilter(this);
}

void TPaletteColours::Follow(Slot slot, TColour colour, TSetter set)
{
    set(ColourToQColor(colour));
    Followed.insert_or_assign(slot, TFollowed { colour, std::move(set) });
}

void TPaletteColours::Refresh()
{
    for (const auto& [slot, followed] : Followed)
        followed.Set(ColourToQColor(followed.Colour));
}

bool TPaletteColours::eventFilter(QObject* watched, QEvent* event)
{
    // The application itself hears of a new palette once, before its widgets do.
    if (event->type() == QEvent::ApplicationPaletteChange
        && watched == QCoreApplication::instance())
        Refresh();
    return false;
}
