#pragma once

#include "controls/NiceText.h"

#include <QWidget>
#include <string>
#include <string_view>

// A label whose caption carries inline codes for line breaks, bold, italic,
// underline and sixteen colours (see NiceText.h). Each paint starts from the
// label's own font and text colour. No input.
class TNiceLabel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)

public:
    explicit TNiceLabel(QWidget* parent = nullptr);

    // 8-bit (Windows-1252) text, as ToCore gives it; CR LF and lone LF are
    // stored as the code \n.
    const std::string& Caption() const { return CaptionValue; }
    void SetCaption(std::string_view caption);
    // When on, the label keeps its size to the widest line and the lines drawn.
    bool AutoSize() const { return AutoSizeValue; }
    void SetAutoSize(bool autoSize);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QFont RunFont(const TNiceRun& run) const;
    TNiceLayout LayOut() const;
    void Changed();

    std::string CaptionValue;
    TNiceText Text;
    bool AutoSizeValue = false;
};
