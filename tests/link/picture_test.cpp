// The picture commands on the wire: the moves, the information record, the
// upload in chunks and every way an upload goes wrong; and what the simulated
// recorder's picture position does with each move.
#include "link/linkfixture.h"
#include "sim/simrecording.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int MAX_PICTURE = CVX2200Ctrl::PICTURE_BUFFER_BYTES;

double SecondsSince(Clock::time_point t0)
{
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

// Bytes 0, 1, 2, ... as a picture of nSize bytes.
std::string Counting(std::size_t nSize)
{
    std::string str(nSize, '\0');
    for (std::size_t i = 0; i < nSize; ++i)
        str[i] = static_cast<char>(i * 7 + i / 251);
    return str;
}

// The time digits of an information record as "YYMMDD hhmmss", and the camera.
std::string RecordTime(const std::uint8_t* pRecord)
{
    const std::string str(reinterpret_cast<const char*>(pRecord + 5), 12);
    return str.substr(0, 6) + " " + str.substr(6);
}

} // namespace

class PictureTest : public CLinkTest {
protected:
    // A buffer of exactly one picture, so that the sanitizer sees a byte
    // written past it; filled with a sentinel.
    PictureTest() : m_pBuffer(std::make_unique<std::uint8_t[]>(MAX_PICTURE))
    {
        std::fill_n(m_pBuffer.get(), MAX_PICTURE, SENTINEL);
    }

    // The headers of the chunks the recorder sent ("A0 00 4A 57"), in order.
    std::vector<std::string> ChunkHeaders() const
    {
        std::vector<std::string> headers;
        for (const SimTraceEntry& e : m_sim.Trace()) {
            if (!e.IsReceived() && e.strBytes.size() > 5 && e.strBytes[2] == 'J'
                && (e.strBytes[3] == 'W' || e.strBytes[3] == 'X' || e.strBytes[3] == 'Y'))
                headers.push_back(e.Hex().substr(0, 11));
        }
        return headers;
    }
    int ChunkRequests() const
    {
        int n = 0;
        for (const std::string& strFrame : Received())
            n += strFrame == "05";
        return n;
    }
    // The record of the picture at the recorder's position.
    std::string PositionTime()
    {
        std::uint8_t record[CVX2200Ctrl::PICTURE_INFO_BYTES] = {};
        EXPECT_EQ(m_ctrl.PictureInfo(record), 0);
        return RecordTime(record);
    }

    static constexpr std::uint8_t SENTINEL = 0xEE;
    std::unique_ptr<std::uint8_t[]> m_pBuffer;
};

TEST_F(PictureTest, MovesPutTheirFramesOnTheWire)
{
    const WireCase cases[] = {
        {"PictureAtTime(4, 3, 14, 9, 5, 30)", [&] { return m_ctrl.PictureAtTime(4, 3, 14, 9, 5, 30); }, 0,
         {"<- A0 0C 4A 30 30 34 30 33 31 34 30 39 30 35 33 30 AF", "-> 06"}},
        {"PictureStep(1)", [&] { return m_ctrl.PictureStep(1); }, 0, {"<- A0 00 4A 31 AF", "-> 06"}},
        {"PictureStep(4)", [&] { return m_ctrl.PictureStep(4); }, 0, {"<- A0 00 4A 34 AF", "-> 06"}},
        {"PictureStep(6)", [&] { return m_ctrl.PictureStep(6); }, 0, {"<- A0 00 4A 36 AF", "-> 06"}},
        {"a time after the newest picture", [&] { return m_ctrl.PictureAtTime(4, 3, 15, 9, 0, 0); }, 3,
         {"<- A0 0C 4A 30 30 34 30 33 31 35 30 39 30 30 30 30 AF", "-> 15"}},
        {"PictureStep(0)", [&] { return m_ctrl.PictureStep(0); }, 3, {}},
        {"PictureStep(7)", [&] { return m_ctrl.PictureStep(7); }, 3, {}},
        {"a value above 99", [&] { return m_ctrl.PictureAtTime(104, 3, 14, 9, 5, 30); }, 3, {}},
        {"a negative value", [&] { return m_ctrl.PictureAtTime(4, 3, 14, 9, -5, 30); }, 3, {}},
    };
    CheckWire(cases);
}

TEST_F(PictureTest, InfoHandsOverTheRecordOrLeavesItUntouched)
{
    ASSERT_EQ(m_ctrl.PictureStep(6), 0);
    std::uint8_t record[CVX2200Ctrl::PICTURE_INFO_BYTES];
    std::fill(std::begin(record), std::end(record), SENTINEL);
    m_sim.ClearTrace();
    ASSERT_EQ(m_ctrl.PictureInfo(record), 0);
    const std::vector<std::string> wire = Wire();
    ASSERT_EQ(wire.size(), 2u);
    EXPECT_EQ(wire[0], "<- A0 00 4A 49 AF");
    const std::string strAnswer = Bytes(wire[1].substr(3));
    ASSERT_EQ(strAnswer.size(), 46u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record), 38), strAnswer.substr(7, 38));
    EXPECT_EQ(RecordTime(record), "040315 080459");
    EXPECT_EQ(record[17], 15); // the newest picture is camera 16's
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record + 32), 2), "00");

    const struct {
        SimFault fault;
        int nStatus;
    } faults[] = {{SimFault::BadCode, 2}, {SimFault::BadStart, 2}, {SimFault::Silence, 3}};
    for (const auto& f : faults) {
        std::uint8_t untouched[CVX2200Ctrl::PICTURE_INFO_BYTES];
        std::fill(std::begin(untouched), std::end(untouched), SENTINEL);
        m_sim.SetFault("JI", f.fault, 1);
        EXPECT_EQ(m_ctrl.PictureInfo(untouched), f.nStatus) << SimFaultName(f.fault);
        EXPECT_TRUE(std::all_of(std::begin(untouched), std::end(untouched), [](auto b) { return b == SENTINEL; }))
            << SimFaultName(f.fault);
    }
}

// Full chunks carry 1024 bytes (length byte 0); the rest of a picture goes in
// a chunk of its own length up to 127 bytes, else in a padded 1024-byte chunk.
TEST_F(PictureTest, UploadGathersTheChunksIntoTheBuffer)
{
    const struct {
        std::size_t nSize;
        std::vector<std::string> headers;
    } cases[] = {
        {2500, {"A0 00 4A 57", "A0 00 4A 57", "A0 00 4A 58"}}, // the last chunk padded: 3072 bytes arrive
        {1151, {"A0 00 4A 57", "A0 7F 4A 58"}},
        {1024, {"A0 00 4A 58"}},
        {1, {"A0 01 4A 58"}},
    };
    for (const auto& c : cases) {
        const std::string strPicture = Counting(c.nSize);
        m_sim.SetFixedPicture(strPicture);
        m_sim.ClearTrace();
        std::fill_n(m_pBuffer.get(), MAX_PICTURE, SENTINEL);
        int nSize = -1;
        EXPECT_EQ(m_ctrl.PictureUpload(m_pBuffer.get(), nSize), 0) << c.nSize;
        EXPECT_EQ(nSize, static_cast<int>(c.nSize));
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(m_pBuffer.get()), c.nSize), strPicture) << c.nSize;
        EXPECT_EQ(ChunkHeaders(), c.headers) << c.nSize;
        EXPECT_EQ(ChunkRequests(), static_cast<int>(c.headers.size())) << c.nSize;
        const std::size_t nArrived = c.headers.back() == "A0 00 4A 58" ? c.headers.size() * 1024 : c.nSize;
        EXPECT_EQ(m_pBuffer[nArrived], SENTINEL) << c.nSize;
    }
    const std::vector<std::string> wire = Wire();
    ASSERT_GE(wire.size(), 2u);
    EXPECT_EQ(wire[0], "<- A0 00 4A 55 AF");
    EXPECT_EQ(wire[1], "-> A0 04 4A 56 00 00 00 01 AF");
}

// The recorder pads the last of the 524 chunks of a largest picture to 1024
// bytes; the padding lies past the buffer and is dropped.
TEST_F(PictureTest, LargestPictureFillsTheBufferExactly)
{
    const std::string strPicture = Counting(MAX_PICTURE);
    m_sim.SetFixedPicture(strPicture);
    int nSize = 0;
    ASSERT_EQ(m_ctrl.PictureUpload(m_pBuffer.get(), nSize), 0);
    EXPECT_EQ(nSize, MAX_PICTURE);
    EXPECT_EQ(ChunkRequests(), 524);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(m_pBuffer.get()), MAX_PICTURE), strPicture);
    EXPECT_EQ(PositionTime(), "040315 080459"); // the link is in step afterwards
}

TEST_F(PictureTest, UploadFaultsNeverWritePastTheBuffer)
{
    const struct {
        SimFault fault;
        int nStatus;
        int nSize;
        bool bStored; // whether any byte reached the buffer
    } cases[] = {
        {SimFault::SizeZero, 0, 0, false},            // status as it stood: the JI before was good
        {SimFault::SizeHuge, 0, MAX_PICTURE + 1, false},
        {SimFault::ChunkBadCode, 2, 2500, false},
        {SimFault::ChunkLong, 2, 2500, false},
        {SimFault::ChunkOverrun, 2, 2500, true},
        {SimFault::CloseMidPicture, 2, 2500, true},
        {SimFault::SilenceMidPicture, 2, 2500, true},
    };
    for (const auto& c : cases) {
        const std::string strCase(SimFaultName(c.fault));
        // A fresh connection for each case: a closed one is gone.
        m_ctrl.Disconnect();
        ASSERT_EQ(m_ctrl.Connect("127.0.0.1", m_sim.Port()), 0);
        m_sim.SetFixedPicture(Counting(2500));
        m_sim.SetFault("JU", c.fault, 1);
        m_sim.ClearTrace();
        std::fill_n(m_pBuffer.get(), MAX_PICTURE, SENTINEL);
        std::uint8_t record[CVX2200Ctrl::PICTURE_INFO_BYTES] = {};
        int nSize = -1;
        const auto t0 = Clock::now();
        EXPECT_EQ(m_ctrl.TransferPicture(record, m_pBuffer.get(), nSize, 6, 0, 0, 0, 0, 0, 0), c.nStatus) << strCase;
        EXPECT_LT(SecondsSince(t0), 5.0) << strCase;
        EXPECT_EQ(nSize, c.nSize) << strCase;
        EXPECT_EQ(m_pBuffer[0] != SENTINEL, c.bStored) << strCase;
        if (c.nStatus == 0) {
            EXPECT_EQ(ChunkRequests(), 0) << strCase;
        }
        if (c.fault == SimFault::ChunkOverrun) {
            // 523 chunks fit; the next one, not the last, would run past the
            // buffer: nothing of it is stored.
            EXPECT_EQ(ChunkRequests(), 524);
            EXPECT_EQ(m_pBuffer[523 * 1024 - 1], 0);
            EXPECT_EQ(m_pBuffer[523 * 1024], SENTINEL);
        }
    }
    EXPECT_TRUE(m_prompter.Asks().empty());
}

TEST_F(PictureTest, TransferStopsAtTheFirstFailingStep)
{
    const struct {
        const char* pszCode;
        SimFault fault;
        int nStatus;
        std::vector<std::string> codes;
    } cases[] = {
        {"", SimFault::None, 0, {"J6", "JI", "JU"}},
        {"J6", SimFault::Refuse, 3, {"J6"}},
        {"JI", SimFault::BadCode, 2, {"J6", "JI"}},
        {"JU", SimFault::BadCode, 2, {"J6", "JI", "JU"}},
    };
    for (const auto& c : cases) {
        if (*c.pszCode)
            m_sim.SetFault(c.pszCode, c.fault, 1);
        m_sim.ClearTrace();
        std::uint8_t record[CVX2200Ctrl::PICTURE_INFO_BYTES] = {};
        int nSize = -1;
        EXPECT_EQ(m_ctrl.TransferPicture(record, m_pBuffer.get(), nSize, 6, 0, 0, 0, 0, 0, 0), c.nStatus)
            << c.pszCode;
        std::vector<std::string> codes;
        for (const std::string& strFrame : Received()) {
            if (strFrame != "05")
                codes.push_back(Bytes(strFrame).substr(2, 2));
        }
        EXPECT_EQ(codes, c.codes) << c.pszCode;
        EXPECT_EQ(nSize > 0, c.nStatus == 0) << c.pszCode;
    }
}

// The simulated recorder has recorded camera 1 to 16 in turn, one picture a
// second, for the hour before its clock's start (08:05:00); a block is a
// minute.
TEST_F(PictureTest, RecorderPositionFollowsEachMove)
{
    const struct {
        const char* pszMove;
        std::function<int()> fnMove;
        int nStatus;
        const char* pszTime;
    } moves[] = {
        {"J6 newest", [&] { return m_ctrl.PictureStep(6); }, 0, "040315 080459"},
        {"J1 stays at the newest", [&] { return m_ctrl.PictureStep(1); }, 0, "040315 080459"},
        {"J2", [&] { return m_ctrl.PictureStep(2); }, 0, "040315 080458"},
        {"J4 previous block", [&] { return m_ctrl.PictureStep(4); }, 0, "040315 080300"},
        {"J3 next block", [&] { return m_ctrl.PictureStep(3); }, 0, "040315 080400"},
        {"J3 stays in the newest block", [&] { return m_ctrl.PictureStep(3); }, 0, "040315 080400"},
        {"J0 a time", [&] { return m_ctrl.PictureAtTime(4, 3, 15, 7, 30, 15); }, 0, "040315 073015"},
        {"J0 before the oldest", [&] { return m_ctrl.PictureAtTime(4, 3, 15, 6, 0, 0); }, 0, "040315 070500"},
        {"J2 stays at the oldest", [&] { return m_ctrl.PictureStep(2); }, 0, "040315 070500"},
        {"J4 wraps to the newest block", [&] { return m_ctrl.PictureStep(4); }, 0, "040315 080400"},
        {"J5 start of the recording", [&] { return m_ctrl.PictureStep(5); }, 0, "040315 070500"},
        {"J0 after the newest is refused", [&] { return m_ctrl.PictureAtTime(4, 3, 15, 9, 0, 0); }, 3,
         "040315 070500"},
    };
    for (const auto& m : moves) {
        EXPECT_EQ(m.fnMove(), m.nStatus) << m.pszMove;
        EXPECT_EQ(PositionTime(), m.pszTime) << m.pszMove;
    }
    ASSERT_EQ(m_ctrl.PictureStep(1), 0);
    std::uint8_t record[CVX2200Ctrl::PICTURE_INFO_BYTES] = {};
    ASSERT_EQ(m_ctrl.PictureInfo(record), 0);
    EXPECT_EQ(record[17], 1); // 07:05:01, the second picture: camera 2

    m_sim.SetStatus({0, 0, 0, 0}); // switched off: no moves
    EXPECT_EQ(m_ctrl.PictureStep(6), 3);
}

TEST_F(PictureTest, RecordingGoesOnWhileTheRecorderRecords)
{
    m_sim.SetSetting(9, 1); // REC INTERVAL 1/30 s
    const long long nBefore = m_sim.PictureCount();
    ASSERT_EQ(m_ctrl.KeyRecord(), 0);
    for (const auto t0 = Clock::now(); m_sim.PictureCount() < nBefore + 2 && SecondsSince(t0) < 5;)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::uint8_t record[CVX2200Ctrl::PICTURE_INFO_BYTES] = {};
    ASSERT_EQ(m_ctrl.PictureStep(6), 0);
    ASSERT_EQ(m_ctrl.PictureInfo(record), 0);
    EXPECT_GE(RecordTime(record), "040315 080500");
    EXPECT_GT(m_sim.PictureCount(), nBefore);
    // The cameras go on in turn from the hour before: 3600 pictures, then camera 1.
    EXPECT_EQ(m_sim.PictureAt(nBefore).nCamera, 1);
    EXPECT_EQ(m_sim.PictureAt(nBefore + 1).nTimeMs - m_sim.PictureAt(nBefore).nTimeMs, 33);
    ASSERT_EQ(m_ctrl.PictureStep(5), 0); // while recording: the newest
    EXPECT_EQ(m_sim.PicturePosition(), m_sim.PictureCount() - 1);
    ASSERT_EQ(m_ctrl.KeyRecordStop(), 0);
    ASSERT_EQ(m_ctrl.PictureStep(5), 0); // then: the start of that recording
    EXPECT_EQ(m_sim.PicturePosition(), nBefore);
}

// The simulator's timeline across recordings: intervals that change, a clock
// set back, and recording that stops; indices stay put and nothing is lost.
TEST(SimRecording, RecordingsFollowOneAnother)
{
    CSimRecording rec(4, 0, 10'000, 1000); // 0 .. 9 s, cameras 1..4 in turn
    ASSERT_EQ(rec.Count(), 10);
    EXPECT_EQ(rec.At(9).nCamera, 2);
    rec.Sync(20'000, false, 1000);
    EXPECT_EQ(rec.Count(), 10);
    rec.Sync(20'500, true, 250);  // recording from 20.5 s, four pictures a second
    rec.Sync(21'100, true, 250);
    ASSERT_EQ(rec.Count(), 13);
    EXPECT_EQ(rec.At(10).nCamera, 3);
    EXPECT_EQ(rec.At(11).nTimeMs, 20'750);
    EXPECT_EQ(rec.At(11).nFrame, 1);
    EXPECT_EQ(rec.At(12).nFrame, 0); // the first of second 21
    rec.Sync(21'600, true, 1000); // a new interval: 21.6 s belongs to the new recording
    EXPECT_EQ(rec.Count(), 16);
    EXPECT_EQ(rec.At(14).nTimeMs, 21'500);
    EXPECT_EQ(rec.At(15).nTimeMs, 21'600);
    rec.Sync(21'300, true, 1000); // the clock set back
    EXPECT_EQ(rec.At(15).nTimeMs, 21'600);
    EXPECT_EQ(rec.At(16).nTimeMs, 21'300);
    rec.Sync(23'000, false, 1000); // stopped: 22.3 s is the last
    rec.Sync(40'000, false, 1000);
    ASSERT_EQ(rec.Count(), 18);
    EXPECT_FALSE(rec.IsRecording());

    EXPECT_EQ(rec.FirstAtOrAfter(15'000), 10);
    EXPECT_EQ(rec.FirstAtOrAfter(21'200), 13); // in recording order
    EXPECT_EQ(rec.FirstAtOrAfter(22'301), -1);
    EXPECT_EQ(rec.Find(21'000, 1), 13);
    EXPECT_EQ(rec.Find(20'000, 2), -1);
    EXPECT_EQ(rec.NewestRecordingStart(), 16);
    EXPECT_EQ(rec.NextBlock(9), 10); // the next recording
    EXPECT_EQ(rec.BlockStart(14), 10);
    EXPECT_EQ(rec.NextBlock(17), -1);
    EXPECT_EQ(rec.At(18).nIndex, -1);

    rec.Sync(50'000, true, 1000);
    rec.ClockChanged(50'500, 5'000);
    EXPECT_EQ(rec.Count(), 20);
    EXPECT_EQ(rec.At(19).nTimeMs, 5'000);
    EXPECT_TRUE(rec.IsRecording());
}

TEST(SimRecording, BlocksAreMinutes)
{
    CSimRecording rec(1, 0, 180'000, 30'000); // 0, 30, 60, 90, 120, 150 s
    EXPECT_EQ(rec.BlockStart(0), 0);
    EXPECT_EQ(rec.BlockStart(3), 2);
    EXPECT_EQ(rec.NextBlock(2), 4);
    EXPECT_EQ(rec.NextBlock(5), -1);
}
