#include "settings/QtSettingsBackend.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace Qt::StringLiterals;

class TestQtSettingsBackend : public QObject
{
    Q_OBJECT

    QString ConfigFolder() const { return qEnvironmentVariable("XDG_CONFIG_HOME") + u"/Quorral"_s; }
    QString IniPath() const { return ConfigFolder() + u"/Talvo95.ini"_s; }

    static QByteArray Contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void WriteFile(const QString& path, const QByteArray& contents)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
    }

private Q_SLOTS:
    void init() { QDir(ConfigFolder()).removeRecursively(); }

    void valuesGoToTheGroupAllOfTheUsersIniFile()
    {
        QVERIFY(!qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME"));
        TQtSettingsBackend backend;
        QCOMPARE(backend.Location(), IniPath());
        QVERIFY(backend.WriteText("ModemPort", "3"));
        const QByteArray ini = Contents(IniPath());
        QVERIFY2(ini.contains("[All]\nModemPort=3"), ini.constData());
        QCOMPARE(backend.ReadText("ModemPort"), std::optional<std::string>("3"));
        QCOMPARE(backend.ReadText("AlarmSound"), std::optional<std::string>());
    }

    void everyOptionAndPositionRoundTrips()
    {
        TSettings saved;
        saved.ModemPort = 2;
        saved.AlarmSound = -1;
        saved.ColourCalendar = SystemColour(ScrollBarColourIndex);
        saved.ColourTree = RgbColour(10, 20, 30);
        saved.ColourToday = 0;
        // Commas, quotes, a leading blank, an "@" and letters of any script all
        // come back as the same text.
        saved.SettingsFont = { " @Café Łódź, \"Sans\"; x=1", 11, fsItalic | fsStrikeOut };
        saved.OnTop = true;
        saved.DateTray = false;
        {
            TSettingsStore store(std::make_unique<TQtSettingsBackend>());
            SaveSettings(store, saved);
            store.OpenSettings();
            store.WriteSettingInt(Setting::WinLeft.Name, -4);
            store.WriteSettingInt(Setting::SchWinHeight.Name, 391);
            store.WriteSettingInt(Setting::Month.Name, 12);
            store.CloseSettings();
        }
        TSettingsStore store(std::make_unique<TQtSettingsBackend>());
        TSettings loaded;
        LoadSettings(store, loaded);
        QVERIFY(loaded == saved);
        QCOMPARE(loaded.SettingsFont.Name, saved.SettingsFont.Name);
        QCOMPARE(store.ReadSettingInt(Setting::WinLeft.Name, 0), -4);
        QCOMPARE(store.ReadSettingInt(Setting::SchWinHeight.Name, 0), 391);
        QCOMPARE(store.ReadSettingInt(Setting::Month), 12);
        QCOMPARE(store.ReadSettingText("ColourCalendar"), std::string("-2147483648"));
    }

    void handEditedValuesThatAreNoStringReadAsAbsentAndListsAsText()
    {
        WriteFile(IniPath(),
            "[All]\n"
            "ModemPort=1, 2\n"
            "AlarmSound=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x3)\n"
            "FontSize=@ByteArray(12)\n"
            "FontStyle=@Invalid()\n"
            "FontName=\"Arial, Bold\"\n"
            "OnTop=2\n");
        TQtSettingsBackend backend;
        QCOMPARE(backend.ReadText("ModemPort"), std::optional<std::string>("1, 2"));
        QCOMPARE(backend.ReadText("AlarmSound"), std::optional<std::string>());
        QCOMPARE(backend.ReadText("FontSize"), std::optional<std::string>());
        QCOMPARE(backend.ReadText("FontStyle"), std::optional<std::string>());
        QCOMPARE(backend.ReadText("FontName"), std::optional<std::string>("Arial, Bold"));

        TSettingsStore store(std::make_unique<TQtSettingsBackend>());
        TSettings s;
        LoadSettings(store, s);
        // A list is no number: the port reads as its default, no port.
        QCOMPARE(s.ModemPort, -1);
        QCOMPARE(s.AlarmSound, 0);
        QCOMPARE(s.SettingsFont.Size, 8);
        QVERIFY(s.OnTop);
    }

    // Root writes through permission bits, so the settings file is made a
    // folder instead: no one can read it as a file or replace it.
    void aSettingsFileThatCannotBeWrittenRaisesTheError()
    {
        QVERIFY(QDir().mkpath(IniPath()));
        TSettingsStore store(std::make_unique<TQtSettingsBackend>());
        QVERIFY_THROWS_EXCEPTION(ESettingsError, store.WriteSettingInt("WinLeft", 5));
        // In a batch the writes are stored together: the error comes when it
        // closes and names the first value that did not reach the file.
        store.OpenSettings();
        QCOMPARE(store.ReadSettingInt("WinLeft", 40), 40);
        store.WriteSettingInt("WinLeft", 5);
        store.WriteSettingInt("WinTop", 6);
        QCOMPARE(store.ReadSettingInt("WinTop", 0), 6);
        try {
            store.CloseSettings();
            QFAIL("no error raised");
        } catch (const ESettingsError& error) {
            QCOMPARE(QString::fromUtf8(error.what()), u"Failed to set data for 'WinLeft'"_s);
        }
        QCOMPARE(store.ReadSettingInt("WinLeft", 40), 40);
        TSettings s;
        QVERIFY_THROWS_EXCEPTION(ESettingsError, SaveSettings(store, s));
        QVERIFY(QFileInfo(IniPath()).isDir());
    }

    // A file that can be read but not replaced: the name of the lock file
    // QSettings makes beside it is one character too long for the file system.
    void aRefusedValueIsNotReadBackAsIfStored()
    {
        const QString title(251 - 4, u't');
        const QString path = ConfigFolder() + u'/' + title + u".ini"_s;
        WriteFile(path, "[All]\nWinTop=7\n");
        TQtSettingsBackend backend(title);
        QCOMPARE(backend.Location(), path);
        QCOMPARE(backend.ReadText("WinTop"), std::optional<std::string>("7"));
        QVERIFY(!backend.WriteText("WinTop", "99"));
        QVERIFY(!backend.WriteText("WinLeft", "5"));
        QCOMPARE(backend.ReadText("WinTop"), std::optional<std::string>("7"));
        QCOMPARE(backend.ReadText("WinLeft"), std::optional<std::string>());
        QCOMPARE(TQtSettingsBackend(title).ReadText("WinTop"), std::optional<std::string>("7"));
        QCOMPARE(Contents(path), QByteArray("[All]\nWinTop=7\n"));
    }

    void aBatchIsStoredByOneRewriteOfTheFile()
    {
        WriteFile(IniPath(), "[All]\nMonth=3\n");
        TSettingsStore store(std::make_unique<TQtSettingsBackend>());
        store.OpenSettings();
        store.WriteSettingInt("WinLeft", 1);
        store.WriteSettingInt("WinTop", 2);
        // Nothing reaches the file before the batch closes.
        QCOMPARE(Contents(IniPath()), QByteArray("[All]\nMonth=3\n"));
        store.CloseSettings();
        QCOMPARE(Contents(IniPath()), QByteArray("[All]\nMonth=3\nWinLeft=1\nWinTop=2\n"));
    }

    void aFileThatDoesNotParseIsStillWritten()
    {
        WriteFile(IniPath(), "[All]\nthis line has no equals sign\nOnTop=1\n[Broken\n");
        TQtSettingsBackend backend;
        QCOMPARE(backend.ReadText("OnTop"), std::optional<std::string>("1"));
        QVERIFY(backend.WriteText("ShowHints", "0"));
        QCOMPARE(TQtSettingsBackend().ReadText("ShowHints"), std::optional<std::string>("0"));
        QVERIFY(Contents(IniPath()).contains("ShowHints=0"));
    }
};

QTEST_GUILESS_MAIN(TestQtSettingsBackend)
#include "tst_QtSettingsBackend.moc"
