#include "find/FindForm.h"

#include "controls/Dialogues.h"
#include "find/FindSearch.h"
#include "platform/StayOnTop.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace
{

constexpr int TargetWidth = 225;
constexpr QSize DesignedClient(227, 51);

} // namespace

TFindForm::TFindForm(IDialogues& dialogues, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , Dialogues(dialogues)
{
    setObjectName(u"FindForm"_s);
    setWindowTitle(u"Find"_s);
    setModal(false);

    FindTarget = new QComboBox(this);
    FindTarget->setObjectName(u"FindTarget"_s);
    FindTarget->setEditable(true);
    FindTarget->setInsertPolicy(QComboBox::NoInsert);
    FindTarget->setMaxCount(static_cast<int>(FindHistoryLimit));
    FindTarget->setMinimumWidth(TargetWidth);
    FindTarget->lineEdit()->setCompleter(nullptr);
    connect(FindTarget, &QComboBox::activated, this, [this] { Picked = true; });
    connect(FindTarget->lineEdit(), &QLineEdit::textEdited, this, [this] { Picked = false; });

    FindNext = new QPushButton(u"Find Next"_s, this);
    FindNext->setObjectName(u"FindNext"_s);
    FindNext->setDefault(true);
    connect(FindNext, &QPushButton::clicked, this, &TFindForm::FindNextClick);
    FindClose = new QPushButton(u"Close"_s, this);
    FindClose->setObjectName(u"FindClose"_s);
    FindClose->setAutoDefault(false);
    connect(FindClose, &QPushButton::clicked, this, &TFindForm::FindCloseClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(FindNext);
    buttons->addWidget(FindClose);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(1, 1, 1, 1);
    column->setSpacing(2);
    column->addWidget(FindTarget);
    column->addLayout(buttons);
    // The designed size, grown to what the texts need in this font.
    setFixedSize(sizeHint().expandedTo(DesignedClient));
}

TFindForm::~TFindForm() = default;

void TFindForm::FindNextClick()
{
    const QString text = FindTarget->currentText();
    if (text.isEmpty())
        return;
    AddToFindHistory(FHistory, text.toStdString(), Picked);
    ShowHistory(text);
    if (!Search)
        return;
    const std::optional<bool> found = Search(text);
    if (found && !*found)
        Dialogues.ShowInfo(u"Item NOT Found"_s);
}

void TFindForm::FindCloseClick()
{
    hide();
    if (Closed)
        Closed();
}

void TFindForm::ShowHistory(const QString& text)
{
    const QSignalBlocker blocker(FindTarget);
    FindTarget->clear();
    for (const std::string& entry : FHistory)
        FindTarget->addItem(QString::fromStdString(entry));
    FindTarget->setCurrentIndex(-1);
    FindTarget->setEditText(text);
}

void TFindForm::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TFindForm::FormActivate()
{
    FindTarget->setFocus();
    SetStayOnTop(this, true);
}
