#include "platform/StartHeap.h"

#include <QFile>
#include <QTest>
#include <cstdint>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

class TestStartHeap : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void theStartAllocatesFromOneAlignedBlockUntilSettled()
    {
        constexpr std::uintptr_t HugePage = 2 * 1024 * 1024;
        TStartHeap heap;
        if (!heap.HugeBlock())
            QSKIP("this system backs no memory with huge pages on request");
        const auto block = reinterpret_cast<std::uintptr_t>(heap.HugeBlock());
        QCOMPARE(block % HugePage, 0u);
        QCOMPARE(heap.HugeBlockSize(), std::size_t(HugePage));

        // Blocks the heap has nowhere else to put come from the huge block,
        // one after the other from its start.
        std::vector<std::unique_ptr<char[]>> blocks;
        for (int i = 0; i < 8; ++i) {
            blocks.emplace_back(new char[100 * 1024]);
            const auto at = reinterpret_cast<std::uintptr_t>(blocks.back().get());
            QVERIFY2(
                at >= block && at + 100 * 1024 <= block + HugePage, qPrintable(QString::number(i)));
        }
        QVERIFY(reinterpret_cast<std::uintptr_t>(blocks.front().get()) - block < 64);

        // Settled, the block asks for no huge pages any more.
        heap.Settle();
        QFile maps(u"/proc/self/smaps"_s);
        QVERIFY(maps.open(QIODevice::ReadOnly));
        bool inBlock = false;
        QByteArray flags;
        for (const QByteArray& line : maps.readAll().split('\n')) {
            const qsizetype dash = line.indexOf('-');
            bool isRange = false;
            const qulonglong from = line.left(dash).toULongLong(&isRange, 16);
            if (isRange && dash > 0)
                inBlock = from <= block
                    && block < line.mid(dash + 1).split(' ').front().toULongLong(nullptr, 16);
            else if (inBlock && line.startsWith("VmFlags:"))
                flags = line;
        }
        QVERIFY2(flags.contains(" nh"), flags.constData());
    }
};

QTEST_GUILESS_MAIN(TestStartHeap)
#include "tst_StartHeap.moc"
