#pragma once

#include <QStringList>
#include <QStyledItemDelegate>
#include <QValidator>
#include <functional>

// A line editor's guard for the data files' lines: an edit (typing, pasting,
// dropping, an input method) that would bring in a CR, which would split a
// line of the file, is turned down as a whole, and `refused` is told, so the
// user sees why nothing happened. Every other character is kept.
class TAnsiValidator final : public QValidator
{
    Q_OBJECT

public:
    explicit TAnsiValidator(
        std::function<void(const QStringList&)> refused, QObject* parent = nullptr);

    State validate(QString& input, int& pos) const override;

    // The characters of `text` that a line of the files cannot hold.
    static QStringList Refusable(const QString& text);

private:
    std::function<void(const QStringList&)> Refused;
};

// An item view's editors guarded the same way: a line editor made by the
// default delegate gets a TAnsiValidator that reports to `refused`.
class TAnsiItemDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit TAnsiItemDelegate(
        std::function<void(const QStringList&)> refused, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override;

private:
    std::function<void(const QStringList&)> Refused;
};
