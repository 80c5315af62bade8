#include "app/AboutForm.h"

#include "controls/NiceLabel.h"
#include "controls/ProgramIcon.h"
#include "platform/AnsiText.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

QString TAboutForm::RevisionText()
{
    return QStringLiteral(TALVO_VERSION);
}

TAboutForm::TAboutForm(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(u"AboutForm"_s);
    setWindowTitle(u"About Talvo95"_s);
    setModal(false);
    // A dialogue: nothing to minimise or maximise.
    setWindowFlags(
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* icon = new QLabel(this);
    icon->setObjectName(u"ProgramIcon"_s);
    icon->setPixmap(QPixmap::fromImage(TProgramIcon::Image(48)));

    auto* title = new QLabel(u"Talvo95"_s, this);
    title->setObjectName(u"ProductName"_s);
    QFont titleFont = title->font();
    titleFont.setPointSize(titleFont.pointSize() + 8);
    titleFont.setBold(true);
    title->setFont(titleFont);

    auto* revision = new QLabel(u"Revision "_s + RevisionText(), this);
    revision->setObjectName(u"Revision"_s);
    auto* maker = new TNiceLabel(this);
    maker->setObjectName(u"Comments"_s);
    maker->SetAutoSize(true);
    maker->SetCaption(ToCore(u"\\bDiary\\b, \\bnotes\\b and a \\bcalculator\\b in one window.\\n"
                             "Made by \\4Quorral\\0.\\n"
                             "Write to \\u\\4talvo95@quorral.example"_s));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::close);

    auto* texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(revision);
    texts->addSpacing(8);
    texts->addWidget(maker);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}
