// The notes page from the keyboard: the tool bar's shortcuts, shown in their
// hints, and the way to the tool bar by Tab and by F6.

#include "notes/NotesPage.h"
#include "notes/NotesTreeView.h"

#include <QAction>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace
{

// "Toggle Word Wrap  (^W)": the hint with the keys as the page's other hints write them.
QString HintWithKeys(const QString& hint, const QKeySequence& keys)
{
    QString text = keys.toString(QKeySequence::NativeText);
    text.replace(u"Ctrl+"_s, u"^"_s);
    return hint + u"  ("_s + text + u')';
}

} // namespace

void TNotesPage::CreateToolKeys()
{
    const auto give = [this](QAction* action, const QKeySequence& keys) {
        action->setShortcut(keys);
        // Anywhere on the page, not only on the tool bar.
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
        action->setToolTip(HintWithKeys(action->toolTip(), keys));
    };
    give(WordWrapButton, QKeySequence(Qt::CTRL | Qt::Key_W));
    give(bInsert, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Insert));
    give(bDelete, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete));
    give(SortButton, QKeySequence(Qt::CTRL | Qt::Key_R));

    // One key switches between the two views, whichever shows.
    NotesViewSwitch = new QAction(this);
    NotesViewSwitch->setObjectName(u"NotesViewSwitch"_s);
    give(NotesViewSwitch, QKeySequence(Qt::CTRL | Qt::Key_T));
    for (QAction* view : { NotesAsMemoButton, NotesAsGridButton })
        view->setToolTip(HintWithKeys(view->toolTip(), NotesViewSwitch->shortcut()));
    connect(NotesViewSwitch, &QAction::triggered, this, [this] {
        QAction* other = NotesAsMemoButton->isChecked() ? NotesAsGridButton : NotesAsMemoButton;
        if (other->isEnabled())
            other->trigger();
    });

    // F6 and Shift+F6 go round the page's three parts: tree, tool bar, text.
    const auto pane = [this](const QString& name, const QKeySequence& keys, bool forward) {
        auto* action = new QAction(this);
        action->setObjectName(name);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, [this, forward] { FocusNextPane(forward); });
    };
    pane(u"NotesNextPane"_s, QKeySequence(Qt::Key_F6), true);
    pane(u"NotesPreviousPane"_s, QKeySequence(Qt::SHIFT | Qt::Key_F6), false);

    // Tab goes from the tree through the tool bar's buttons to the text; a
    // click on a button leaves the focus where it was.
    QWidget* previous = FTreeView;
    for (QAction* action : NotesTools->actions())
        if (auto* button = qobject_cast<QToolButton*>(NotesTools->widgetForAction(action))) {
            button->setFocusPolicy(Qt::TabFocus);
            setTabOrder(previous, button);
            previous = button;
        }
    for (QWidget* editor : { FEditor->Memo(), static_cast<QWidget*>(FEditor->Grid()) })
        if (editor) {
            setTabOrder(previous, editor);
            previous = editor;
        }
}

QToolButton* TNotesPage::FirstToolButton() const
{
    for (QAction* action : NotesTools->actions())
        if (auto* button = qobject_cast<QToolButton*>(NotesTools->widgetForAction(action)))
            if (button->isEnabled() && button->isVisible())
                return button;
    return nullptr;
}

void TNotesPage::FocusNextPane(bool forward)
{
    enum { Tree, Tools, Text };
    const QWidget* focus = focusWidget();
    const int now = focus && NotesTools->isAncestorOf(focus) ? Tools
        : focus == FTreeView                                 ? Tree
                                                             : Text;
    const int next = (now + (forward ? 1 : 2)) % 3;
    if (next == Tree) {
        FocusTree();
    } else if (next == Text) {
        FEditor->NotesFocus();
    } else if (QToolButton* button = FirstToolButton()) {
        button->setFocus(Qt::TabFocusReason);
    }
}
