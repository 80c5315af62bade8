#pragma once

#include <QWidget>

class QPlainTextEdit;

// A plain read-only window showing a text file, for when the desktop has no
// viewer of its own for it. Esc or Ctrl+W closes it.
class TTextViewer final : public QWidget
{
    Q_OBJECT
public:
    explicit TTextViewer(QWidget* parent = nullptr);

    // The file's text, read as the program's data files are; false, with
    // nothing shown, when it cannot be read.
    bool ShowFile(const QString& path);
    QString Text() const;

private:
    QPlainTextEdit* Viewer;
};
