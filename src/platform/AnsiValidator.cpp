#include "platform/AnsiValidator.h"

#include "platform/AnsiText.h"

#include <QLineEdit>

TAnsiValidator::TAnsiValidator(std::function<void(const QStringList&)> refused, QObject* parent)
    : QValidator(parent)
    , Refused(std::move(refused))
{
}

QStringList TAnsiValidator::Refusable(const QString& text)
{
    if (text.contains(u'\r'))
        return { QStringLiteral("\r") };
    return {};
}

QValidator::State TAnsiValidator::validate(QString& input, int&) const
{
    const QStringList found = Refusable(input);
    if (found.isEmpty())
        return Acceptable;
    if (Refused)
        Refused(found);
    return Invalid;
}

TAnsiItemDelegate::TAnsiItemDelegate(
    std::function<void(const QStringList&)> refused, QObject* parent)
    : QStyledItemDelegate(parent)
    , Refused(std::move(refused))
{
}

QWidget* TAnsiItemDelegate::createEditor(
    QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setValidator(new TAnsiValidator(Refused, line));
    return editor;
}
