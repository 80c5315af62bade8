#pragma once

#include <QIcon>
#include <QPixmap>

// The program's small pictures, drawn rather than loaded so they stay sharp at
// 16 x 16 and at twice that on high-density screens. Each is drawn once and
// then taken from the application's pixmap cache.
//
// Calendar images: 0 padlock (locked), 1 red alarm clock (alarm; also the
// normal tray image and the schedule glyph), 2 green tick (done), 3 red cross
// (cancelled), 4 ringing alarm clock (alarm pending, overdue), 5 an empty
// calendar page, 6 the calendar page with today's day number.
// Button images: 8 find, 9 help, 14 copy.
class TImageLists
{
public:
    enum CalendarImage {
        ciLocked = 0,
        ciAlarm = 1,
        ciTicked = 2,
        ciCrossed = 3,
        ciRinging = 4,
        ciEmptyPage = 5,
        ciDatedPage = 6,
        CalendarImageCount
    };
    enum ButtonImage { biFind = 8, biHelp = 9, biCopy = 14 };

    static constexpr int ImageSize = 16;

    // A 16 x 16 picture drawn at `ratio` device pixels per logical pixel.
    static QPixmap Calendar(int index, qreal ratio = 1.0);
    static QPixmap Digit(int digit, qreal ratio = 1.0);
    static QPixmap Button(int index, qreal ratio = 1.0);
    // The empty page with the day drawn as two digits at (2, 5) and (8, 5).
    static QPixmap DatedPage(int day, qreal ratio = 1.0);
    // Both sizes, for icons.
    static QIcon CalendarIcon(int index);
    static QIcon ButtonIcon(int index);
    static QIcon DatedPageIcon(int day);

private:
    static QPixmap DrawCalendar(int index, qreal ratio);
    static QPixmap DrawButton(int index, qreal ratio);
};
