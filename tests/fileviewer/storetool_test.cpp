// vx2200store, run as the program it is over a store in a temporary folder:
// the pictures it lists are the ones the page lists and plays, in the same
// order, and it deletes as the page deletes.
#include "fileviewfixture.h"

#include "fixtures/runprogram.h"
#include "store/filedbase.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// The tool finds the program folder through the settings file, as the
// program does: XDG_CONFIG_HOME points at a settings file naming it.
class StoreToolTest : public FileViewTest {
protected:
    void SetUp() override
    {
        const std::string strConfig = m_dir / "config";
        fs::create_directories(strConfig + "/Varnel");
        WriteAll(strConfig + "/Varnel/VX2200NET.conf", "[Setting]\nProgDir=" + ProgDir() + "\n");
        const char* pszOld = std::getenv("XDG_CONFIG_HOME");
        m_strOldConfig = pszOld ? std::optional<std::string>(pszOld) : std::nullopt;
        ::setenv("XDG_CONFIG_HOME", strConfig.c_str(), 1);

        m_pictures = m_maker.Add(m_strCam, 4, {2004, 12, 31, 23, 59, 20}, 90, 2);
        m_other = m_maker.Add(m_strCam, 11, {2005, 1, 2, 3, 4, 5}, 3);
        Register("Cam", m_strCam);
        Register("Gone", EventFolder("Gone"));
    }
    void TearDown() override
    {
        if (m_strOldConfig)
            ::setenv("XDG_CONFIG_HOME", m_strOldConfig->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
    }

    RunResult Run(const std::vector<std::string>& args) const
    {
        std::vector<std::string> all {VX2200STORE_PATH};
        all.insert(all.end(), args.begin(), args.end());
        return RunProgram(all);
    }

    static std::vector<std::string> Lines(const std::string& strText)
    {
        std::vector<std::string> lines;
        std::istringstream in(strText);
        for (std::string strLine; std::getline(in, strLine);)
            lines.push_back(strLine);
        return lines;
    }

    const std::string m_strCam = EventFolder("Cam");
    std::vector<std::string> m_pictures; // camera 04, 90 over the turn of the year
    std::vector<std::string> m_other;    // camera 11
    std::optional<std::string> m_strOldConfig;
};

} // namespace

TEST_F(StoreToolTest, EventsListEveryEntryAndWhetherItsFolderIsThere)
{
    const RunResult r = Run({"events"});
    EXPECT_EQ(r.nExit, 0) << r.strErr;
    EXPECT_EQ(Lines(r.strOut), (std::vector<std::string> {"Cam\t" + m_strCam + "\texists",
                                                          "Gone\t" + EventFolder("Gone") + "\tmissing"}));
    // Listing changes nothing.
    CFileDBase::Entries entries;
    ASSERT_TRUE(CFileDBase(ProgDir()).GetEntries(entries));
    EXPECT_EQ(entries.size(), 2u);
}

TEST_F(StoreToolTest, PicturesAreThoseThePageListsAndPlays)
{
    Open();
    Choose(CFileViewDlg::IDC_CAMERA, "04");
    Choose(CFileViewDlg::IDC_SECOND, "25");
    Page().Search();
    ASSERT_EQ(Page().GetThumbnailCount(), 60);
    std::vector<std::string> visited = Listed();
    // Playback from the last thumbnail visits the rest.
    Page().GetList()->setCurrentRow(59);
    Page().OpenPictureView();
    Page().OnPlayback();
    Tick();
    for (int i = 0; i < 40 && Button(CFileViewDlg::IDC_PLAYBACK)->isEnabled(); ++i) {
        Tick();
        visited.push_back(Page().GetOnDisplay());
    }
    EXPECT_EQ(visited, std::vector<std::string>(m_pictures.begin() + 10, m_pictures.end()));

    for (const std::vector<std::string>& args : {std::vector<std::string> {"pictures", "cam", "4", "2004-12-31", "23:59:25"},
                                                 std::vector<std::string> {"pictures", "Cam", "04", "2004-12-31 23:59:25"}}) {
        const RunResult r = Run(args);
        EXPECT_EQ(r.nExit, 0) << r.strErr;
        EXPECT_EQ(Lines(r.strOut), visited);
    }
    const RunResult first = Run({"pictures", "Cam", "04", "2004-12-31", "23:59:25", "--count", "60"});
    EXPECT_EQ(Lines(first.strOut), Listed());
    // Without a time: from the first picture; another camera.
    EXPECT_EQ(Lines(Run({"pictures", "Cam", "11"}).strOut), m_other);
    EXPECT_EQ(Lines(Run({"pictures", "Cam", "04", "2005-01-01"}).strOut),
              std::vector<std::string>(m_pictures.begin() + 80, m_pictures.end()));
}

TEST_F(StoreToolTest, BadRequestsFailWithTheirCodes)
{
    const struct {
        std::vector<std::string> args;
        int nExit;
    } cases[] = {
        {{}, 64},
        {{"list"}, 64},
        {{"events", "x"}, 64},
        {{"pictures", "Cam"}, 64},
        {{"pictures", "Cam", "17"}, 64},
        {{"pictures", "Cam", "04", "2004-13-01"}, 64},
        {{"pictures", "Cam", "04", "2004-12-31", "24:00:00"}, 64},
        {{"pictures", "Cam", "04", "--count", "0"}, 64},
        {{"pictures", "Nope", "04"}, 66},
        {{"pictures", "Cam", "05"}, 66},
        {{"pictures", "Gone", "04"}, 66},
        {{"delete", "Cam"}, 64},
        {{"delete", "Cam", "--force"}, 64},
        {{"delete", "Nope", "--yes"}, 66},
    };
    for (const auto& c : cases) {
        const RunResult r = Run(c.args);
        EXPECT_EQ(r.nExit, c.nExit) << (c.args.empty() ? std::string("(none)") : c.args.back());
        EXPECT_TRUE(r.strOut.empty());
        EXPECT_FALSE(r.strErr.empty());
    }
    EXPECT_TRUE(fs::exists(m_pictures.front()));
    fs::remove(ProgDir() + "VX2200DB.db");
    EXPECT_EQ(Run({"events"}).nExit, 66);
}

TEST_F(StoreToolTest, DeleteRemovesTheEventAsThePageDoes)
{
    // A database entry naming a folder that is not the event's deletes nothing.
    Register("Home", m_strCam);
    EXPECT_EQ(Run({"delete", "home", "--yes"}).nExit, 65);
    EXPECT_TRUE(fs::exists(m_pictures.front()));

    const std::string strOutside = m_dir / "outside";
    WriteAll(strOutside, "keep");
    ASSERT_EQ(::symlink(strOutside.c_str(), (m_strCam + "/04/link.jpg").c_str()), 0);
    const RunResult r = Run({"delete", "CAM", "--yes"});
    EXPECT_EQ(r.nExit, 0) << r.strErr;
    EXPECT_FALSE(fs::exists(m_strCam));
    EXPECT_EQ(ReadAll(strOutside), "keep");
    CFileDBase::Entries entries;
    ASSERT_TRUE(CFileDBase(ProgDir()).GetEntries(entries));
    EXPECT_TRUE(entries.empty()); // "Gone" and "Home" have no folder either
}
