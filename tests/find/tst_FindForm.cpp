#include "controls/FakeDialogues.h"
#include "find/FindForm.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

class TestFindForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void enterSearchesEscClosesAndTheHistoryKeepsTypedTexts()
    {
        TFakeDialogues dialogues;
        TFindForm form(dialogues);
        QCOMPARE(form.windowTitle(), u"Find"_s);
        QVERIFY(form.width() >= 227 && form.height() >= 51);
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QStringList searched;
        std::optional<bool> outcome = false;
        form.Search = [&](const QString& text) {
            searched << text;
            return outcome;
        };
        bool closed = false;
        form.Closed = [&] { closed = true; };
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QLineEdit* edit = form.Target()->lineEdit();
        QCOMPARE(QApplication::focusWidget(), form.Target());

        QTest::keyClicks(edit, u"dentist"_s);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(searched, QStringList { u"dentist"_s });
        QCOMPARE(dialogues.Infos, QStringList { u"Item NOT Found"_s });
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(form.Target()->count(), 1);

        // Found, or nothing to search on this page: no message.
        outcome = true;
        edit->clear();
        QTest::keyClicks(edit, u"Tax"_s);
        form.findChild<QPushButton*>(u"FindNext"_s)->click();
        outcome = std::nullopt;
        form.FindNextClick();
        QCOMPARE(dialogues.Infos.size(), 2);
        QCOMPARE(form.History(), (std::vector<std::string> { "Tax", "dentist" }));

        // A text picked from the list leaves the history alone.
        form.Target()->setCurrentIndex(1);
        Q_EMIT form.Target()->activated(1);
        form.FindNextClick();
        QCOMPARE(searched.last(), u"dentist"_s);
        QCOMPARE(form.History(), (std::vector<std::string> { "Tax", "dentist" }));

        // An empty text does nothing at all.
        edit->clear();
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(searched.size(), 5);

        // Text of every language is searched and kept in the history as typed.
        edit->insert(u"Łódź 東京 😀"_s);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(searched.last(), u"Łódź 東京 😀"_s);
        QCOMPARE(form.Target()->itemText(0), u"Łódź 東京 😀"_s);
        QCOMPARE(form.History().front(), "Łódź 東京 😀");

        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(!form.isVisible());
        QVERIFY(closed);
    }
};

QTEST_MAIN(TestFindForm)
#include "tst_FindForm.moc"
