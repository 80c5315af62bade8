#pragma once

#include <QDialog>

// The about box: the program's icon, its title, its revision and the maker.
class TAboutForm final : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);
    // The four numbers of the program's version joined by points.
    static QString RevisionText();
};
