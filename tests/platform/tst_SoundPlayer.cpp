#include "platform/SoundPlayer.h"

#include <QApplication>
#include <QTest>
#include <cstdint>
#include <set>

class TestSoundPlayer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // No sound library driver by that name: every event sound fails at once,
    // whatever audio the machine has.
    void initTestCase() { qputenv("CANBERRA_DRIVER", "talvo-no-such-driver"); }

    void theFourItemsHaveFourDistinctSounds()
    {
        std::set<std::string_view> first;
        for (int32_t item = 1; item <= 4; ++item) {
            const auto ids = AlarmSoundEventIds(item);
            QVERIFY(!ids.empty());
            first.insert(ids.front());
        }
        QCOMPARE(first.size(), size_t(4));
        for (int32_t item : { -1, 0, 5, INT32_MIN })
            QVERIFY(AlarmSoundEventIds(item).empty());
    }

    void withoutEventSoundsTheItemsBeepAndNoSoundStaysSilent()
    {
        int beeps = 0;
        TDesktopSoundPlayer player([&beeps] { ++beeps; });
        for (int32_t item : { 0, -1, 5 })
            player.Play(item);
        QCOMPARE(beeps, 0);
        for (int32_t item = 1; item <= 4; ++item)
            player.Play(item);
        QCOMPARE(beeps, 4);
        // A sound that failed once is not tried again, but still beeps.
        player.Play(4);
        player.Play(4);
        QCOMPARE(beeps, 6);
    }

    void withoutTheSoundLibraryEverySoundBeeps()
    {
        int beeps = 0;
        TDesktopSoundPlayer player([&beeps] { ++beeps; }, "libtalvo-no-such-sound-library.so.0");
        for (int32_t item : { 0, 1, 2, 3, 4, 4 })
            player.Play(item);
        QCOMPARE(beeps, 5);
    }

    void theApplicationBeepServesWhenNothingElseDoes()
    {
        TDesktopSoundPlayer player;
        for (int32_t item = 0; item <= 4; ++item)
            player.Play(item);
        QVERIFY(QApplication::instance() != nullptr);
    }
};

QTEST_MAIN(TestSoundPlayer)
#include "tst_SoundPlayer.moc"
