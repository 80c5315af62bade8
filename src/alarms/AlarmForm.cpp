#include "alarms/AlarmForm.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace
{

constexpr int PanelSize = 25;

// A small cross in the note's text colour, sharp on high-density screens.
QIcon CloseGlyph(const QColor& colour, qreal ratio)
{
    constexpr int size = 9;
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(1, 1), QPointF(size - 1, size - 1));
    painter.drawLine(QPointF(size - 1, 1), QPointF(1, size - 1));
    return QIcon(pixmap);
}

QLabel* TextLabel(
    const QString& name, const QString& text, int pointSize, bool bold, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    // Plain text with no buddy: an "&" is shown as typed, not as a shortcut.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    label->setText(text);
    return label;
}

} // namespace

TAlarmForm::TAlarmForm(const QString& timeText, const QString& message, const QColor& colourOverdue)
    : QFrame(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(u"AlarmForm"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    // A note is no reason to keep the program running, nor to end it.
    setAttribute(Qt::WA_QuitOnClose, false);
    // An alarm must not take the keyboard from whatever the user is typing in.
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Clicked, it takes the keyboard: Escape and Return then close it.
    setFocusPolicy(Qt::ClickFocus);

    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::ToolTipBase));
    colours.setColor(QPalette::WindowText, colours.color(QPalette::ToolTipText));
    setPalette(colours);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);

    ClosePanel = new QWidget(this);
    ClosePanel->setObjectName(u"ClosePanel"_s);
    ClosePanel->setFixedSize(PanelSize, PanelSize);
    CloseButton = new QToolButton(ClosePanel);
    CloseButton->setObjectName(u"CloseButton"_s);
    CloseButton->setFixedSize(PanelSize, PanelSize);
    CloseButton->setAutoRaise(true);
    CloseButton->setCursor(Qt::PointingHandCursor);
    CloseButton->setFocusPolicy(Qt::StrongFocus);
    CloseButton->setToolTip(u"Close (Esc)"_s);
    CloseButton->setAccessibleName(u"Close"_s);
    CloseButton->setIcon(CloseGlyph(colours.color(QPalette::ToolTipText), devicePixelRatio()));
    connect(CloseButton, &QToolButton::clicked, this, &TAlarmForm::CloseButtonClick);

    Time = TextLabel(u"Time"_s, timeText, 16, true, this);
    QPalette timeColours = Time->palette();
    timeColours.setColor(QPalette::WindowText, colourOverdue);
    Time->setPalette(timeColours);
    // With no time the label takes no room but still gives the note its height,
    // so stick-on notes stack like alarm notes.
    if (timeText.isEmpty())
        Time->setMaximumWidth(0);
    Message = TextLabel(u"Message"_s, u' ' + message + u' ', 10, false, this);

    // The note hugs its texts: it takes exactly the size its parts ask for.
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(ClosePanel);
    layout->addWidget(Time);
    layout->addWidget(Message);
    adjustSize();
}

void TAlarmForm::EnableSnooze(int minutes)
{
    SnoozeMinutes = minutes;
    if (SnoozeButton)
        return;
    SnoozeButton = new QToolButton(this);
    SnoozeButton->setObjectName(u"SnoozeButton"_s);
    SnoozeButton->setText(u"Snooze"_s);
    SnoozeButton->setAutoRaise(true);
    SnoozeButton->setPopupMode(QToolButton::MenuButtonPopup);
    SnoozeButton->setFocusPolicy(Qt::StrongFocus);
    auto* menu = new QMenu(SnoozeButton);
    menu->setObjectName(u"SnoozeMenu"_s);
    for (int choice : SnoozeChoices) {
        QAction* item = menu->addAction(choice < 60 ? u"%1 minutes"_s.arg(choice) : u"1 hour"_s);
        item->setObjectName(u"Snooze%1"_s.arg(choice));
        connect(item, &QAction::triggered, this, [this, choice] { Snooze(choice); });
    }
    SnoozeButton->setMenu(menu);
    connect(SnoozeButton, &QToolButton::clicked, this, [this] { Snooze(SnoozeMinutes); });
    layout()->addWidget(SnoozeButton);
    setTabOrder(CloseButton, SnoozeButton);
    adjustSize();
}

void TAlarmForm::MarkMissed(const QString& timeText)
{
    if (!MissedMark) {
        MissedMark = TextLabel(u"MissedMark"_s, QString(), 9, false, this);
        QFont font = MissedMark->font();
        font.setItalic(true);
        MissedMark->setFont(font);
        auto* row = static_cast<QHBoxLayout*>(layout());
        row->insertWidget(row->indexOf(Message) + 1, MissedMark);
    }
    MissedMark->setText(u"missed at %1 "_s.arg(timeText));
    adjustSize();
}

void TAlarmForm::FitWithin(int width)
{
    const int wanted = sizeHint().width();
    if (wanted <= width)
        return;
    const int room = std::max(Message->sizeHint().width() - (wanted - width),
        Message->fontMetrics().averageCharWidth() * 8);
    Message->setWordWrap(true);
    Message->setFixedWidth(room);
    Message->setFixedHeight(Message->heightForWidth(room));
    adjustSize();
}

void TAlarmForm::CloseQuietly()
{
    Quiet = true;
    close();
}

void TAlarmForm::CloseButtonClick()
{
    close();
}

void TAlarmForm::Snooze(int minutes)
{
    Q_EMIT SnoozeChosen(minutes);
    close();
}

void TAlarmForm::closeEvent(QCloseEvent* event)
{
    QFrame::closeEvent(event);
    if (!event->isAccepted())
        return;
    Q_EMIT Closing();
    if (!std::exchange(Quiet, true))
        Q_EMIT Acknowledged();
}

void TAlarmForm::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Return on "Snooze" snoozes, as Space does.
        if (event->key() != Qt::Key_Escape && SnoozeButton && SnoozeButton->hasFocus())
            Snooze(SnoozeMinutes);
        else
            close();
        event->accept();
        return;
    default:
        QFrame::keyPressEvent(event);
    }
}

// The note has no title bar: it is dragged by its background or its texts.
void TAlarmForm::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QFrame::mousePressEvent(event);
        return;
    }
    Dragging = true;
    DragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    event->accept();
}

void TAlarmForm::mouseMoveEvent(QMouseEvent* event)
{
    if (!Dragging) {
        QFrame::mouseMoveEvent(event);
        return;
    }
    move(event->globalPosition().toPoint() - DragOffset);
    event->accept();
}

void TAlarmForm::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Dragging = false;
    QFrame::mouseReleaseEvent(event);
}
