#include "app/HelpWindow.h"

#include <QFile>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

// The topics are compiled into a static library, so they are registered by hand.
static void RegisterHelpTopics()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(help);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace
{

QString TopicPath(int topic)
{
    RegisterHelpTopics();
    return u":/help/topic%1.html"_s.arg(topic);
}

} // namespace

THelpWindow::THelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , Browser(new QTextBrowser(this))
{
    setObjectName(u"HelpWindow"_s);
    setWindowTitle(u"Talvo95 Help"_s);
    Browser->setObjectName(u"HelpBrowser"_s);
    Browser->setOpenLinks(false);
    connect(Browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        const QString name = url.fileName();
        if (name.startsWith(u"topic"_s))
            ShowTopic(name.mid(5).section(u'.', 0, 0).toInt());
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Browser);
    resize(560, 480);
    for (const QKeySequence& keys :
        { QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W) })
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);
}

bool THelpWindow::HasTopic(int topic)
{
    return QFile::exists(TopicPath(topic));
}

void THelpWindow::ShowTopic(int topic)
{
    if (!HasTopic(topic))
        topic = 1;
    Topic = topic;
    QFile file(TopicPath(topic));
    if (file.open(QIODevice::ReadOnly))
        Browser->setHtml(QString::fromUtf8(file.readAll()));
    show();
    raise();
    activateWindow();
}
