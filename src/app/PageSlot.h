#pragma once

#include <QWidget>
#include <functional>

// A tab page's place in the page control. It is light to make and builds its
// page, through the factory it was given, the first time it is shown or the
// page is asked for; the page then fills the slot. So a start builds only the
// page it shows.
class TPageSlot final : public QWidget
{
    Q_OBJECT
public:
    // The factory makes the page (without a parent) and connects it; it runs once.
    using TFactory = std::function<QWidget*()>;

    explicit TPageSlot(TFactory factory, QWidget* parent = nullptr);

    // The page, built now if it was not yet.
    QWidget* Page();
    // The page, or null while it is not built.
    QWidget* BuiltPage() const { return FPage; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    TFactory Factory;
    QWidget* FPage = nullptr;
};
