#include "platform/AnsiText.h"

#include <QTest>

class TestAnsiText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyByteRoundTrips()
    {
        std::string all;
        for (int b = 0; b < 256; ++b)
            all.push_back(static_cast<char>(b));
        const QString unicode = FromAnsi(all);
        QCOMPARE(unicode.size(), 256);
        QCOMPARE(ToAnsi(unicode), all);
    }
    void windowsLettersMapToUnicode()
    {
        QCOMPARE(FromAnsi("\x80 \xB5 \xE9"), QStringLiteral(u"\u20AC \u00B5 \u00E9"));
        QCOMPARE(ToAnsi(QStringLiteral(u"\u2013\u00FF")), std::string("\x96\xFF"));
    }
    void charactersOutsideTheCodePageBecomeQuestionMarks()
    {
        QCOMPARE(ToAnsi(QStringLiteral(u"a\u4E2Db")), std::string("a?b"));
    }
    void unstorableCharactersAreNamedOnce()
    {
        const QString text = QStringLiteral(u"\u20AC a\u0151\U0001F600b\u0151\u00E9\u0080");
        const QStringList found = UnstorableCharacters(text);
        QCOMPARE(found,
            QStringList({ QStringLiteral(u"\u0151"), QStringLiteral(u"\U0001F600"),
                QStringLiteral(u"\u0080") }));
        QCOMPARE(NameCharacters(found.mid(0, 2)),
            QStringLiteral(u"\"\u0151\" (U+0151), \"\U0001F600\" (U+1F600)"));
        QVERIFY(UnstorableCharacters(FromAnsi("\x81\x80\xFF plain")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestAnsiText)
#include "tst_AnsiText.moc"
