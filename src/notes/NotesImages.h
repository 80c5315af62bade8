#pragma once

#include <QIcon>

// The notes page's pictures, drawn rather than loaded so they stay sharp at
// 16 x 16 and on high-density screens.

// The tree's images: a page of text lines, a small table.
enum TTreeImage { TreeImageText = 0, TreeImageTable = 1 };
QIcon TreeImage(TTreeImage image);

// The notes tool bar's glyphs that no shared image list holds.
enum TNotesGlyph {
    ngAddCategory,
    ngDeleteCategory,
    ngDial,
    ngSend,
    ngCut,
    ngPaste,
    ngChangeCase,
    ngWordWrap,
    ngInsertRow,
    ngDeleteRow,
    ngSort
};
// Drawn to be seen on `ground`, the tool bar's colour: on a dark desktop the
// glyphs' inks are lighter.
QIcon NotesGlyph(TNotesGlyph glyph, const QColor& ground);
// On the application's window colour.
QIcon NotesGlyph(TNotesGlyph glyph);
