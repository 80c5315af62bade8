#include "app/AboutForm.h"

#include <QTest>

class TestAboutForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void theAboutBoxIsADialogueThatCannotBeMinimisedOrMaximised()
    {
        TAboutForm about;
        const Qt::WindowFlags flags = about.windowFlags();
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QCOMPARE(about.minimumSize(), about.maximumSize());
    }
};

QTEST_MAIN(TestAboutForm)
#include "tst_AboutForm.moc"
