#include "settings/HintSwitch.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>
#include <memory>

namespace
{

class THintCounter final : public QWidget
{
public:
    int Hints = 0;
    int Others = 0; // key presses and what's-this requests

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip)
            ++Hints;
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::WhatsThis)
            ++Others;
        return QWidget::event(event);
    }
};

void AskForHint(QWidget& widget)
{
    QHelpEvent hint(QEvent::ToolTip, QPoint(5, 5), widget.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&widget, &hint);
}

} // namespace

class TestHintSwitch : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void hintsReachControlsOnlyWhileOn()
    {
        THintCounter control;
        control.setToolTip(QStringLiteral("a hint"));
        auto hints = std::make_unique<THintSwitch>();
        QVERIFY(hints->Enabled());
        AskForHint(control);
        QCOMPARE(control.Hints, 1);

        hints->SetEnabled(false);
        AskForHint(control);
        AskForHint(control);
        QCOMPARE(control.Hints, 1);

        hints->SetEnabled(true);
        AskForHint(control);
        QCOMPARE(control.Hints, 2);

        hints->SetEnabled(false);
        hints.reset(); // the owner goes away: hints are the controls' own again
        AskForHint(control);
        QCOMPARE(control.Hints, 3);
    }

    void otherEventsPassWhileHintsAreOff()
    {
        THintSwitch hints;
        hints.SetEnabled(false);
        THintCounter control;
        QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(&control, &key);
        QHelpEvent whatsThis(QEvent::WhatsThis, QPoint(1, 1), QPoint(1, 1));
        QApplication::sendEvent(&control, &whatsThis);
        QCOMPARE(control.Others, 2);
        QCOMPARE(control.Hints, 0);
    }
};

QTEST_MAIN(TestHintSwitch)
#include "tst_HintSwitch.moc"
