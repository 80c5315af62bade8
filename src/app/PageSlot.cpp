#include "app/PageSlot.h"

#include <QVBoxLayout>

TPageSlot::TPageSlot(TFactory factory, QWidget* parent)
    : QWidget(parent)
    , Factory(std::move(factory))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

QWidget* TPageSlot::Page()
{
    if (FPage)
        return FPage;
    FPage = Factory();
    Factory = nullptr;
    layout()->addWidget(FPage);
    // A slot on screen shows its page at once, not at the layout's next turn.
    if (isVisible())
        FPage->show();
    return FPage;
}

void TPageSlot::showEvent(QShowEvent* event)
{
    Page();
    QWidget::showEvent(event);
}
