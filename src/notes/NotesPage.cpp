#include "notes/NotesPage.h"

#include "controls/Dialogues.h"
#include "controls/ImageLists.h"
#include "notes/NotesFile.h"
#include "notes/NotesImages.h"
#include "notes/NotesTreeModel.h"
#include "notes/NotesTreeView.h"
#include "platform/AnsiText.h"
#include "platform/AnsiValidator.h"

#include <QAction>
#include <QActionGroup>
#include <QCollator>
#include <QMenu>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>
#include <string_view>

using namespace Qt::StringLiterals;

namespace
{

constexpr int SplitterWidth = 4;
constexpr int MinimumTreeWidth = 32;

// Category names in the desktop's order: symbols before digits, digits
// before letters, letters without regard to case. The plain "C" locale has
// no such order, so it sorts as English does.
TNameLess DesktopNameOrder()
{
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator(locale);
    return [collator](const std::string& a, const std::string& b) {
        return collator.compare(FromCore(a), FromCore(b)) < 0;
    };
}

} // namespace

TNotesPage::TNotesPage(
    TNotesDocument& document, IDialogues& dialogues, INotesEditor* editor, QWidget* parent)
    : QWidget(parent)
    , Document(document)
    , Tree(document.Tree())
    , Dialogues(dialogues)
    , FEditor(editor)
{
    FModel = new TNotesTreeModel(Tree, DesktopNameOrder(), this);
    FTreeView = new TNotesTreeView;
    FTreeView->setModel(FModel);
    FTreeView->setItemDelegate(new TAnsiItemDelegate(
        [this](const QStringList& found) {
            QTimer::singleShot(0, this, [this, found] {
                Dialogues.ShowError(
                    u"The notes file cannot hold %1, so the name was left as it was."_s.arg(
                        NameCharacters(found)));
            });
        },
        FTreeView));

    CreateTools();
    CreateTreeMenu();

    NotesSplitter = new QSplitter(Qt::Horizontal);
    NotesSplitter->setObjectName(u"NotesSplitter"_s);
    NotesSplitter->setHandleWidth(SplitterWidth);
    NotesSplitter->setOpaqueResize(true);
    NotesSplitter->setChildrenCollapsible(false);
    NotesSplitter->addWidget(FTreeView);
    NotesSplitter->addWidget(FEditor->Widget());
    NotesSplitter->setStretchFactor(0, 0);
    NotesSplitter->setStretchFactor(1, 1);
    SetSplit(FSplit);
    connect(NotesSplitter, &QSplitter::splitterMoved, this,
        [this] { FSplit = NotesSplitter->sizes().value(0, FSplit); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(NotesTools);
    layout->addWidget(NotesSplitter, 1);

    connect(FTreeView->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this](const QModelIndex& current) { CurrentChanged(current); });
    connect(FTreeView, &TNotesTreeView::RightButtonDown, this, &TNotesPage::NotesTreeViewMouseDown);
    connect(FTreeView, &TNotesTreeView::CategoryDropped, this, &TNotesPage::NotesTreeViewDragDrop);

    TNotesEditorTools tools;
    tools.NotesAsMemoButton = NotesAsMemoButton;
    tools.NotesAsGridButton = NotesAsGridButton;
    tools.bCut = bCut;
    tools.bCopy = bCopy;
    tools.bPaste = bPaste;
    tools.ChangeCaseButton = ChangeCaseButton;
    tools.WordWrapButton = WordWrapButton;
    tools.bInsert = bInsert;
    tools.bDelete = bDelete;
    tools.SortButton = SortButton;
    tools.SetCategoryImage = [this](uint8_t image) {
        if (FSelected)
            FModel->SetImage(*FSelected, image);
    };
    FEditor->AttachTools(tools);
    CreateToolKeys();

    Document.SetView(this);
    // A page made after the notes were read shows them at once; until then it
    // shows no category and takes no input.
    if (Document.Loaded())
        SelectRoot();
    else
        FEditor->Detach();
}

TNotesPage::~TNotesPage()
{
    Document.SetView(nullptr);
    // The view must not ask the model again while the page goes.
    FTreeView->setModel(nullptr);
}

void TNotesPage::CreateTools()
{
    NotesTools = new QToolBar(this);
    NotesTools->setObjectName(u"NotesTools"_s);
    NotesTools->setIconSize(QSize(TImageLists::ImageSize, TImageLists::ImageSize));
    const auto add = [this](const QString& name, const QString& hint, const QIcon& icon) {
        QAction* action = NotesTools->addAction(icon, hint);
        action->setObjectName(name);
        action->setToolTip(hint);
        action->setEnabled(false);
        return action;
    };
    AddCategoryButton
        = add(u"AddCategoryButton"_s, u"Create New Category"_s, NotesGlyph(ngAddCategory));
    DeleteCategoryButton
        = add(u"DeleteCategoryButton"_s, u"Delete Category"_s, NotesGlyph(ngDeleteCategory));
    AddCategoryButton->setEnabled(true);
    DeleteCategoryButton->setEnabled(true);
    connect(AddCategoryButton, &QAction::triggered, this, &TNotesPage::AddCategoryButtonClick);
    connect(
        DeleteCategoryButton, &QAction::triggered, this, &TNotesPage::DeleteCategoryButtonClick);
    NotesTools->addSeparator();

    NotesAsMemoButton
        = add(u"NotesAsMemoButton"_s, u"Show data as text"_s, TreeImage(TreeImageText));
    NotesAsGridButton = add(u"NotesAsGridButton"_s, u"Show data in a table (tabs -> columns)"_s,
        TreeImage(TreeImageTable));
    auto* views = new QActionGroup(this);
    for (QAction* view : { NotesAsMemoButton, NotesAsGridButton }) {
        view->setCheckable(true);
        views->addAction(view);
    }
    NotesAsMemoButton->setChecked(true);
    NotesTools->addSeparator();

    bFind
        = add(u"bFind"_s, u"Find notes data  (^F)"_s, TImageLists::ButtonIcon(TImageLists::biFind));
    connect(bFind, &QAction::triggered, this, &TNotesPage::FindRequested);
    NotesTools->addSeparator();

    bDial = add(
        u"bDial"_s, u"Dial the phone number at the cursor / cell  (^D)"_s, NotesGlyph(ngDial));
    bSend = add(
        u"bSend"_s, u"Send email to address at the cursor / cell  (^S)"_s, NotesGlyph(ngSend));
    pmDial = new QMenu(this);
    pmDial->setObjectName(u"pmDial"_s);
    pmEmail = new QMenu(this);
    pmEmail->setObjectName(u"pmEmail"_s);
    bDial->setMenu(pmDial);
    bSend->setMenu(pmEmail);
    for (QAction* action : { bDial, bSend })
        if (auto* button = qobject_cast<QToolButton*>(NotesTools->widgetForAction(action)))
            button->setPopupMode(QToolButton::MenuButtonPopup);
    NotesTools->addSeparator();

    bCut = add(u"bCut"_s, u"Cut"_s, NotesGlyph(ngCut));
    bCopy = add(u"bCopy"_s, u"Copy"_s, TImageLists::ButtonIcon(TImageLists::biCopy));
    bPaste = add(u"bPaste"_s, u"Paste"_s, NotesGlyph(ngPaste));
    NotesTools->addSeparator();

    ChangeCaseButton = add(u"ChangeCaseButton"_s,
        u"Change the case of the current selection / cell"_s, NotesGlyph(ngChangeCase));
    WordWrapButton = add(u"WordWrapButton"_s, u"Toggle Word Wrap"_s, NotesGlyph(ngWordWrap));
    WordWrapButton->setCheckable(true);
    bInsert = add(u"bInsert"_s, u"Insert a blank Row here"_s, NotesGlyph(ngInsertRow));
    bDelete = add(u"bDelete"_s, u"Delete this Row"_s, NotesGlyph(ngDeleteRow));
    SortButton
        = add(u"SortButton"_s, u"Sort by Current Column (alpha/numeric)"_s, NotesGlyph(ngSort));
    NotesTools->addSeparator();

    NotesHelpButton
        = add(u"NotesHelpButton"_s, u"Help  (F1)"_s, TImageLists::ButtonIcon(TImageLists::biHelp));
    NotesHelpButton->setEnabled(true);
    connect(
        NotesHelpButton, &QAction::triggered, this, [this] { Q_EMIT HelpRequested(HelpTopic); });
}

void TNotesPage::CreateTreeMenu()
{
    pmNotesTree = new QMenu(this);
    pmNotesTree->setObjectName(u"pmNotesTree"_s);
    mCreateCat = pmNotesTree->addAction(NotesGlyph(ngAddCategory), u"Create New Category"_s);
    mCreateCat->setObjectName(u"mCreateCat"_s);
    mDeleteCat = pmNotesTree->addAction(NotesGlyph(ngDeleteCategory), u"Delete Category"_s);
    mDeleteCat->setObjectName(u"mDeleteCat"_s);
    connect(mCreateCat, &QAction::triggered, this, &TNotesPage::AddCategoryButtonClick);
    connect(mDeleteCat, &QAction::triggered, this, &TNotesPage::DeleteCategoryButtonClick);
}

QTreeView* TNotesPage::TreeView() const
{
    return FTreeView;
}

void TNotesPage::SetSplit(int width)
{
    FSplit = std::max(MinimumTreeWidth, width);
    // The pane gets whatever the tree leaves; the splitter shares it out once laid out.
    NotesSplitter->setSizes({ FSplit, std::max(1, NotesSplitter->width() - FSplit) });
}

int TNotesPage::NamesWidth() const
{
    return FTreeView->NamesWidth();
}

void TNotesPage::SelectRoot()
{
    const QModelIndex root = FModel->IndexOf(Tree.Root());
    SelectCategory(Tree.Root());
    FTreeView->expand(root);
}

void TNotesPage::StoreSelected()
{
    if (FSelected && FSelected->Data)
        StoreNoteData(*FSelected->Data);
}

void TNotesPage::StoreSelectedInPassing()
{
    if (FSelected && FSelected->Data)
        FEditor->StoreInPassing(*FSelected->Data);
}

void TNotesPage::TreeReplacing()
{
    FTreeView->EndNameEdit();
    StoreSelected();
    FModel->BeginReset();
    FSelected = nullptr;
    FEditor->Detach();
}

void TNotesPage::TreeReplaced()
{
    FModel->EndReset();
    if (Document.Loaded())
        SelectRoot();
}

void TNotesPage::EndEditing()
{
    FTreeView->EndNameEdit();
    FEditor->EndEditing();
}

void TNotesPage::SelectCategory(TNoteNode* node)
{
    const QModelIndex index = FModel->IndexOf(node);
    if (index.isValid())
        FTreeView->setCurrentIndex(index);
    else
        FTreeView->selectionModel()->setCurrentIndex(index, QItemSelectionModel::Clear);
    // The view reports no change for the category it has current already.
    if (node != FSelected)
        NotesChange(node);
}

void TNotesPage::FocusTree()
{
    FTreeView->setFocus();
}

void TNotesPage::CurrentChanged(const QModelIndex& current)
{
    TNoteNode* node = TNotesTreeModel::NodeOf(current);
    if (node != FSelected)
        NotesChange(node);
}

void TNotesPage::NotesChange(TNoteNode* node)
{
    if (FSelected && FSelected->Data)
        StoreNoteData(*FSelected->Data);
    FSelected = node;
    if (node)
        ShowNoteData(NoteDataOf(*node));
    else
        FEditor->Detach();
}

void TNotesPage::ShowNoteData(TNoteData& data)
{
    FEditor->Show(data, NotesCaretOnShow);
    NotesCaretOnShow = 0;
}

void TNotesPage::StoreNoteData(TNoteData& data)
{
    NotesFindStart = FEditor->Store(data);
}

bool TNotesPage::RefuseDepth(int depth)
{
    if (depth <= TNotesTree::MaxLevels)
        return false;
    Dialogues.ShowError(
        u"Categories can be nested at most %1 levels deep."_s.arg(TNotesTree::MaxLevels));
    return true;
}

void TNotesPage::AddCategoryButtonClick()
{
    // With nothing selected the new category goes under the root, so the tree
    // keeps the one top-level category that the file holds.
    TNoteNode* parent = FSelected ? FSelected : Tree.Root();
    if (RefuseDepth(parent ? TNotesTree::Depth(*parent) + 1 : 1))
        return;
    const QModelIndex added = FModel->AddCategory(parent, "New Category");
    FTreeView->expand(FModel->IndexOf(parent));
    SelectCategory(TNotesTreeModel::NodeOf(added));
    FTreeView->scrollTo(added);
    FTreeView->edit(added);
}

void TNotesPage::DeleteCategoryButtonClick()
{
    TNoteNode* node = FSelected;
    if (!node)
        return;
    if (node == Tree.Root()) {
        Dialogues.ShowError(u"Can NOT delete root Category."_s);
        return;
    }
    if (!node->Children.empty()) {
        Dialogues.ShowError(u"You can not Delete a Category with sub Categories"_s);
        return;
    }
    if (!Dialogues.AskYesCancel(u"Do you want to Delete \"%1\" ?"_s.arg(FromCore(node->Name))))
        return;
    // The next sibling, else the one before, else the parent takes its place.
    const std::vector<TNoteLink>& siblings = Tree.ChildrenOf(node->Parent);
    TNoteNode* neighbour = node->Row + 1 < siblings.size() ? siblings[node->Row + 1].get()
        : node->Row > 0                                    ? siblings[node->Row - 1].get()
                                                           : node->Parent;
    SelectCategory(neighbour);
    FModel->DeleteCategory(*node);
}

void TNotesPage::NotesTreeViewMouseDown(const QModelIndex& index, const QPoint& globalPos)
{
    SelectCategory(TNotesTreeModel::NodeOf(index));
    pmNotesTree->popup(globalPos);
}

void TNotesPage::NotesTreeViewDragDrop(const QModelIndex& target)
{
    TNoteNode* dragged = FSelected;
    if (!dragged)
        return;
    // A drop on empty space goes to the root, so the tree keeps one top-level category.
    TNoteNode* to = target.isValid() ? TNotesTreeModel::NodeOf(target) : Tree.Root();
    if (!to || TNotesTree::IsWithin(*to, *dragged))
        return;
    if (RefuseDepth(TNotesTree::Depth(*to) + TNotesTree::Height(*dragged)))
        return;
    FModel->MoveCategory(*dragged, *to);
    FTreeView->expand(FModel->IndexOf(to));
    FTreeView->scrollTo(FModel->IndexOf(dragged));
}
