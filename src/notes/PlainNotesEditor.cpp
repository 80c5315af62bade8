#include "notes/PlainNotesEditor.h"

#include "platform/AnsiText.h"

#include <QAction>
#include <QTextBlock>

using namespace Qt::StringLiterals;

namespace
{

// A LF inside a line is no line break of the text: it shows as a line
// separator, which stays inside its block.
QString LineToEditor(const std::string& line)
{
    QString text = FromAnsi(line);
    text.replace(u'\n', QChar(QChar::LineSeparator));
    return text;
}

std::string LineFromEditor(QString text)
{
    text.replace(QChar(QChar::LineSeparator), u'\n');
    return ToAnsi(text);
}

} // namespace

TPlainNotesEditor::TPlainNotesEditor(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setObjectName(u"NotesMemo"_s);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(false);
}

void TPlainNotesEditor::AttachTools(const TNotesEditorTools& tools)
{
    Tools = tools;
    if (Tools.NotesAsMemoButton)
        Tools.NotesAsMemoButton->setChecked(true);
}

void TPlainNotesEditor::Show(const TNoteData& data, int32_t caret)
{
    QString text;
    for (size_t i = 0; i < data.Lines.size(); ++i) {
        if (i > 0)
            text += u'\n';
        text += LineToEditor(data.Lines[i]);
    }
    // Kept only to be written back: this pane shows every category as text.
    AsGrid = data.AsGrid;
    ColWidths = data.ColWidths;
    setPlainText(text);
    document()->setModified(false);
    // The caret counts CR LF as two characters; the editor counts a line
    // break as one.
    QTextBlock block = document()->firstBlock();
    int32_t joined = 0;
    int position = 0;
    while (block.isValid()) {
        const int32_t length = static_cast<int32_t>(block.length() - 1);
        if (caret <= joined + length) {
            position = block.position() + static_cast<int>(caret - joined);
            break;
        }
        joined += length + 2;
        position = block.position() + length;
        block = block.next();
    }
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::max(0, position));
    setTextCursor(cursor);
    ensureCursorVisible();
}

int32_t TPlainNotesEditor::Store(TNoteData& data)
{
    // Untouched text goes back as it came, so a text of one empty line stays
    // one empty line (the editor shows it, as no lines at all, empty).
    if (document()->isModified()) {
        data.Lines.clear();
        if (!document()->isEmpty())
            for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next())
                data.Lines.push_back(LineFromEditor(block.text()));
        document()->setModified(false);
    }
    data.AsGrid = AsGrid ? 1 : 0;
    data.ColWidths = ColWidths;
    const QTextCursor cursor = textCursor();
    return static_cast<int32_t>(cursor.position() + cursor.blockNumber()) + 2;
}
