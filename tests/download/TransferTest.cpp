#include "download/TransferProtocol.h"
#include "download/UDownloadDo.h"
#include "tests/download/FakeRobotLink.h"
#include "tests/download/TransferCases.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Frame(const Bytes& data) {
    const TFrameChecksum c = FrameChecksum(data);
    Bytes frame = {std::uint8_t(data.size() & 0xFF)};
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(std::uint8_t(c.Sum & 0xFF));
    frame.push_back(std::uint8_t(c.Sum >> 8));
    frame.push_back(c.Check);
    return frame;
}

TEST(TransferProtocol, FramesOfTheWorkedExample) {
    EXPECT_EQ(Frame(OpeningPacket),
              (Bytes{0x07, 0x00, 0x54, 0x43, 0xE8, 0x03, 0x00, 0xFA, 0x7C, 0x02, 0x06}));
    const Bytes header = Frame(BuildHeaderPacket(39));
    ASSERT_EQ(header.size(), 76u);
    EXPECT_EQ(header[0], 0x48);
    EXPECT_EQ(header[1], 0x27);
    EXPECT_EQ(header[2], 0x00);
    for (int i = 2; i < 72; ++i)
        EXPECT_EQ(header[1 + i], i);
    EXPECT_EQ((Bytes(header.end() - 3, header.end())), (Bytes{0x22, 0x0A, 0x26}));
    // Only the low 16 bits of the length travel.
    const Bytes big = BuildHeaderPacket(0x12345);
    EXPECT_EQ(big[0], 0x45);
    EXPECT_EQ(big[1], 0x23);
    // 256 data bytes: count byte 0; the sum wraps at 16 bits.
    const Bytes full(256, 0xFF);
    EXPECT_EQ(Frame(full)[0], 0x00);
    EXPECT_EQ(FrameChecksum(Bytes(300, 0xFF)).Sum, std::uint16_t(300 * 0xFF));
}

TEST(ReceiveQueue, OneProducerOneConsumerKeepOrder) {
    TReceiveQueue queue;
    const std::atomic<bool> stop{false};
    constexpr int Count = 20000;
    std::thread producer([&] {
        for (int i = 0; i < Count; ++i)
            queue.QueueByte(std::uint8_t(i));
    });
    int got = 0;
    bool inOrder = true;
    while (got < Count) {
        const auto byte = queue.WaitByte(std::chrono::seconds(10), stop);
        ASSERT_TRUE(byte) << got;
        inOrder = inOrder && *byte == std::uint8_t(got);
        ++got;
    }
    producer.join();
    EXPECT_TRUE(inOrder);
    EXPECT_FALSE(queue.DequeueByte());
}

TEST(ReceiveQueue, AWaitEndsWhenAByteArrivesOrAStopIsRequested) {
    // Waits far longer than any test runs: they only end early by a wake-up.
    TReceiveQueue queue;
    std::atomic<bool> stop{false};
    std::thread producer([&] { queue.QueueByte(0x42); });
    EXPECT_EQ(queue.WaitByte(std::chrono::minutes(10), stop), std::optional<std::uint8_t>(0x42));
    producer.join();

    std::thread stopper([&] {
        stop.store(true);
        queue.Wake();
    });
    EXPECT_FALSE(queue.WaitByte(std::chrono::minutes(10), stop));
    stopper.join();
}

TEST(ReceiveQueue, AnEmptyQueueTimesOut) {
    TReceiveQueue queue;
    const std::atomic<bool> stop{false};
    EXPECT_FALSE(queue.WaitByte(std::chrono::milliseconds(5), stop));
    queue.QueueBytes(Bytes{1, 2});
    queue.Clear();
    EXPECT_EQ(queue.Count(), 0u);
}

// Runs one download over the fake link; returns the result and the trace.
struct TRun {
    int Result = -1;
    std::vector<std::string> Trace;
};

TRun Download(TFakeRobotLink& link, const Bytes& image) {
    const std::atomic<bool> stop{false};
    TTransferProtocol protocol(link, link.Received, stop);
    TRun run;
    run.Result = protocol.Run(image, [&](const std::string& line) { run.Trace.push_back(line); });
    link.Robot.Finish();
    return run;
}

class TransferCase : public ::testing::TestWithParam<TTransferCase> {};

TEST_P(TransferCase, EndsAsTheRobotMakesIt) {
    const TTransferCase& c = GetParam();
    TFakeRobotLink link(c.Script);
    const Bytes image = TestImage(c.ImageSize);
    const TRun run = Download(link, image);
    const TRobotLog& log = link.Robot.Log();
    EXPECT_EQ(run.Result, c.Result);
    EXPECT_EQ(log.OpeningFrames, c.OpeningFrames);
    EXPECT_EQ(log.Acks, c.Acks);
    if (c.Result == 0) {
        EXPECT_TRUE(log.Completed);
        EXPECT_EQ(log.Image, image);
        EXPECT_EQ(std::size_t(log.DataFrames), (image.size() + 63) / 64);
        ASSERT_FALSE(run.Trace.empty());
        EXPECT_EQ(run.Trace.back(), "5:" + std::to_string(log.DataFrames));
    } else {
        EXPECT_FALSE(log.Completed);
    }
}

INSTANTIATE_TEST_SUITE_P(FakeLink, TransferCase, ::testing::ValuesIn(TransferCases()),
                         [](const auto& info) { return info.param.Name; });

TEST(TransferProtocol, WorkedExampleOnTheWire) {
    TFakeRobotLink link(TRobotScript{});
    const Bytes image = TestImage(39);
    const TRun run = Download(link, image);
    ASSERT_EQ(run.Result, 0);
    EXPECT_EQ(run.Trace, (std::vector<std::string>{"1", "2", "3", "4", "5:1"}));
    Bytes expected = Frame(OpeningPacket);
    expected.push_back(0x5A); // this side accepts the first reply
    const Bytes header = Frame(BuildHeaderPacket(39));
    expected.insert(expected.end(), header.begin(), header.end());
    expected.push_back(0x5A); // and the header reply
    const Bytes data = Frame(image);
    expected.insert(expected.end(), data.begin(), data.end());
    EXPECT_EQ(link.Robot.Log().Wire, expected);
}

TEST(TransferProtocol, ASilentLineTimesOutInGetChar) {
    TRobotScript silent;
    silent.Silent = true;
    TFakeRobotLink link(silent);
    const std::atomic<bool> stop{false};
    TTransferProtocol protocol(link, link.Received, stop);
    try {
        protocol.GetChar();
        FAIL() << "no time-out";
    } catch (const ETransferError& e) {
        EXPECT_STREQ(e.what(), "GetChar Timeout");
    }
    link.Received.QueueByte(0x5A);
    EXPECT_EQ(protocol.GetChar(), 0x5A);
}

TEST(TransferProtocol, TraceStopsAtTheFailingStep) {
    TRobotScript script;
    script.HeaderReply = {0xAB, 0xAA};
    TFakeRobotLink link(script);
    EXPECT_EQ(Download(link, TestImage(200)).Trace, (std::vector<std::string>{"1", "2", "3", "4"}));
}

// The thread's contract: exactly one completion, after the last trace line,
// and destroying it mid-download stops and joins instead of running on.
struct TCompletions {
    std::mutex Mutex;
    std::condition_variable Changed;
    std::vector<std::string> Events;

    void Add(std::string event) {
        std::lock_guard lock(Mutex);
        Events.push_back(std::move(event));
        Changed.notify_all();
    }
    bool WaitFor(std::size_t count) {
        std::unique_lock lock(Mutex);
        return Changed.wait_for(lock, std::chrono::seconds(30),
                                [&] { return Events.size() >= count; });
    }
};

TEST(SendDataThread, CompletesOnceAfterItsTrace) {
    TFakeRobotLink link(TRobotScript{});
    TCompletions completions;
    Bytes image = TestImage(130);
    {
        TSendDataThread thread(
            link, link.Received, image, [&](const std::string& line) { completions.Add(line); },
            [&](int result) { completions.Add("done " + std::to_string(result)); });
        image.assign(image.size(), 0); // the thread has its own copy
        EXPECT_EQ(thread.ImageLength(), 130);
        ASSERT_TRUE(completions.WaitFor(8));
    }
    EXPECT_EQ(completions.Events,
              (std::vector<std::string>{"1", "2", "3", "4", "5:1", "5:2", "5:3", "done 0"}));
    link.Robot.Finish();
    EXPECT_EQ(link.Robot.Log().Image, TestImage(130));
}

TEST(SendDataThread, DestroyedMidDownloadStopsAndCompletesOnce) {
    TFakeRobotLink link(TRobotScript{});
    TCompletions completions;
    {
        TSendDataThread thread(
            link, link.Received, TestImage(64 * 40),
            [&](const std::string& line) { completions.Add(line); },
            [&](int result) { completions.Add("done " + std::to_string(result)); });
        ASSERT_TRUE(completions.WaitFor(5)); // the first data packet is out
    }
    // The destructor has joined: nothing can be added any more.
    std::lock_guard lock(completions.Mutex);
    ASSERT_FALSE(completions.Events.empty());
    EXPECT_EQ(completions.Events.back(), "done 1");
    EXPECT_EQ(std::count(completions.Events.begin(), completions.Events.end(), "done 1"), 1);
    EXPECT_LT(completions.Events.size(), 4u + 40u + 1u);
}

} // namespace
