#include "controls/ImageLists.h"
#include "controls/ProgramIcon.h"

#include <QImage>
#include <QPainter>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

int OpaquePixels(const QPixmap& pixmap)
{
    const QImage image = pixmap.toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 128;
    return count;
}

} // namespace

class TestImageLists : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyPictureIsDrawnAtBothSizes()
    {
        for (int i = 0; i < TImageLists::CalendarImageCount; ++i)
            for (const qreal ratio : { 1.0, 2.0 }) {
                const QPixmap pixmap = TImageLists::Calendar(i, ratio);
                QCOMPARE(pixmap.size(), QSize(16, 16) * ratio);
                QVERIFY2(OpaquePixels(pixmap) > 10 * ratio * ratio, qPrintable(QString::number(i)));
            }
        for (const int i : { TImageLists::biFind, TImageLists::biHelp, TImageLists::biCopy })
            QVERIFY(OpaquePixels(TImageLists::Button(i)) > 10);
    }

    void theDatedPageShowsItsTwoDigits()
    {
        // Every day draws something different, and the days differ from the empty page.
        const QImage empty = TImageLists::Calendar(TImageLists::ciEmptyPage).toImage();
        QList<QImage> days;
        for (int day = 1; day <= 31; ++day) {
            const QImage image = TImageLists::DatedPage(day).toImage();
            QVERIFY(image != empty);
            QVERIFY(!days.contains(image));
            days << image;
        }
        // 05 and 15 share the right digit but not the left.
        const QImage five = TImageLists::DatedPage(5).toImage();
        const QImage fifteen = TImageLists::DatedPage(15).toImage();
        QCOMPARE(five.copy(8, 5, 6, 9), fifteen.copy(8, 5, 6, 9));
        QVERIFY(five.copy(2, 5, 6, 9) != fifteen.copy(2, 5, 6, 9));
    }

    void iconsAnswerAsAnIconWithBothScalesWould()
    {
        // The twice-scale picture is drawn only when asked for; every answer
        // must still be the one the icon holding both pictures gives.
        QIcon reference;
        reference.addPixmap(TImageLists::Calendar(TImageLists::ciAlarm, 1.0));
        reference.addPixmap(TImageLists::Calendar(TImageLists::ciAlarm, 2.0));
        const auto image = [](const QPixmap& pixmap) {
            QImage result = pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
            return std::make_pair(result, pixmap.devicePixelRatio());
        };
        const auto painted = [](const QIcon& icon, qreal ratio, QIcon::Mode mode) {
            QImage canvas(QSize(20, 20) * ratio, QImage::Format_ARGB32_Premultiplied);
            canvas.setDevicePixelRatio(ratio);
            canvas.fill(Qt::transparent);
            QPainter painter(&canvas);
            icon.paint(&painter, QRect(2, 2, 16, 16), Qt::AlignCenter, mode);
            return canvas;
        };
        const QIcon icon = TImageLists::CalendarIcon(TImageLists::ciAlarm);
        QCOMPARE(icon.availableSizes(), reference.availableSizes());
        for (const QIcon::Mode mode :
            { QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected })
            for (const qreal ratio : { 1.0, 2.0 }) {
                for (const int side : { 8, 16, 22, 24, 32, 48 }) {
                    const QString what = u"%1 px at %2, mode %3"_s.arg(side).arg(ratio).arg(mode);
                    QVERIFY2(image(icon.pixmap(QSize(side, side), ratio, mode))
                            == image(reference.pixmap(QSize(side, side), ratio, mode)),
                        qPrintable(what));
                    QCOMPARE(icon.actualSize(QSize(side, side), mode),
                        reference.actualSize(QSize(side, side), mode));
                }
                QCOMPARE(painted(icon, ratio, mode), painted(reference, ratio, mode));
            }
    }

    void theProgramIconIsDrawnAtEverySizeAskedFor()
    {
        const QIcon icon = TProgramIcon::Icon();
        QVERIFY(!icon.isNull());
        for (const int side : { 16, 22, 32, 64, 128, 256 }) {
            const QPixmap pixmap = icon.pixmap(side);
            QCOMPARE(pixmap.size(), QSize(side, side));
            QCOMPARE(pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                TProgramIcon::Image(side));
            // Drawn once for the small sizes that are painted again and again.
            if (side <= 32)
                QCOMPARE(icon.pixmap(side).cacheKey(), pixmap.cacheKey());
        }
        // At twice the scale the picture has twice the pixels, not a blurred copy.
        const QPixmap sharp = icon.pixmap(QSize(16, 16), 2.0);
        QCOMPARE(sharp.deviceIndependentSize(), QSizeF(16, 16));
        QImage twice = TProgramIcon::Image(32);
        twice.setDevicePixelRatio(2.0);
        QCOMPARE(sharp.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied), twice);
        QVERIFY(icon.pixmap(32, QIcon::Disabled).toImage() != icon.pixmap(32).toImage());
    }
};

QTEST_MAIN(TestImageLists)
#include "tst_ImageLists.moc"
