// The settings file image, and reading and writing all settings on the wire.
#include "link/linkfixture.h"

#include <algorithm>

namespace {

int IntAt(const std::string& strBytes, int nOffset)
{
    std::uint32_t n = 0;
    for (int b = 0; b < 4; ++b)
        n |= static_cast<std::uint32_t>(static_cast<unsigned char>(strBytes[static_cast<std::size_t>(nOffset + b)])) << (8 * b);
    return static_cast<std::int32_t>(n);
}

// The one-byte settings' read or write codes in transfer order.
std::vector<std::string> TransferCodes(const char* pszFamily)
{
    std::vector<std::string> codes;
    for (const char* pszSuffix : {"PR", "WD", "PM", "TS", "TT", "WM", "RQ", "RD", "RI", "RC", "AS", "AN", "AP",
                                  "AT", "AF", "AQ", "AD", "AI", "AB", "AO", "VQ", "VD", "VW", "VR", "VP", "VG",
                                  "VH", "VT", "VC", "VM", "TR", "TF", "TC"})
        codes.push_back(std::string(pszFamily) + pszSuffix);
    return codes;
}

} // namespace

TEST(SettingsImage, FileLayout)
{
    CSettingsImage image;
    for (int k = 0; k < CCommandTable::MENU_COUNT; ++k)
        image.SetValue(k, 100 + k);
    image.SetValue(24, 1); // VW
    image.SetValue(25, 0); // VR
    image.SetValue(34, -1); // TC
    image.Program(0)[TimerProgram::PROGRAM] = 0;
    image.Program(9)[TimerProgram::MOTION_PATTERN] = 1;
    image.Program(1)[TimerProgram::START_HOUR] = 23;
    const std::string strFile = image.Encode();
    ASSERT_EQ(strFile.size(), 692u);
    EXPECT_EQ(IntAt(strFile, 0), 100);   // PM
    EXPECT_EQ(IntAt(strFile, 4), 101);   // PR
    EXPECT_EQ(IntAt(strFile, 8), 103);   // TS: the clock has no place
    EXPECT_EQ(IntAt(strFile, 36), 110);  // RC
    EXPECT_EQ(IntAt(strFile, 40), 112);  // AS: nor has the timer program
    EXPECT_EQ(IntAt(strFile, 88), 1);    // VW
    EXPECT_EQ(IntAt(strFile, 92), 0);    // VR
    EXPECT_EQ(strFile.substr(128, 4), std::string(4, '\xFF')); // TC -1
    EXPECT_EQ(IntAt(strFile, 132), 0);   // program 1, byte 0
    EXPECT_EQ(IntAt(strFile, 132 + 56 + 5 * 4), 23);
    EXPECT_EQ(IntAt(strFile, 688), 1);   // program 10, last field
    EXPECT_EQ(IntAt(strFile, 132 + 56 * 5), CSettingsImage::NO_VALUE); // never set

    CSettingsImage copy;
    ASSERT_TRUE(copy.Decode(strFile));
    EXPECT_EQ(copy.Encode(), strFile);
    EXPECT_EQ(copy.GetValue(25), 0);
    EXPECT_EQ(copy.Program(1)[TimerProgram::START_HOUR], 23);
}

TEST(SettingsImage, OnlyWholeFilesAreTaken)
{
    CSettingsImage image;
    image.SetValue(9, 3);
    for (const std::size_t nSize : {0u, 132u, 691u, 693u}) {
        EXPECT_FALSE(image.Decode(std::string(nSize, '\x01'))) << nSize;
        EXPECT_EQ(image.GetValue(9), 3);
    }
}

class TransferTest : public CLinkTest {};

TEST_F(TransferTest, ReadAllReadsEverySettingInTheRecordersOrder)
{
    m_sim.SetSetting(24, 1);
    m_sim.SetSetting(25, 0);
    m_sim.SetSetting(0, 0xFF);
    CSettingsImage image;
    std::vector<int> failed;
    ASSERT_EQ(m_ctrl.ReadAllSettings(image, &failed), 0);
    EXPECT_TRUE(failed.empty());
    std::vector<std::string> expected = TransferCodes("MV");
    expected.insert(expected.end(), 10, "MVTM");
    EXPECT_EQ(ReceivedCodes(), expected);
    const std::vector<std::string> frames = Received();
    EXPECT_EQ(frames[33], "A0 05 4D 56 54 4D 00 AF");
    EXPECT_EQ(frames[42], "A0 05 4D 56 54 4D 09 AF");
    for (int k = 0; k < CCommandTable::MENU_COUNT; ++k) {
        if (CSettingsImage::HoldsSetting(k)) {
            EXPECT_EQ(image.GetValue(k), static_cast<std::int8_t>(m_sim.GetSetting(k))) << "k " << k;
        }
    }
    EXPECT_EQ(image.GetValue(0), -1);
    for (int p = 0; p < 10; ++p) {
        const CRecorderModel::Program program = m_sim.GetTimerProgram(p);
        for (int f = 0; f < 14; ++f)
            EXPECT_EQ(image.Program(p)[f], static_cast<std::int8_t>(program[static_cast<std::size_t>(f)]));
    }
    const std::string strFile = image.Encode();
    EXPECT_EQ(IntAt(strFile, 132), 0); // byte 0 of program 1 as the recorder reported it
    EXPECT_EQ(IntAt(strFile, 0), -1);
}

// A setting whose read fails keeps no stray value: it goes into the file as -1.
TEST_F(TransferTest, FailedSettingReadDoesNotStopTheOthers)
{
    m_sim.SetFault("MVAT", SimFault::Refuse);
    m_sim.SetFault("MVVM", SimFault::BadCode);
    CSettingsImage image;
    std::vector<int> failed;
    EXPECT_EQ(m_ctrl.ReadAllSettings(image, &failed), 0);
    EXPECT_EQ(failed, (std::vector<int> {15, 31}));
    EXPECT_EQ(ReceivedCodes().size(), 43u);
    EXPECT_EQ(image.GetValue(15), CSettingsImage::NO_VALUE);
    EXPECT_EQ(IntAt(image.Encode(), 52), -1);
    EXPECT_EQ(image.GetValue(16), m_sim.GetSetting(16));
}

TEST_F(TransferTest, FailedProgramReadEndsTheSequence)
{
    m_sim.SetFault("MVTM", SimFault::BadEnd, 1, 4); // programs 0..3 answer well, 4 does not
    CSettingsImage image;
    EXPECT_EQ(m_ctrl.ReadAllSettings(image), 2);
    const std::vector<std::string> frames = Received();
    ASSERT_EQ(frames.size(), 33u + 5u);
    EXPECT_EQ(frames.back(), "A0 05 4D 56 54 4D 04 AF");
    EXPECT_EQ(image.Program(3)[TimerProgram::PROGRAM], 3);
    EXPECT_EQ(image.Program(4)[TimerProgram::PROGRAM], CSettingsImage::NO_VALUE);
}

TEST_F(TransferTest, WriteAllSendsEachValueWithItsOwnCommand)
{
    m_sim.SetStatus({0, 0, 0, 0}); // settings are changed with the recorder off
    CSettingsImage image;
    for (int k = 0; k < CCommandTable::MENU_COUNT; ++k)
        image.SetValue(k, 0);
    image.SetValue(24, 1); // VW
    image.SetValue(25, 0); // VR
    image.SetValue(9, 12); // RI
    for (int p = 0; p < 10; ++p) {
        image.Program(p).nField = {p, 0, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    }
    image.Program(7).nField = {7, 1, 5, 31, 0, 22, 15, 23, 45, 0, 1, 2, 0, 1};
    ASSERT_EQ(m_ctrl.WriteAllSettings(image), 0);
    std::vector<std::string> expected = TransferCodes("MS");
    expected.insert(expected.end(), 10, "MSTM");
    EXPECT_EQ(ReceivedCodes(), expected);
    const std::vector<std::string> frames = Received();
    EXPECT_EQ(frames[22], "A0 05 4D 53 56 57 01 AF"); // VW
    EXPECT_EQ(frames[23], "A0 05 4D 53 56 52 00 AF"); // VR
    EXPECT_EQ(frames[33], "A0 12 4D 53 54 4D 00 00 FF FF FF FF FF FF FF FF FF FF FF FF AF");
    EXPECT_EQ(frames[40], "A0 12 4D 53 54 4D 07 01 05 1F 00 16 0F 17 2D 00 01 02 00 01 AF");
    EXPECT_EQ(m_sim.GetSetting(9), 12);
    EXPECT_EQ(m_sim.GetSetting(24), 1);
    EXPECT_EQ(m_sim.GetSetting(25), 0);
    EXPECT_EQ(m_sim.GetTimerProgram(7)[3], 31);
}

TEST_F(TransferTest, WriteAllMakesEveryExchangeAndReportsTheFirstFailure)
{
    CSettingsImage image; // recorder on: every write is refused
    for (int k = 0; k < CCommandTable::MENU_COUNT; ++k)
        image.SetValue(k, 0);
    EXPECT_EQ(m_ctrl.WriteAllSettings(image), 3);
    EXPECT_EQ(Received().size(), 43u);
}
