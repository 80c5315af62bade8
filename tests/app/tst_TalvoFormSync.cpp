// The window's side of the sync: "Sync now" in the menu, the status bar, the
// password asked once without a keyring, and the choice about a certificate.
#include "app/FakeShell.h"
#include "app/SyncController.h"
#include "app/TrayController.h"
#include "sync/FakeDavServer.h"

#include <QAction>
#include <QStatusBar>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

// A server that lists an empty calendar whatever it is asked.
TAnswer EmptyCalendar()
{
    return
        [](QTcpSocket& s, const QByteArray&) { s.write(Http("207 Multi-Status", EmptyListing)); };
}

void SyncTo(TFakeShell& shell, const TFakeServer& server, const std::string& user = {})
{
    shell.StoredSettings["SyncUrl"] = server.Url().toStdString();
    shell.StoredSettings["SyncCalendar"] = "/cal/";
    shell.StoredSettings["SyncUser"] = user;
}

QString SyncPanel(QWidget& form)
{
    return form.findChild<QLabel*>(u"SyncPanel"_s)->text();
}

} // namespace

class tst_TalvoFormSync : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void syncNowInTheMenuIsToldInTheStatusBar()
    {
        TFakeShell shell;
        auto idle = shell.Start();
        idle->Tray().MenuSyncNow->trigger();
        QVERIFY(idle->statusBar()->currentMessage().contains(u"No calendar server"_s));
        QCOMPARE(SyncPanel(*idle), u"Not synced"_s);

        TFakeServer server(EmptyCalendar());
        SyncTo(shell, server);
        auto form = shell.Start();
        form->Tray().MenuSyncNow->trigger();
        QTRY_COMPARE(SyncPanel(*form), u"Synced 09:15"_s);
        QVERIFY(QFile::exists(shell.DataFile(u"SYNC.DAT"_s)));
    }

    // Without a keyring the password is asked once and kept in memory only;
    // from the keyring it is never asked.
    void thePasswordIsAskedOncePerSessionWithoutAKeyring_data()
    {
        QTest::addColumn<bool>("keyring");
        QTest::newRow("no keyring") << false;
        QTest::newRow("keyring") << true;
    }
    void thePasswordIsAskedOncePerSessionWithoutAKeyring()
    {
        QFETCH(bool, keyring);
        TFakeShell shell;
        TFakeServer server(EmptyCalendar());
        SyncTo(shell, server, "zoë");
        shell.Keyring.Available = keyring;
        shell.Keyring.Passwords[u"zoë@127.0.0.1"_s] = u"aus dem Schlüsselbund"_s;
        shell.Dialogues.InputAnswers = { u"pä ss 1"_s };
        auto form = shell.Start();
        for (int i = 0; i < 2; ++i) {
            form->findChild<QLabel*>(u"SyncPanel"_s)->clear();
            form->SyncNowClick();
            QTRY_COMPARE(SyncPanel(*form), u"Synced 09:15"_s);
        }
        QCOMPARE(shell.Dialogues.Inputs.size(), keyring ? 0 : 1);
        QVERIFY(form->ExitClick());
        for (const auto& [name, value] : shell.Backend->Values)
            QVERIFY(!QString::fromStdString(shell.Stored(name)).contains(u"pä ss"_s));
    }

    // A password the server refuses is forgotten and asked again at the next
    // sync; one that passes is kept. The login goes in UTF-8, whatever its
    // letters.
    void aRefusedPasswordIsAskedAgain()
    {
        TFakeShell shell;
        TFakeServer server([](QTcpSocket& s, const QByteArray& request) {
            const QByteArray field = "\r\nAuthorization: Basic ";
            const qsizetype at = request.indexOf(field);
            const qsizetype from = at + field.size();
            const QByteArray login = at < 0
                ? QByteArray()
                : QByteArray::fromBase64(request.mid(from, request.indexOf("\r\n", from) - from));
            if (login == u"zoë:richtig пароль €"_s.toUtf8())
                s.write(Http("207 Multi-Status", EmptyListing));
            else
                s.write(Http("401 Unauthorized", {}, "WWW-Authenticate: Basic realm=\"cal\"\r\n"));
        });
        SyncTo(shell, server, "zoë");
        shell.Keyring.Available = false;
        shell.Dialogues.InputAnswers = { u"falsch"_s, u"richtig пароль €"_s };
        auto form = shell.Start();
        for (const QString& panel :
            { u"Sync failed 09:15"_s, u"Synced 09:15"_s, u"Synced 09:15"_s }) {
            form->findChild<QLabel*>(u"SyncPanel"_s)->clear();
            form->SyncNowClick();
            QTRY_COMPARE(SyncPanel(*form), panel);
            // The failure's message goes once a sync succeeds.
            QCOMPARE(form->statusBar()->currentMessage().isEmpty(), panel.startsWith(u"Synced"_s));
        }
        QCOMPARE(shell.Dialogues.Inputs.size(), 2);
    }

    // A certificate that does not check out is shown with the choice to
    // cancel; trusted, it is remembered by its fingerprint.
    void aCertificateThatDoesNotCheckOutIsTheUsersChoice()
    {
        QTemporaryDir folder;
        const auto tls = SelfSigned(folder);
        if (!tls)
            QSKIP("openssl could not make a certificate");
        TFakeShell shell;
        TFakeServer server(EmptyCalendar(), &*tls);
        SyncTo(shell, server);
        auto form = shell.Start();
        shell.Dialogues.ConfirmAnswers = { false };
        form->SyncNowClick();
        QTRY_COMPARE(SyncPanel(*form), u"Sync failed 09:15"_s);
        QCOMPARE(shell.Dialogues.Confirms.size(), 1);
        QVERIFY(shell.Dialogues.Confirms.front().contains(u"could not be checked"_s));
        QVERIFY(form->statusBar()->currentMessage().contains(u"certificate"_s));
        QCOMPARE(shell.Stored("SyncCertificate"), "<absent>");
        QCOMPARE(server.Requests, 0);

        shell.Dialogues.ConfirmAnswers = { true };
        form->SyncNowClick();
        QTRY_COMPARE(SyncPanel(*form), u"Synced 09:15"_s);
        QCOMPARE(shell.Dialogues.Confirms.size(), 2);
        QCOMPARE(QByteArray::fromStdString(shell.Stored("SyncCertificate")),
            CertificateDigest(tls->localCertificate()));
        QVERIFY(server.Requests > 0);
    }
};

QTEST_MAIN(tst_TalvoFormSync)
#include "tst_TalvoFormSync.moc"
