// Writes the program's icon for the desktop's icon theme, at build time:
// <folder>/hicolor/<n>x<n>/apps/Talvo95.png and hicolor/scalable/apps/Talvo95.svg.
#include "controls/ProgramIcon.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: talvo_make_icons <folder>\n", stderr);
        return 2;
    }
    const QDir top(QString::fromLocal8Bit(argv[1]) + u"/hicolor"_s);
    bool written = true;
    for (int side : TProgramIcon::ThemeSizes) {
        const QString folder = u"%1x%1/apps"_s.arg(side);
        written = top.mkpath(folder)
            && TProgramIcon::Image(side).save(top.filePath(folder + u"/Talvo95.png"_s), "PNG")
            && written;
    }
    QFile svg(top.filePath(u"scalable/apps/Talvo95.svg"_s));
    written = top.mkpath(u"scalable/apps"_s) && svg.open(QIODevice::WriteOnly)
        && svg.write(TProgramIcon::Svg()) > 0 && written;
    if (!written)
        std::fputs("talvo_make_icons: an icon could not be written\n", stderr);
    return written ? 0 : 1;
}
