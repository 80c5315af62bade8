#include "alarms/AlarmForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

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
    CloseButton->setFocusPolicy(Qt::NoFocus);
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

void TAlarmForm::CloseButtonClick()
{
    Q_EMIT Acknowledged();
    close();
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
