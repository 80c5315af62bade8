#include "settings/SettingsConvert.h"

#include <QApplication>
#include <QTest>

using namespace Qt::StringLiterals;

class TestSettingsConvert : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void directColoursKeepRedGreenAndBlue()
    {
        QCOMPARE(ColourToQColor(RgbColour(1, 2, 3)), QColor(1, 2, 3));
        QCOMPARE(ColourToQColor(0x00FF0000), QColor(Qt::blue));
        QCOMPARE(ColourToQColor(0x000000FF), QColor(Qt::red));
        QCOMPARE(QColorToColour(QColor(Qt::yellow)), TColour(0x0000FFFF));
        QCOMPARE(QColorToColour(QColor(10, 20, 30, 40)), RgbColour(10, 20, 30));
        QCOMPARE(QColorToColour(QColor::fromHsv(120, 255, 255)), RgbColour(0, 255, 0));
    }

    void desktopColoursComeFromThePalette()
    {
        QPalette palette;
        int shade = 1;
        for (int group : { QPalette::Active, QPalette::Disabled, QPalette::Inactive })
            for (int role = 0; role < QPalette::NColorRoles; ++role)
                palette.setColor(QPalette::ColorGroup(group), QPalette::ColorRole(role),
                    QColor::fromRgb(shade++, 0, 0));
        const auto colour = [&](QPalette::ColorGroup group, QPalette::ColorRole role) {
            return palette.color(group, role);
        };
        QCOMPARE(ColourToQColor(SystemColour(ScrollBarColourIndex), palette),
            colour(QPalette::Active, QPalette::Button));
        QCOMPARE(ColourToQColor(SystemColour(WindowColourIndex), palette),
            colour(QPalette::Active, QPalette::Base));
        QCOMPARE(
            ColourToQColor(SystemColour(8), palette), colour(QPalette::Active, QPalette::Text));
        QCOMPARE(ColourToQColor(SystemColour(13), palette),
            colour(QPalette::Active, QPalette::Highlight));
        QCOMPARE(
            ColourToQColor(SystemColour(17), palette), colour(QPalette::Disabled, QPalette::Text));
        QCOMPARE(ColourToQColor(SystemColour(24), palette),
            colour(QPalette::Active, QPalette::ToolTipBase));
        QCOMPARE(
            ColourToQColor(SystemColour(30), palette), colour(QPalette::Active, QPalette::Window));
        QCOMPARE(
            ColourToQColor(SystemColour(31), palette), colour(QPalette::Active, QPalette::Window));
        QCOMPARE(ColourToQColor(0xFFFFFFFF, palette), colour(QPalette::Active, QPalette::Window));
    }

    void theFontRoundTrips()
    {
        const TSettingsFont font { "Café Łódź Mono", 12, fsBold | fsUnderline };
        const QFont qt = SettingsFontToQFont(font);
        QCOMPARE(qt.family(), u"Café Łódź Mono"_s);
        QCOMPARE(qt.pointSize(), 12);
        QVERIFY(qt.bold());
        QVERIFY(!qt.italic());
        QVERIFY(qt.underline());
        QVERIFY(!qt.strikeOut());
        QVERIFY(QFontToSettingsFont(qt) == font);

        const TSettingsFont other { "MS Sans Serif", 8, fsItalic | fsStrikeOut };
        QVERIFY(QFontToSettingsFont(SettingsFontToQFont(other)) == other);
    }

    void aFontWithoutSizeTakesTheApplicationsSize()
    {
        QFont base = QApplication::font();
        base.setPointSize(14);
        QApplication::setFont(base);
        QCOMPARE(SettingsFontToQFont({ "Arial", 0, 0 }).pointSize(), 14);
        QCOMPARE(SettingsFontToQFont({ "Arial", -3, 0 }).pointSize(), 14);
    }

    void aLongFaceNameIsCut()
    {
        QFont font;
        font.setFamilies({ QString(40, u'n') });
        QCOMPARE(QFontToSettingsFont(font).Name, std::string(31, 'n'));
        font.setPixelSize(16);
        QCOMPARE(QFontToSettingsFont(font).Size, 12);
    }

    void rowsAreSevenPixelsTallerThanTheCharacters()
    {
        QFont font;
        font.setPointSize(8);
        QCOMPARE(FontPixelHeight(font, 96), 11);
        QCOMPARE(GridRowHeight(font, 96), 18);
        font.setPointSize(10);
        QCOMPARE(GridRowHeight(font, 96), 20); // 13.3 rounds down
        font.setPointSize(12);
        QCOMPARE(GridRowHeight(font, 120), 27);
        font.setPixelSize(15);
        QCOMPARE(GridRowHeight(font, 144), 22);

        // A hand-typed size too large for any screen shows at the limit.
        const QFont huge = SettingsFontToQFont({ "Arial", INT32_MAX, 0 });
        QCOMPARE(huge.pointSize(), MaxFontPoints);
        font.setPixelSize(INT32_MAX);
        QCOMPARE(GridRowHeight(font, 96), MaxRowPixels);
    }
};

QTEST_MAIN(TestSettingsConvert)
#include "tst_SettingsConvert.moc"
