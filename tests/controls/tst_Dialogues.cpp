#include "controls/Dialogues.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace Qt::StringLiterals;

class TestDialogues : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The input box is wide enough for its whole title, and gives back what
    // was typed only on OK.
    void inputBoxShowsItsWholeTitle()
    {
        TDialogues dialogues;
        const QString caption = u"Make a Stick-On Reminder Note"_s;
        for (const bool accept : { true, false }) {
            int width = 0, needed = 0;
            QTimer::singleShot(0, this, [&] {
                auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
                QVERIFY(box);
                QFont bold = box->font();
                bold.setBold(true);
                width = box->width();
                needed = QFontMetrics(bold).horizontalAdvance(caption);
                box->setTextValue(u"Call Anna"_s);
                accept ? box->accept() : box->reject();
            });
            QString value = u"old"_s;
            QCOMPARE(dialogues.InputQuery(caption, u"Enter the Message"_s, value), accept);
            QVERIFY2(width > needed + 60, qPrintable(u"%1 %2"_s.arg(width).arg(needed)));
            QCOMPARE(value, accept ? u"Call Anna"_s : u"old"_s);
        }
    }

    // A short message leaves the box as wide as its title needs.
    void messageBoxesShowTheirWholeTitle()
    {
        TDialogues dialogues;
        const std::function<void()> boxes[] = { [&] { dialogues.ShowInfo(u"Item NOT Found"_s); },
            [&] { dialogues.ShowError(u"x"_s); }, [&] { dialogues.AskConfirm(u"?"_s); },
            [&] { dialogues.AskYesCancel(u"\u00e9"_s); },
            [&] { dialogues.ShowApplicationError(u"0"_s); } };
        for (const std::function<void()>& show : boxes) {
            int width = 0, needed = 0;
            QTimer::singleShot(0, this, [&] {
                QWidget* box = QApplication::activeModalWidget();
                QVERIFY(box);
                width = box->width();
                needed = TitleWidth(*box);
                box->close();
            });
            show();
            QVERIFY2(width >= needed, qPrintable(u"%1 %2"_s.arg(width).arg(needed)));
        }
    }
};

QTEST_MAIN(TestDialogues)
#include "tst_Dialogues.moc"
