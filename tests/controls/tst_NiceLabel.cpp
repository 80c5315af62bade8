#include "controls/NiceLabel.h"
#include "platform/AnsiText.h"

#include <QImage>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

QFont LabelFont()
{
    return QFont(u"DejaVu Sans"_s, 12);
}

QFont BoldFont()
{
    QFont bold = LabelFont();
    bold.setBold(true);
    return bold;
}

// The columns holding pixels close to the colour.
QList<int> ColumnsOf(const QImage& image, QColor colour)
{
    QList<int> columns;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y) {
            const QColor p = image.pixelColor(x, y);
            if (std::abs(p.red() - colour.red()) < 40 && std::abs(p.green() - colour.green()) < 40
                && std::abs(p.blue() - colour.blue()) < 40) {
                columns.append(x);
                break;
            }
        }
    return columns;
}

QImage Grab(TNiceLabel& label)
{
    QImage image(label.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    label.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace

class TestNiceLabel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void autoSizeFitsTheWidestLineAndEveryLine()
    {
        TNiceLabel label;
        label.setFont(LabelFont());
        label.resize(300, 200);
        label.SetCaption("\\bWide text");
        QCOMPARE(label.size(), QSize(300, 200));
        label.SetAutoSize(true);
        const QFontMetrics plain(LabelFont());
        QCOMPARE(label.size(),
            QSize(QFontMetrics(BoldFont()).horizontalAdvance(u"Wide text"_s), plain.height()));
        label.SetCaption("A\\nB");
        QCOMPARE(label.height(), 2 * plain.height());
        QCOMPARE(label.width(), plain.horizontalAdvance(u"A"_s));
        label.SetCaption("A\r\nlonger\r\n");
        QCOMPARE(label.height(), 3 * plain.height());
        QCOMPARE(label.width(), plain.horizontalAdvance(u"longer"_s));
        // The label's own font counts, every time it changes.
        label.setFont(QFont(u"DejaVu Sans"_s, 24));
        QCOMPARE(label.height(), 3 * QFontMetrics(label.font()).height());
    }

    void captionsKeepLineEndsAsBreakCodes()
    {
        TNiceLabel label;
        label.SetCaption(ToCore(u"one\r\ntwo \u00E9"_s));
        QCOMPARE(label.Caption(), std::string("one\\ntwo é"));
    }

    void colourCodesColourTheirText()
    {
        TNiceLabel label;
        label.setFont(BoldFont());
        label.SetAutoSize(true);
        label.SetCaption("\\9Red\\0Black");
        const QImage image = Grab(label);
        const QList<int> red = ColumnsOf(image, Qt::red);
        const QList<int> black = ColumnsOf(image, Qt::black);
        QVERIFY(!red.isEmpty());
        QVERIFY(!black.isEmpty());
        const int boundary = QFontMetrics(BoldFont()).horizontalAdvance(u"Red"_s);
        QVERIFY(red.last() < boundary);
        QVERIFY(black.first() >= boundary - 1);
    }

    void stylesLastOnlyUntilTheEndOfAPaint()
    {
        TNiceLabel label;
        label.setFont(LabelFont());
        label.SetAutoSize(true);
        label.SetCaption("\\b\\uab");
        const QImage first = Grab(label);
        const QImage second = Grab(label);
        QCOMPARE(first, second);
        QVERIFY(!label.font().bold());
    }

    void rendersMixedCodes()
    {
        TNiceLabel label;
        label.setFont(LabelFont());
        label.SetAutoSize(true);
        label.SetCaption("Normal \\bbold\\b normal \\iitalic\\i \\uunderlined\\u\r\n"
                         "\\9Red\\0 black \\<blue\\2 green \\;\\byellow\\b\\0\\n"
                         "abc\\xdef\\");
        const QImage image = Grab(label);
        QCOMPARE(image.height(), 3 * QFontMetrics(LabelFont()).height());
        const QString dir = qEnvironmentVariable("TALVO_SHOT_DIR", u"."_s);
        QVERIFY(image.save(dir + u"/nicelabel.png"_s));
    }
};

QTEST_MAIN(TestNiceLabel)
#include "tst_NiceLabel.moc"
