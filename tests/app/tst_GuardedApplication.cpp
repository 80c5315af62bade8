#include "app/TalvoApplication.h"
#include "controls/FakeDialogues.h"

#include <QPushButton>
#include <QTest>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace
{

class TThrower final : public QObject
{
public:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::User)
            throw std::runtime_error("Floating point overflow");
        return QObject::event(event);
    }
};

TFakeDialogues* Dialogues = nullptr;

} // namespace

class TestGuardedApplication : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void anErrorEscapingAHandlerIsShownAndTheProgramCarriesOn()
    {
        TThrower thrower;
        QEvent direct(QEvent::User);
        QCoreApplication::sendEvent(&thrower, &direct);
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        QCOMPARE(Dialogues->ApplicationErrors,
            QStringList({ u"Floating point overflow"_s, u"Floating point overflow"_s }));
    }

    void aClickedButtonsHandlerThatFailsIsReportedToo()
    {
        Dialogues->ApplicationErrors.clear();
        QPushButton button;
        connect(&button, &QPushButton::clicked, &button,
            [] { throw std::runtime_error("Failed to set data for 'OnTop'"); });
        button.show();
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(Dialogues->ApplicationErrors, QStringList { u"Failed to set data for 'OnTop'"_s });
        // The button still works afterwards.
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(Dialogues->ApplicationErrors.size(), 2);
    }
};

int main(int argc, char** argv)
{
    TGuardedApplication application(argc, argv);
    TFakeDialogues dialogues;
    Dialogues = &dialogues;
    application.SetDialogues(&dialogues);
    TestGuardedApplication test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_GuardedApplication.moc"
