#include "calc/CalcKeypad.h"
#include "calc/Calculator.h"
#include "calc/CalculatorGrid.h"
#include "calc/CalculatorPage.h"
#include "controls/Contrast.h"
#include "controls/FakeDialogues.h"
#include "platform/Clipboard.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

// The calculator page as the user meets it: its buttons, typed keys (as the
// main window hands them over), the clipboard, the stack grid's mouse
// gestures and the error box.
class TestCalculatorPage : public QObject
{
    Q_OBJECT

    std::unique_ptr<TCalculator> Calc;
    std::unique_ptr<TFakeDialogues> Dialogues;
    std::unique_ptr<TMemoryClipboard> Clipboard;
    std::unique_ptr<TCalculatorPage> Page;

    TCalculatorGrid* Grid() const { return Page->findChild<TCalculatorGrid*>(u"CalculatorGrid"_s); }
    QPushButton* Button(const QString& name) const { return Page->findChild<QPushButton*>(name); }
    QString Row(int row) const { return Grid()->model()->index(row, 1).data().toString(); }
    void Click(const QString& name)
    {
        QPushButton* button = Button(name);
        QVERIFY2(button, qPrintable(name));
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void Type(const QString& keys)
    {
        for (QChar key : keys)
            Page->FormKeyPress(key);
    }
    QPoint RowCentre(int row) const
    {
        return QPoint(Grid()->columnViewportPosition(1) + 20,
            Grid()->rowViewportPosition(row) + Grid()->rowHeight(row) / 2);
    }

private Q_SLOTS:
    void init()
    {
        Calc = std::make_unique<TCalculator>();
        Dialogues = std::make_unique<TFakeDialogues>();
        Clipboard = std::make_unique<TMemoryClipboard>();
        Page = std::make_unique<TCalculatorPage>(*Calc, *Dialogues, *Clipboard);
        // As the main window starts it: the hex switch once, X selected.
        Page->CalcHexClick();
        Page->SetCurrentRow(7);
        Page->resize(520, 300);
        Page->show();
        QVERIFY(QTest::qWaitForWindowExposed(Page.get()));
    }

    void cleanup()
    {
        Page.reset();
        Calc.reset();
    }

    void gridModelIsSound()
    {
        QAbstractItemModelTester tester(
            Grid()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        Type(u"12\r3+"_s);
        QCOMPARE(Grid()->model()->index(7, 0).data().toString(), u"X r"_s);
        QCOMPARE(Grid()->model()->index(6, 0).data().toString(), u"Y \u00F8"_s);
        QCOMPARE(Grid()->model()->index(0, 0).data().toString(), u"e"_s);
        QVERIFY(Grid()->model()->index(7, 1).data(Qt::FontRole).value<QFont>().bold());
        QVERIFY(!Grid()->model()->index(6, 1).data(Qt::FontRole).value<QFont>().bold());
        QCOMPARE(Grid()->model()->index(6, 0).data(Qt::FontRole).value<QFont>().pointSize(), 13);
    }

    void buttonsTypeAndOperate()
    {
        for (const auto* name : { "Calc2", "CalcEnter", "Calc3", "CalcPlus" })
            Click(QString::fromLatin1(name));
        QCOMPARE(Row(7), u"5"_s);
        Click(u"Calc7"_s);
        Click(u"CalcPoint"_s);
        QCOMPARE(Row(7), u"7."_s);
        QCOMPARE(Row(6), u"5"_s);
        Click(u"CalcDiv"_s);
        QCOMPARE(Row(7), u"0.714285714285714"_s);
        Click(u"CalcSign"_s);
        Click(u"CalcInv"_s);
        QCOMPARE(Row(7), u"-1.4"_s);
        Click(u"CalcPi"_s);
        Click(u"CalcRoll"_s);
        QCOMPARE(Row(7), u"-1.4"_s);
        QCOMPARE(Button(u"CalcEnter"_s)->toolTip(), u"Push Up (between numbers)"_s);
    }

    void typedKeysGoToTheKeyProcessor()
    {
        Type(u"12."_s);
        QCOMPARE(Row(7), u"12."_s);
        Type(u"\r"_s);
        QCOMPARE(Row(7), u"12"_s);
        QCOMPARE(Row(6), u"12"_s);
        Type(u"5k"_s);
        QCOMPARE(Row(7), u"5k"_s);
        QVERIFY(Button(u"CalcEng"_s)->isChecked());
        Type(QString(QChar(0xB5))); // the micro sign from the keyboard
        QCOMPARE(Row(7), u"5m"_s);
        Page->SetCurrentRow(6);
        Type(u" "_s); // recalls the selected row
        QCOMPARE(Calc->CalcStack[0], 12.0);
    }

    void gridLeavesTypedCharactersAlone()
    {
        Type(u"0\r"_s);
        Page->SetCurrentRow(3);
        Grid()->setFocus();
        QTest::keyClicks(Grid(), u"00"_s); // no type-ahead search over the rows
        QCOMPARE(Page->CurrentRow(), 3);
        QTest::keyClick(Grid(), Qt::Key_Down);
        QCOMPARE(Page->CurrentRow(), 4);
        QTest::keyClick(Grid(), Qt::Key_End);
        QCOMPARE(Page->CurrentRow(), 7);
        QCOMPARE(Grid()->currentIndex().column(), 1);
    }

    void pasteTypesTheClipboard()
    {
        Clipboard->SetText(u"5\r\n7"_s);
        Type(QString(QChar(22)));
        QCOMPARE(Row(7), u"5"_s);
        QCOMPARE(Row(6), u"5"_s);

        Calc->ClearStack();
        Type(u"10"_s);
        Clipboard->SetText(u"2+3"_s);
        Page->findChild<QAction*>(u"CalcMenuPaste"_s)->trigger();
        QCOMPARE(Row(7), u"3"_s);
        QCOMPARE(Row(6), u"12"_s);
        QCOMPARE(Calc->EntryState, esResult);

        Clipboard->SetText(QString());
        Page->PasteX();
        QCOMPARE(Row(7), u"3"_s);
    }

    void copyPutsTheShownXOnTheClipboard()
    {
        Type(u"1234.5"_s);
        Page->findChild<QAction*>(u"CalcMenuCopy"_s)->trigger();
        QCOMPARE(Clipboard->Text(), u"1234.5"_s);
        Click(u"CalcEng"_s);
        Type(QString(QChar(3)));
        QCOMPARE(Clipboard->Text(), u"1.2345k"_s);
        Type(u"2u"_s);
        Type(QString(QChar(3)));
        QCOMPARE(Clipboard->Text(), u"2\u00B5"_s);
        Calc->ClearStack();
        Type(QString(QChar(22)));
        QCOMPARE(Calc->CalcStack[0], 2e-6);
    }

    void faultShowsTheGeneralErrorBoxAndCarriesOn()
    {
        Type(u"1\r0/"_s);
        QCOMPARE(
            Dialogues->ApplicationErrors, QStringList { u"Floating point division by zero"_s });
        QCOMPARE(Row(7), u"0"_s);
        QCOMPARE(Row(6), u"1"_s);

        Click(u"CalcInvTrig"_s);
        Type(u"2"_s);
        Click(u"CalcSin"_s);
        QCOMPARE(Dialogues->ApplicationErrors.size(), 2);
        QCOMPARE(Dialogues->ApplicationErrors.last(), u"Invalid floating point operation"_s);
        QVERIFY(Button(u"CalcInvTrig"_s)->isChecked());
        Type(u"S"_s);
        Click(u"CalcSin"_s); // asin(-2): still invalid
        Type(u"\b0.5"_s);
        Click(u"CalcSin"_s);
        QCOMPARE(Row(7), u"30"_s);
        QVERIFY(!Button(u"CalcInvTrig"_s)->isChecked());
    }

    void hexModeSwitchesTheButtons()
    {
        QVERIFY(!Button(u"CalcA"_s)->isEnabled());
        QVERIFY(!Button(u"CalcXor"_s)->isEnabled());
        QVERIFY(Button(u"CalcSin"_s)->isEnabled());
        QVERIFY(Button(u"CalcRaise"_s)->isEnabled());
        Type(u"5000000000\r1S"_s);
        Click(u"CalcHex"_s);
        QCOMPARE(Row(7), u"FFFFFFFF"_s);
        QCOMPARE(Row(6), u"00000000"_s);
        for (const auto* name : { "CalcA", "CalcF", "CalcAnd", "CalcNot", "CalcRight" })
            QVERIFY2(Button(QString::fromLatin1(name))->isEnabled(), name);
        for (const auto* name :
            { "CalcKilo", "CalcEng", "CalcSin", "CalcPi", "CalcRaise", "CalcFac" })
            QVERIFY2(!Button(QString::fromLatin1(name))->isEnabled(), name);
        QVERIFY(Button(u"Calc9"_s)->isEnabled());
        QVERIFY(Button(u"CalcRoll"_s)->isEnabled());

        Click(u"CalcF"_s);
        Click(u"CalcF"_s);
        Type(u"k"_s); // no prefixes on whole numbers
        QCOMPARE(Row(7), u"FF"_s);
        QCOMPARE(Calc->CalcStack[0], 255.0);
        Type(u"h"_s);
        QVERIFY(!Button(u"CalcHex"_s)->isChecked());
        QCOMPARE(Row(7), u"255"_s);
        QVERIFY(Button(u"CalcSin"_s)->isEnabled());
    }

    void doubleClickRecallsTheRow()
    {
        Type(u"1\r2\r3"_s);
        QTest::mouseDClick(Grid()->viewport(), Qt::LeftButton, {}, RowCentre(7));
        QCOMPARE(Row(7), u"3"_s);
        QTest::mouseDClick(Grid()->viewport(), Qt::LeftButton, {}, RowCentre(5));
        QCOMPARE(Row(7), u"1"_s);
        QCOMPARE(Row(6), u"3"_s);
        QCOMPARE(Row(5), u"2"_s);
        Page->SetCurrentRow(6);
        Page->findChild<QAction*>(u"CalcMenuRecall"_s)->trigger();
        QCOMPARE(Row(7), u"3"_s);
    }

    void draggingARowMovesTheLevel()
    {
        Type(u"1\r2\r3"_s);
        QWidget* viewport = Grid()->viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, RowCentre(7));
        QTest::mouseMove(viewport, RowCentre(4));
        QVERIFY(Grid()->grab().save(u"CalculatorDrag.png"_s)); // the bar shows where it lands
        QTest::mouseMove(viewport, QPoint(RowCentre(0).x(), -5)); // past the top
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(RowCentre(0).x(), -5));
        QCOMPARE(Row(7), u"2"_s);
        QCOMPARE(Row(6), u"1"_s);
        QCOMPARE(Row(0), u"3"_s);
        QCOMPARE(Page->CurrentRow(), 0);

        QTest::mousePress(viewport, Qt::LeftButton, {}, RowCentre(0));
        QTest::mouseMove(viewport, RowCentre(3));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, RowCentre(3));
        QCOMPARE(Row(3), u"3"_s);
        QCOMPARE(Row(0), u"0"_s);

        // A press without a drag only selects.
        QTest::mouseClick(viewport, Qt::LeftButton, {}, RowCentre(5));
        QCOMPARE(Page->CurrentRow(), 5);
        QCOMPARE(Row(7), u"2"_s);
    }

    void rightPressSelectsAndOpensTheMenu()
    {
        auto* menu = Page->findChild<QMenu*>(u"pmCalculator"_s);
        QTest::mousePress(Grid()->viewport(), Qt::RightButton, {}, RowCentre(2));
        QCOMPARE(Page->CurrentRow(), 2);
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->defaultAction()->text(), u"Recall"_s);
        menu->hide();
        QTest::mousePress(
            Grid()->viewport(), Qt::LeftButton, {}, QPoint(5, Grid()->viewport()->height() + 10));
        QCOMPARE(Page->CurrentRow(), 2);
    }

    void helpAndColour()
    {
        QSignalSpy help(Page.get(), &TCalculatorPage::HelpRequested);
        Click(u"CalculatorHelpButton"_s);
        QCOMPARE(help.size(), 1);
        QCOMPARE(help.first().first().toInt(), 6);

        QCOMPARE(Page->ColourCalculator(), Page->palette().color(QPalette::Base));
        Page->SetColourCalculator(QColor(255, 255, 192));
        QCOMPARE(Grid()->viewport()->palette().color(QPalette::Base), QColor(255, 255, 192));
    }

    void gridKeepsItsFontWhenTheWindowFontChanges()
    {
        const QString family = Grid()->font().family();
        Page->setFont(QFont(u"DejaVu Serif"_s, 16, QFont::Normal, true));
        QCOMPARE(Grid()->font().family(), family);
        QVERIFY(!Grid()->font().italic());
        QCOMPARE(Grid()->model()->index(7, 0).data(Qt::FontRole).value<QFont>().pointSize(), 13);
        // The keys grow to their larger captions.
        QPushButton* roll = Button(u"CalcRoll"_s);
        QVERIFY(roll->font().italic());
        QVERIFY(roll->minimumWidth() >= roll->fontMetrics().horizontalAdvance(roll->text()));
    }

    void everyKeyReadsWellOnLightAndDarkDesktops()
    {
        struct TDesktop {
            const char* Name;
            QColor Button, Text, Highlight;
        };
        const TDesktop desktops[] = {
            { "light", QColor(0xEF, 0xEF, 0xEF), Qt::black, QColor(0x30, 0x8C, 0xC6) },
            { "dark", QColor(0x35, 0x35, 0x35), Qt::white, QColor(0x2A, 0x82, 0xDA) },
            { "dark, pale highlight", QColor(0x2D, 0x2D, 0x2D), QColor(0xE0, 0xE0, 0xE0),
                QColor(0x9F, 0xC8, 0xF0) },
            { "light, deep highlight", QColor(0xF6, 0xF6, 0xF6), QColor(0x10, 0x10, 0x10),
                QColor(0x00, 0x20, 0x50) },
            { "grey text on mid grey", QColor(0x80, 0x80, 0x80), QColor(0x60, 0x60, 0x60),
                QColor(0xFF, 0x80, 0x00) },
        };
        for (const TDesktop& desktop : desktops) {
            QPalette colours = Page->palette();
            colours.setColor(QPalette::Button, desktop.Button);
            colours.setColor(QPalette::ButtonText, desktop.Text);
            colours.setColor(QPalette::Highlight, desktop.Highlight);
            Page->setPalette(colours);
            QColor operatorKey, enterKey;
            // The plain keys are the desktop's own buttons.
            for (const TKeyButton& key : KeyButtons) {
                if (key.Kind == TKeyKind::Plain)
                    continue;
                const QPalette shown = Button(QString::fromLatin1(key.Name))->palette();
                const QColor face = shown.color(QPalette::Active, QPalette::Button);
                const double ratio
                    = ContrastRatio(face, shown.color(QPalette::Active, QPalette::ButtonText));
                QVERIFY2(ratio >= 4.5,
                    qPrintable(u"%1 on %2: %3"_s.arg(QLatin1StringView(key.Name),
                        QLatin1StringView(desktop.Name), QString::number(ratio))));
                if (key.Kind == TKeyKind::Operator)
                    operatorKey = face;
                if (key.Kind == TKeyKind::Enter)
                    enterKey = face;
            }
            // Where the desktop leaves room, operators and Enter stand apart
            // from the plain keys.
            if (ContrastRatio(desktop.Button, desktop.Text) >= 7) {
                QVERIFY2(operatorKey != desktop.Button, desktop.Name);
                QVERIFY2(enterKey != operatorKey, desktop.Name);
            }
        }
    }

    void theWholeKeypadShowsAtThePagesOwnSize()
    {
        auto* scroller = Page->findChild<QScrollArea*>(u"CalculatorScroller"_s);
        for (const int points : { 0, 16, 20 }) {
            if (points)
                Page->setFont(QFont(u"DejaVu Sans"_s, points));
            Page->resize(Page->sizeHint());
            QCoreApplication::processEvents();
            QVERIFY2(
                !scroller->horizontalScrollBar()->isVisible(), qPrintable(QString::number(points)));
            QVERIFY2(
                !scroller->verticalScrollBar()->isVisible(), qPrintable(QString::number(points)));
        }
    }

    // The main window owns the record and the page is its child widget, so the
    // record goes first; in tests the page may go first.
    void recordAndPageMayEndInEitherOrder()
    {
        Calc.reset();
        Page.reset();

        Calc = std::make_unique<TCalculator>();
        Page = std::make_unique<TCalculatorPage>(*Calc, *Dialogues, *Clipboard);
        Page.reset();
        Calc->ClearStack();
        QVERIFY(Calc->CalcKey(3));
        QVERIFY(Calc->CalcKey(' '));
        QCOMPARE(Clipboard->Text(), QString());
    }

    void pageLooksLikeACalculator()
    {
        Type(u"1234.5\r2/"_s);
        Click(u"CalcEng"_s);
        Type(u"3\r"_s);
        Page->SetColourCalculator(QColor(255, 255, 224));
        QVERIFY(Page->grab().save(u"CalculatorPage.png"_s));
        Page->resize(760, 460);
        Type(u"h"_s);
        QVERIFY(Page->grab().save(u"CalculatorPageLargeHex.png"_s));
        Type(u"h"_s);

        // Squeezed to its smallest, it still fits under the tabs of the main
        // window at its least height; the keys keep their room and scroll, so
        // nothing is cut or overlaps.
        QVERIFY(Page->minimumSizeHint().height() <= 290);
        Page->resize(Page->minimumSizeHint());
        QVERIFY(Page->grab().save(u"CalculatorPageSmall.png"_s));
        const QWidget* keys = Page->findChild<QWidget*>(u"CalculatorKeys"_s);
        const auto buttons = Page->findChildren<QPushButton*>();
        QCOMPARE(buttons.size(), 58);
        for (int i = 0; i < buttons.size(); ++i) {
            const QRect place = buttons[i]->geometry();
            const QString name = buttons[i]->objectName();
            QVERIFY2(keys->rect().contains(place), qPrintable(name));
            QVERIFY2(!place.intersects(Grid()->geometry()), qPrintable(name));
            QVERIFY2(buttons[i]->fontMetrics().horizontalAdvance(buttons[i]->text()) + 6
                    <= place.width(),
                qPrintable(name));
            for (int j = i + 1; j < buttons.size(); ++j)
                QVERIFY2(!place.intersects(buttons[j]->geometry()),
                    qPrintable(name + u' ' + buttons[j]->objectName()));
        }
        const auto model = Grid()->model();
        const QFontMetrics values(model->index(7, 1).data(Qt::FontRole).value<QFont>());
        QVERIFY(
            values.horizontalAdvance(u"-1.79769313486232E-308"_s) + 8 <= Grid()->columnWidth(1));
        const QFontMetrics labels(model->index(6, 0).data(Qt::FontRole).value<QFont>());
        QVERIFY(labels.horizontalAdvance(u"Y \u00F8"_s) + 4 <= Grid()->columnWidth(0));
        // The toggles under the grid line up with the Enter row.
        QCOMPARE(
            Button(u"CalcHex"_s)->geometry().bottom(), Button(u"CalcEnter"_s)->geometry().bottom());
    }
};

QTEST_MAIN(TestCalculatorPage)
#include "tst_CalculatorPage.moc"
