#include "backupfixture.h"

#include "link/vx2200ctrl.h"
#include "sim/simpicture.h"
#include "store/picturestamp.h"

#include <filesystem>
#include <vector>

namespace {

CRecorderSim::Options SimOptions(int nRecInterval)
{
    CRecorderSim::Options options;
    options.start = SimDateTime {2004, 1, 23, 10, 30, 0};
    options.nRecInterval = nRecInterval;
    return options;
}

} // namespace

BackupTest::BackupTest(int nRecInterval) : m_sim(SimOptions(nRecInterval))
{
}

BackupTest::~BackupTest()
{
    m_pApp.reset();
}

void BackupTest::SetUp()
{
    ASSERT_TRUE(m_sim.Start());
    m_pApp = std::make_unique<CVX2200NETApp>(
        CVX2200NETApp::Paths {m_dir / "none.conf", m_dir / "prog/", m_dir / "lock"});
    m_pApp->LoadSettings();
    ASSERT_TRUE(m_pApp->CreateServices());
    m_pApp->AddEntry("Demo DVR", "127.0.0.1", m_sim.Port());
    m_pApp->SetConnected(0);
    m_pApp->GetCtrl()->SetAskToReconnect(false);
    ASSERT_EQ(m_pApp->GetCtrl()->Connect("127.0.0.1", m_sim.Port()), 0);
    m_sim.ClearTrace();
}

std::map<std::string, std::string> BackupTest::BackedUpPictures(const CCivilTime& start, const CCivilTime& end)
{
    std::map<std::string, std::string> pictures;
    const long long nCount = m_sim.PictureCount();
    for (long long i = 0; i < nCount; ++i) {
        const CSimRecording::Picture picture = m_sim.PictureAt(i);
        const SimDateTime t = SimDateTime::FromMs(picture.nTimeMs);
        const CCivilTime time {t.nYear, t.nMonth, t.nDay, t.nHour, t.nMinute, t.nSecond};
        if (time < start)
            continue;
        const bool bLast = !(time < end);
        std::uint8_t info[CPictureStamp::INFO_SIZE] = {};
        CSimPicture::MakeInfo(picture.nCamera, t, picture.nFrame, info);
        const auto stamp = CPictureStamp::FromInfo(info, sizeof info);
        if (stamp)
            pictures[stamp->RelativePath()] = m_sim.PictureJpeg(i);
        if (bLast)
            break;
    }
    return pictures;
}

std::map<std::string, std::string> BackupTest::StoredPictures(const std::string& strEventFolder)
{
    namespace fs = std::filesystem;
    std::map<std::string, std::string> pictures;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(strEventFolder, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (!it->is_regular_file())
            continue;
        const std::string strRelative = fs::relative(it->path(), strEventFolder).string();
        const bool bPicture = it->path().extension() == ".jpg";
        pictures[strRelative] = bPicture ? ReadAll(it->path().string()) : std::string("?");
    }
    return pictures;
}

void BackupTest::ExpectSamePictures(const std::map<std::string, std::string>& actual,
                                    const std::map<std::string, std::string>& expected)
{
    std::vector<std::string> actualNames;
    std::vector<std::string> expectedNames;
    for (const auto& [strName, strBytes] : actual)
        actualNames.push_back(strName);
    for (const auto& [strName, strBytes] : expected)
        expectedNames.push_back(strName);
    EXPECT_EQ(actualNames, expectedNames);
    for (const auto& [strName, strBytes] : expected) {
        const auto it = actual.find(strName);
        if (it != actual.end()) {
            EXPECT_TRUE(it->second == strBytes) << strName << ": " << it->second.size() << " bytes, "
                                                << strBytes.size() << " expected";
        }
    }
}

int BackupTest::CountUploads() const
{
    int nCount = 0;
    for (const SimTraceEntry& entry : m_sim.Trace()) {
        const std::string& str = entry.strBytes;
        if (entry.IsReceived() && str.size() >= 5 && str[2] == 'J' && str[3] == 'U')
            ++nCount;
    }
    return nCount;
}
