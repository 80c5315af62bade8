#include "controls/Dialogues.h"

#include <QInputDialog>
#include <QTest>

using namespace Qt::StringLiterals;

class TestDialogues : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void anInputBoxIsWideEnoughForItsWholeCaption()
    {
        QGuiApplication::setApplicationDisplayName(u"Talvo95"_s);
        for (const QString& caption : { u"Make a Stick-On Reminder Note"_s, u"Go"_s }) {
            QInputDialog box;
            box.setWindowTitle(caption);
            box.setLabelText(u"Enter the Message"_s);
            FitCaption(box);
            QCOMPARE(ShownCaption(box), caption + u" \u2014 Talvo95"_s);
            box.show();
            QVERIFY(QTest::qWaitForWindowExposed(&box));
            QFont bold = box.font();
            bold.setBold(true);
            QVERIFY(box.width()
                >= QFontMetrics(bold).horizontalAdvance(ShownCaption(box)) + CaptionAllowance);
        }
    }
};

QTEST_MAIN(TestDialogues)
#include "tst_Dialogues.moc"
