#include "platform/AnsiText.h"

#include <QTest>

class TestAnsiText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void textOfEveryScriptRoundTrips()
    {
        const QString text = QStringLiteral(
            u"Zoë café 10€ Łódź 東京 😀 👩‍👩‍👧 שלום \u0081\uFFFD end");
        const std::string core = ToCore(text);
        QCOMPARE(core,
            std::string(
                "Zoë café 10€ Łódź 東京 😀 👩‍👩‍👧 שלום \u0081\uFFFD "
                "end"));
        QCOMPARE(FromCore(core), text);
        QCOMPARE(ToCore(QStringView(u"a\xD800z")), std::string("a\uFFFDz"));
    }
    void offsetsMeetAtEveryCharacter()
    {
        const QString text = QStringLiteral(u"aé€😀東 Z");
        const std::string core = ToCore(text);
        // Every unit boundary that is a character boundary gives the same place.
        const struct {
            qsizetype Units;
            size_t Bytes;
        } places[] = { { 0, 0 }, { 1, 1 }, { 2, 3 }, { 3, 6 }, { 5, 10 }, { 6, 13 }, { 8, 15 } };
        for (const auto& p : places) {
            QCOMPARE(CoreOffset(text, p.Units), p.Bytes);
            QCOMPARE(QtOffset(core, p.Bytes), p.Units);
        }
        QCOMPARE(QtOffset(core, 1000), text.size());
    }
    void charactersAreNamedWithTheirCodes()
    {
        QCOMPARE(NameCharacters({ QStringLiteral(u"\u0151"), QStringLiteral(u"\U0001F600") }),
            QStringLiteral(u"\"\u0151\" (U+0151), \"\U0001F600\" (U+1F600)"));
        QCOMPARE(CharacterView(u"aé😀 b"), std::string("a\x80\x80\x80 b"));
    }
};

QTEST_GUILESS_MAIN(TestAnsiText)
#include "tst_AnsiText.moc"
