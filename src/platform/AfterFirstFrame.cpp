#include "platform/AfterFirstFrame.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace
{

// Posts its work when the first expose comes: the expose paints and flushes the
// window before anything posted meanwhile runs.
class TAfterFirstFrame final : public QObject
{
public:
    TAfterFirstFrame(QWindow* window, QObject* context, std::function<void()> then)
        : QObject(window)
        , Context(context)
        , Then(std::move(then))
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Expose || !static_cast<QWindow*>(watched)->isExposed())
            return false;
        watched->removeEventFilter(this);
        if (Context)
            QTimer::singleShot(0, Context, std::move(Then));
        deleteLater();
        return false;
    }

private:
    QPointer<QObject> Context;
    std::function<void()> Then;
};

} // namespace

void AfterFirstFrame(QWidget& window, QObject* context, std::function<void()> then)
{
    if (QWindow* handle = window.windowHandle())
        new TAfterFirstFrame(handle, context, std::move(then));
    else
        QTimer::singleShot(0, context, std::move(then));
}
