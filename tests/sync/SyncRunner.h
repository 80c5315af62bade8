#pragma once

#include "sync/CalDavSync.h"
#include "sync/IcalCodec.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// One device of a test: a diary, its state file and its sync, against the
// server of the test.
struct TDevice {
    TDevice(const TDavAccount& account, const QString& collection, TSyncWindow window,
        const QString& stateFile, std::vector<TSyncEvent> events = {})
        : Clock(EncodeDate(2026, 12, 9) + EncodeTime(14, 32))
        , Codec(Clock)
        , Diary(window, std::move(events))
        , Client(account)
        , Sync(Client, Codec, Diary, stateFile.toStdString())
    {
        Client.SetTimeout(3000);
        if (!collection.isEmpty())
            Sync.SetCollection(collection);
    }

    // Runs one sync to its end; a sync that does not end fails the test.
    TSyncOutcome Run(int milliseconds = 60000)
    {
        QSignalSpy finished(&Sync, &TCalDavSync::Finished);
        Sync.Start();
        if (!finished.wait(milliseconds)) {
            QTest::qFail("the sync did not end", __FILE__, __LINE__);
            return {};
        }
        return finished.front().front().value<TSyncOutcome>();
    }

    TFixedClock Clock;
    TIcalCodec Codec;
    TMemoryDiary Diary;
    TCalDavClient Client;
    TCalDavSync Sync;
};

Q_DECLARE_METATYPE(TSyncOutcome)
