#include "controls/NiceLabel.h"

#include "platform/AnsiText.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace
{

QColor FromBgr(uint32_t value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int LineHeight(const QFont& font)
{
    return QFontMetrics(font).height();
}

} // namespace

TNiceLabel::TNiceLabel(QWidget* parent)
    : QWidget(parent)
{
}

void TNiceLabel::SetCaption(std::string_view caption)
{
    CaptionValue = NiceCaption(caption);
    Text = ParseNiceText(CaptionValue);
    Changed();
}

void TNiceLabel::SetAutoSize(bool autoSize)
{
    AutoSizeValue = autoSize;
    Changed();
}

QSize TNiceLabel::sizeHint() const
{
    const TNiceLayout layout = LayOut();
    return QSize(layout.Width, layout.Height);
}

void TNiceLabel::paintEvent(QPaintEvent*)
{
    const TNiceLayout layout = LayOut();
    QPainter painter(this);
    const int lineHeight = LineHeight(font());
    for (std::size_t i = 0; i < Text.Runs.size(); ++i) {
        const TNiceRun& run = Text.Runs[i];
        const QFont runFont = RunFont(run);
        painter.setFont(runFont);
        painter.setPen(run.Colour < 0 ? palette().color(QPalette::WindowText)
                                      : FromBgr(NiceColours[run.Colour]));
        painter.drawText(layout.Left[i], run.Line * lineHeight + QFontMetrics(runFont).ascent(),
            FromCore(run.Text));
    }
}

void TNiceLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        Changed();
    QWidget::changeEvent(event);
}

QFont TNiceLabel::RunFont(const TNiceRun& run) const
{
    QFont runFont = font();
    runFont.setBold(runFont.bold() != run.Flipped.Bold);
    runFont.setItalic(runFont.italic() != run.Flipped.Italic);
    runFont.setUnderline(runFont.underline() != run.Flipped.Underline);
    return runFont;
}

TNiceLayout TNiceLabel::LayOut() const
{
    return LayOutNiceText(Text, LineHeight(font()), [this](const TNiceRun& run) {
        return QFontMetrics(RunFont(run)).horizontalAdvance(FromCore(run.Text));
    });
}

void TNiceLabel::Changed()
{
    if (AutoSizeValue) {
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        resize(sizeHint());
    } else {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    }
    updateGeometry();
    update();
}
