#include "controls/TextViewer.h"

#include "base/Utf8Text.h"
#include "platform/AnsiText.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TTextViewer::TTextViewer(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , Viewer(new QPlainTextEdit(this))
{
    setObjectName(u"TextViewer"_s);
    Viewer->setObjectName(u"TextViewerText"_s);
    Viewer->setReadOnly(true);
    Viewer->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The purge log lines up its fields with tabs.
    Viewer->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Viewer);
    for (const QKeySequence& key : { QKeySequence(Qt::Key_Escape), QKeySequence(u"Ctrl+W"_s) })
        connect(new QShortcut(key, this), &QShortcut::activated, this, &QWidget::close);
    resize(560, 360);
}

bool TTextViewer::ShowFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    // Read as the data files are: Windows-1252 unless it begins with the UTF-8 mark.
    std::string_view text(bytes.constData(), size_t(bytes.size()));
    const TTextForm form = StartsWithUtf8Mark(text) ? tfUtf8 : tfAnsi;
    if (form == tfUtf8)
        text.remove_prefix(Utf8Mark.size());
    std::string scratch;
    bool invalid = false;
    Viewer->setPlainText(FromCore(DecodeLine(text, form, scratch, invalid)));
    setWindowTitle(QFileInfo(path).fileName());
    show();
    raise();
    activateWindow();
    return true;
}

QString TTextViewer::Text() const
{
    return Viewer->toPlainText();
}
