#include "remotefixture.h"

#include "link/commandtable.h"
#include "link/settingsimage.h"
#include "link/vx2200ctrl.h"
#include "platform/fileutil.h"
#include "remote/menusetting.h"

#include <QPushButton>

#include <algorithm>


namespace {

using Codes = std::vector<std::string>;

std::int32_t Field(const std::string& strFile, std::size_t nOffset)
{
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i)
        n = (n << 8) | static_cast<std::uint8_t>(strFile.at(nOffset + static_cast<std::size_t>(i)));
    return static_cast<std::int32_t>(n);
}

// The write-all sequence: the 33 settings in the transfer order, then the ten programs.
Codes WriteAllCodes()
{
    Codes codes;
    for (const int k : CVX2200Ctrl::TransferOrder())
        codes.push_back("MS" + std::string(CCommandTable::MenuSuffix(k)));
    codes.insert(codes.end(), TimerProgram::PROGRAM_COUNT, "MSTM");
    return codes;
}

Codes Without(const Codes& codes, const std::string& strCode)
{
    Codes result;
    for (const std::string& str : codes)
        if (str != strCode)
            result.push_back(str);
    return result;
}

} // namespace

class SettingsFileTest : public RemoteTest {
protected:
    // A valid settings file with the recorder's factory values.
    std::string FactoryFile()
    {
        CSettingsImage image;
        EXPECT_EQ(m_pApp->GetCtrl()->ReadAllSettings(image), 0);
        m_sim.ClearTrace();
        return image.Encode();
    }
    std::vector<int> ConfirmModes() const { return m_prompter.ConfirmModes(); }
};

TEST_F(SettingsFileTest, DownloadWritesTheWholeImageWhereTheSaveDialogSays)
{
    m_sim.SetSetting(SET_PM, 2);
    m_sim.SetSetting(SET_TC, 1);
    m_prompter.AnswerFile(m_dir / "mine"); // typed without an extension
    Click(CControlDlg::IDC_DOWNLOAD);
    ASSERT_EQ(m_prompter.Asks().size(), 1u);
    const CPrompter::FileRequest& request = m_prompter.Asks()[0].file;
    EXPECT_TRUE(request.bSave);
    EXPECT_EQ(request.strFolder, m_pApp->GetDataDir());
    EXPECT_EQ(request.strName, "vx2200setting");
    EXPECT_EQ(request.filters, (std::vector<std::string> {"VXS files (*.vxs)", "ALL files (*.*)"}));

    const std::string strFile = ReadAll(m_dir / "mine.vxs");
    ASSERT_EQ(strFile.size(), 692u);
    EXPECT_EQ(Field(strFile, 0), 2);   // PM
    EXPECT_EQ(Field(strFile, 128), 1); // TC
    EXPECT_EQ(Field(strFile, 132), 0); // program 1's number minus one
    EXPECT_EQ(Field(strFile, 132 + 56 + 4), 2); // program 2 is weekly
    EXPECT_EQ(Field(strFile, 132 + 5 * 56 + 8), -1); // a cancelled program's 0xFF
    const Codes codes = ReceivedCodes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), "MVTM"), 10);
    EXPECT_EQ(std::count_if(codes.begin(), codes.end(), [](const std::string& s) { return s[0] == 'B'; }), 0);
}

TEST_F(SettingsFileTest, AFailedDownloadLeavesAnEarlierFileAsItWas)
{
    WriteAll(m_dir / "old.vxs", "earlier");
    // A timer program that cannot be read: nothing is written, nothing said.
    m_sim.SetFault("MVTM", SimFault::Refuse, 1, 4);
    m_prompter.AnswerFile(m_dir / "old.vxs");
    m_prompter.Answer(IDYES); // replace it
    Click(CControlDlg::IDC_DOWNLOAD);
    EXPECT_EQ(ReadAll(m_dir / "old.vxs"), "earlier");
    EXPECT_EQ(m_prompter.Asks().size(), 2u); // the dialog and the replace question
    m_prompter.Clear();

    // A file that cannot be created: a folder that is not there.
    m_prompter.AnswerFile(m_dir / "gone/new.vxs");
    Click(CControlDlg::IDC_DOWNLOAD);
    ASSERT_EQ(m_prompter.Asks().size(), 2u);
    EXPECT_EQ(m_prompter.Asks()[1].strText, "File is not exist.(CControlDlg Warning)");
    EXPECT_EQ(m_prompter.Asks()[1].icon, MessageIcon::Error);
    EXPECT_FALSE(PathExists(m_dir / "gone"));
}

TEST_F(SettingsFileTest, UploadTakesOnlyNamesEndingInVxsAndFilesOfExactly692Bytes)
{
    SetStatus({0, 0, 0, 0});
    const std::string strFile = FactoryFile();
    struct Case {
        std::string strName;
        std::string strBytes;
        bool bTaken;
    };
    const Case cases[] = {
        {"a.VXS", strFile, true},
        {"plainvxs", strFile, true},
        {"a.vxs.bak", strFile, false},
        {"short.vxs", strFile.substr(0, 691), false},
        {"long.vxs", strFile + "x", false},
    };
    for (const Case& c : cases) {
        WriteAll(m_dir / c.strName, c.strBytes);
        m_prompter.Clear();
        m_sim.ClearTrace();
        m_prompter.AnswerFile(m_dir / c.strName);
        Click(CControlDlg::IDC_UPLOAD);
        if (c.bTaken) {
            EXPECT_EQ(ReceivedCodes(), WriteAllCodes()) << c.strName;
            EXPECT_EQ(ConfirmModes(), std::vector<int> {4}) << c.strName;
        } else {
            EXPECT_TRUE(ReceivedCodes().empty()) << c.strName;
            ASSERT_EQ(m_prompter.Asks().size(), 2u) << c.strName;
            EXPECT_EQ(m_prompter.Asks()[1].strText, "Not a valid setting file.");
            EXPECT_EQ(m_prompter.Asks()[1].icon, MessageIcon::Warning);
        }
    }
}

TEST_F(SettingsFileTest, UploadWithTheRecorderOffAsksNothingAndSendsEachValueWithItsOwnCommand)
{
    SetStatus({0, 0, 0, 0});
    std::string strFile = FactoryFile();
    CSettingsImage image;
    ASSERT_TRUE(image.Decode(strFile));
    image.SetValue(SET_VW, 0);
    image.SetValue(SET_VR, 1);
    image.Program(7)[TimerProgram::MODE] = 1;
    image.Program(7)[TimerProgram::MONTH] = 6;
    image.Program(7)[TimerProgram::DAY] = 1;
    for (int f = TimerProgram::WEEKDAYS; f < TimerProgram::FIELD_COUNT; ++f)
        image.Program(7)[f] = f == TimerProgram::WEEKDAYS ? 0 : 1;
    WriteAll(m_dir / "set.vxs", image.Encode());
    m_prompter.AnswerFile(m_dir / "set.vxs");
    bool bMenuDisabledAtTheNotice = false;
    m_prompter.m_fnOnAsk = [&](const CScriptedPrompter::Asked& asked) {
        if (asked.kind == CScriptedPrompter::Asked::Kind::Confirm && asked.nMode == 4)
            bMenuDisabledAtTheNotice = !Page().GetMenuButton()->isEnabled();
    };
    Click(CControlDlg::IDC_UPLOAD);
    EXPECT_EQ(ConfirmModes(), std::vector<int> {4});
    EXPECT_EQ(ReceivedCodes(), WriteAllCodes()); // no status query, no power key
    EXPECT_EQ(Parameters("MSVW"), std::vector<std::string> {Byte(0)});
    EXPECT_EQ(Parameters("MSVR"), std::vector<std::string> {Byte(1)});
    EXPECT_EQ(m_sim.GetSetting(SET_VW), 0);
    EXPECT_EQ(m_sim.GetSetting(SET_VR), 1);
    EXPECT_EQ(m_sim.GetTimerProgram(7)[TimerProgram::MONTH], 6);
    EXPECT_EQ(m_waits.Waits(), std::vector<int> {2000});
    EXPECT_TRUE(bMenuDisabledAtTheNotice);
    EXPECT_TRUE(Page().GetMenuButton()->isEnabled());
}

TEST_F(SettingsFileTest, UploadSwitchesARecordingRecorderOffAndOnAgainAroundIt)
{
    const std::string strFile = FactoryFile();
    WriteAll(m_dir / "set.vxs", strFile);
    SetStatus({1, 0, 1, 0});
    m_prompter.Answer(1); // switch it off
    m_prompter.AnswerFile(m_dir / "set.vxs");
    Click(CControlDlg::IDC_UPLOAD);
    EXPECT_EQ(ConfirmModes(), (std::vector<int> {3, 4}));
    Codes expected {"BTQT", "BTRS", "BTQT", "BTPF"};
    const Codes writes = WriteAllCodes();
    expected.insert(expected.end(), writes.begin(), writes.end());
    expected.insert(expected.end(), {"BTQT", "BTQT", "BTPO"});
    EXPECT_EQ(ReceivedCodes(), expected);
    EXPECT_EQ(m_waits.Waits(), (std::vector<int> {500, 2000, 5000}));
    EXPECT_EQ(m_sim.GetStatus()[0], 1);
}

// Cancelled at the file dialog: the recorder goes back on, whether or not the
// poll has seen it off meanwhile.
TEST_F(SettingsFileTest, UploadCancelledAtTheFileDialogSwitchesTheRecorderOnAgain)
{
    for (const bool bPoll : {true, false}) {
        SetStatus({1, 0, 0, 0});
        m_prompter.Clear();
        m_prompter.Answer(1);
        m_prompter.m_fnOnAsk = [&](const CScriptedPrompter::Asked& asked) {
            if (bPoll && asked.kind == CScriptedPrompter::Asked::Kind::File)
                Tick(); // the poll runs while the dialog is open
        };
        Click(CControlDlg::IDC_UPLOAD);
        m_prompter.m_fnOnAsk = nullptr;
        EXPECT_EQ(ConfirmModes(), std::vector<int> {3}) << bPoll;
        EXPECT_EQ(Without(ReceivedCodes(), "BTQT"), (Codes {"BTPF", "BTPO"})) << bPoll;
        EXPECT_EQ(m_sim.GetStatus()[0], 1) << bPoll;
        m_sim.ClearTrace();
    }

    // Declined: nothing happens.
    SetStatus({1, 0, 0, 0});
    m_prompter.Clear();
    Click(CControlDlg::IDC_UPLOAD);
    EXPECT_EQ(ConfirmModes(), std::vector<int> {3});
    EXPECT_TRUE(ReceivedCodes().empty());
}
