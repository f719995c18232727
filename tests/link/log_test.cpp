// Reading the recorder's three logs into their stores.
#include "link/linkfixture.h"

#include <algorithm>

namespace {

std::vector<SimLogRecord> Records(std::size_t nCount, int nCode)
{
    std::vector<SimLogRecord> records(nCount);
    for (std::size_t i = 0; i < nCount; ++i) {
        records[i].time = SimDateTime {2004, 3, 15, 8, 5, 0}.AddSeconds(-static_cast<long long>(i) * 60);
        records[i].nCode = nCode;
    }
    return records;
}

int Filled(const LogRecord* pStore, int nSlots)
{
    return static_cast<int>(std::count_if(pStore, pStore + nSlots, [](const LogRecord& r) { return r.nEntry != 0; }));
}

int Count(const std::vector<std::string>& codes, const std::string& strCode)
{
    return static_cast<int>(std::count(codes.begin(), codes.end(), strCode));
}

} // namespace

class LogTest : public CLinkTest {};

TEST_F(LogTest, RecordIsTakenFromItsAnswerByteForByte)
{
    SimLogRecord record;
    record.time = At(2004, 3, 15, 8, 5, 0);
    record.nCode = 2; // Timer Rec Start
    m_sim.SetLog(LogRecord::REC, {record});
    ASSERT_EQ(m_ctrl.ReadRecLog(), 0);
    EXPECT_EQ(Wire(), (std::vector<std::string> {"<- A0 04 4C 47 52 44 AF", "-> 06",
                                                 "-> A0 11 4C 47 52 44 01 07 D4 03 0F 08 05 00 00 00 00 02 00 AF"}));
    const LogRecord& r = m_ctrl.m_LogRD[0];
    EXPECT_EQ(r.nEntry, 1);
    EXPECT_EQ(r.Year(), 2004);
    EXPECT_EQ(std::vector<int>({r.byMonth, r.byDay, r.byHour, r.byMinute, r.bySecond}),
              std::vector<int>({3, 15, 8, 5, 0}));
    EXPECT_EQ(r.TextId(LogRecord::REC), 191);
    EXPECT_EQ(m_ctrl.m_LogRD[1].nEntry, 0);
}

TEST_F(LogTest, EachKindIsReadWithItsOwnCommandsIntoItsOwnStore)
{
    const struct {
        int nKind;
        const char* pszFirst;
        const char* pszNext;
    } cases[] = {
        {LogRecord::REC, "LGRD", "LGRQ"},
        {LogRecord::ALARM, "LGAL", "LGAQ"},
        {LogRecord::FAILURE, "LGTR", "LGTQ"},
    };
    for (const auto& c : cases) {
        const std::vector<SimLogRecord> expected = m_sim.GetLog(c.nKind);
        m_sim.ClearTrace();
        ASSERT_EQ(m_ctrl.ReadLog(c.nKind), 0) << c.pszFirst;
        int nSlots = 0;
        const LogRecord* pStore = m_ctrl.LogStore(c.nKind, nSlots);
        ASSERT_EQ(Filled(pStore, nSlots), static_cast<int>(expected.size())) << c.pszFirst;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(pStore[i].Year(), expected[i].time.nYear);
            EXPECT_EQ(pStore[i].bySecond, expected[i].time.nSecond);
            EXPECT_EQ(c.nKind == LogRecord::FAILURE ? pStore[i].FailureCode() : pStore[i].byEvent, expected[i].nCode);
        }
        const std::vector<std::string> codes = ReceivedCodes();
        EXPECT_EQ(codes.front(), c.pszFirst);
        EXPECT_EQ(Count(codes, c.pszNext), static_cast<int>(expected.size()) - 1);
    }
    // The failure log of the simulator holds a fan, a disk and a video failure.
    EXPECT_EQ(m_ctrl.m_LogTR[0].TextId(LogRecord::FAILURE), 204);
    EXPECT_EQ(m_ctrl.m_LogTR[1].TextId(LogRecord::FAILURE), 202);
    EXPECT_EQ(m_ctrl.m_LogTR[2].TextId(LogRecord::FAILURE), 200);
}

// The recorder decides how many records follow; the stores hold 100, 500 and
// 100, and nothing is read beyond them.
TEST_F(LogTest, ReadingStopsAtTheStoresCapacity)
{
    const struct {
        int nKind;
        const char* pszFirst;
        const char* pszNext;
        bool bEndless;
        std::size_t nRecords;
        int nSlots;
    } cases[] = {
        {LogRecord::REC, "LGRD", "LGRQ", false, 150, 100},
        {LogRecord::REC, "LGRD", "LGRQ", true, 12, 100},
        {LogRecord::ALARM, "LGAL", "LGAQ", true, 8, 500},
        {LogRecord::FAILURE, "LGTR", "LGTQ", true, 0, 100},
    };
    for (const auto& c : cases) {
        m_sim.SetLog(c.nKind, Records(c.nRecords, 0));
        m_sim.ClearFaults();
        if (c.bEndless) {
            m_sim.SetFault(c.pszFirst, SimFault::EndlessLog);
            m_sim.SetFault(c.pszNext, SimFault::EndlessLog);
        }
        m_sim.ClearTrace();
        EXPECT_EQ(m_ctrl.ReadLog(c.nKind), 0) << c.pszFirst;
        int nSlots = 0;
        const LogRecord* pStore = m_ctrl.LogStore(c.nKind, nSlots);
        EXPECT_EQ(nSlots, c.nSlots);
        EXPECT_EQ(Filled(pStore, nSlots), c.nSlots) << c.pszFirst;
        EXPECT_EQ(Count(ReceivedCodes(), c.pszNext), c.nSlots - 1) << c.pszFirst;
    }
}

TEST_F(LogTest, FailuresKeepTheRecordsReadSoFar)
{
    const struct {
        const char* pszCode;
        SimFault fault;
        int nStatus;
        int nRecords;
    } cases[] = {
        {"LGRD", SimFault::Refuse, 3, 0},
        {"LGRD", SimFault::BadAck, 2, 0},
        {"LGRD", SimFault::Silence, 3, 0},
        {"LGRD", SimFault::NoFrame, 3, 0},
        {"LGRD", SimFault::BadStart, 2, 0},
        {"LGRD", SimFault::BadCode, 2, 0},
        {"LGRQ", SimFault::Refuse, 3, 1},
        {"LGRQ", SimFault::BadAck, 2, 1},
        {"LGRQ", SimFault::Silence, 2, 1},  // no acknowledge to a follow-up
        {"LGRQ", SimFault::NoFrame, 0, 1},  // no record after it: the log ends there
        {"LGRQ", SimFault::BadEnd, 2, 1},
        {"LGRQ", SimFault::BadCode, 2, 1},
    };
    for (const auto& c : cases) {
        const std::string strCase = std::string(c.pszCode) + " " + std::string(SimFaultName(c.fault));
        ASSERT_EQ(m_ctrl.ReadRecLog(), 0) << strCase;
        ASSERT_EQ(Filled(m_ctrl.m_LogRD, 100), 12);
        m_sim.SetFault(c.pszCode, c.fault, 1);
        EXPECT_EQ(m_ctrl.ReadRecLog(), c.nStatus) << strCase;
        EXPECT_EQ(Filled(m_ctrl.m_LogRD, 100), c.nRecords) << strCase;
    }
}

TEST_F(LogTest, ShorterLogLeavesTheRestOfTheStoreEmpty)
{
    ASSERT_EQ(m_ctrl.ReadAlarmLog(), 0);
    ASSERT_EQ(Filled(m_ctrl.m_LogAL, 500), 8);
    m_sim.SetLog(LogRecord::ALARM, Records(3, 1));
    ASSERT_EQ(m_ctrl.ReadAlarmLog(), 0);
    EXPECT_EQ(Filled(m_ctrl.m_LogAL, 500), 3);
    EXPECT_EQ(m_ctrl.m_LogAL[3].Year(), 0);
}

TEST(LogRecordText, EntriesAndTexts)
{
    const struct {
        int nKind;
        int nEntry;
        int nCode;
        bool bHolds;
        int nTextId;
    } cases[] = {
        {LogRecord::REC, 1, 0, true, 187},       {LogRecord::REC, 1, 3, true, 193},
        {LogRecord::REC, -1, 1, true, 189},      {LogRecord::REC, 0, 1, false, 189},
        {LogRecord::REC, 1, 4, true, 0},         {LogRecord::ALARM, 1, 1, true, 198},
        {LogRecord::ALARM, 2, 0, false, 195},    {LogRecord::FAILURE, 1, 100, true, 0},
        {LogRecord::FAILURE, 1, 101, true, 200}, {LogRecord::FAILURE, 1, 200, true, 200},
        {LogRecord::FAILURE, 1, 250, true, 202}, {LogRecord::FAILURE, 1, 301, true, 204},
        {LogRecord::FAILURE, 1, 302, true, 0},
    };
    for (const auto& c : cases) {
        LogRecord record;
        record.nEntry = c.nEntry;
        record.byCodeHigh = static_cast<std::uint8_t>(c.nKind == LogRecord::FAILURE ? c.nCode >> 8 : 0);
        record.byEvent = static_cast<std::uint8_t>(c.nCode & 0xFF);
        EXPECT_EQ(record.HoldsEntry(c.nKind), c.bHolds) << c.nKind << " " << c.nEntry << " " << c.nCode;
        EXPECT_EQ(record.TextId(c.nKind), c.nTextId) << c.nKind << " " << c.nCode;
    }
}
