// vx2200ctl picture, run as the program it is against the simulator: the
// JPEG file it writes and the line it prints agree with each other and with
// what the recorder recorded, for every camera.
#include "fixtures/runprogram.h"
#include "fixtures/tempdir.h"
#include "image/vximage.h"
#include "sim/recordersim.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <regex>
#include <set>

namespace {

using Clock = std::chrono::steady_clock;

RunResult RunCtl(int nPort, const std::vector<std::string>& args)
{
    std::vector<std::string> all {VX2200CTL_PATH, "127.0.0.1", std::to_string(nPort)};
    all.insert(all.end(), args.begin(), args.end());
    return RunProgram(all);
}

// The camera whose mark a JPEG file carries (1..16), or 0 when it does not decode.
int CameraOfFile(const std::string& strPath)
{
    CVXImage image(nullptr, "/nonexistent/");
    const auto pFrame = std::make_unique<std::uint8_t[]>(CVXImage::FRAME_BYTES);
    int nWidth = 0;
    int nHeight = 0;
    if (!image.LoadPictureFile(strPath, pFrame.get(), nWidth, nHeight))
        return 0;
    CVXImage::ThresholdBand(pFrame.get());
    return CVXImage::ReadCameraMark(pFrame.get()) + 1;
}

class PictureToolTest : public ::testing::Test {
protected:
    PictureToolTest() : m_sim(Options()) {}
    static CRecorderSim::Options Options()
    {
        CRecorderSim::Options options;
        options.start = SimDateTime {2004, 3, 15, 8, 5, 0};
        return options;
    }
    void SetUp() override { ASSERT_TRUE(m_sim.Start()); }

    // Runs "picture ARGS... OUT" and checks its line against the file and the
    // recorder; returns the camera it printed (0 on any mismatch).
    int CheckPicture(std::vector<std::string> args)
    {
        const std::string strPath = m_dir / "x.jpg";
        args.push_back(strPath);
        args.insert(args.begin(), "picture");
        const RunResult r = RunCtl(m_sim.Port(), args);
        EXPECT_EQ(r.nExit, 0);
        static const std::regex line(
            R"(time=(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d) frame=(\d\d) camera=(\d+) size=(\d+)\n)");
        std::smatch m;
        if (!std::regex_match(r.strOut, m, line)) {
            ADD_FAILURE() << "printed: " << r.strOut;
            return 0;
        }
        SimDateTime time;
        EXPECT_TRUE(SimDateTime::Parse(m[1], time));
        const CSimRecording::Picture picture = m_sim.FindPicture(time, std::stoi(m[2]));
        const int nCamera = std::stoi(m[3]);
        const std::string strFile = ReadAll(strPath);
        const int nMarked = CameraOfFile(strPath);
        EXPECT_EQ(picture.nCamera, nCamera) << r.strOut;
        EXPECT_EQ(nMarked, nCamera) << r.strOut;
        EXPECT_EQ(strFile, m_sim.PictureJpeg(picture.nIndex)) << r.strOut;
        EXPECT_EQ(std::to_string(strFile.size()), m[4].str()) << r.strOut;
        return picture.nCamera == nCamera && nMarked == nCamera ? nCamera : 0;
    }

    CRecorderSim m_sim;
    CTempDir m_dir;
};

} // namespace

// While the recorder records, one picture every 33 ms with the cameras in
// turn, the latest picture comes from camera after camera.
TEST_F(PictureToolTest, LatestPictureMatchesItsLineForEveryCamera)
{
    m_sim.SetSetting(9, 1); // REC INTERVAL 1/30 s
    m_sim.SetStatus({1, 0, 1, 0});
    std::set<int> cameras;
    const auto t0 = Clock::now();
    while (cameras.size() < 16 && Clock::now() - t0 < std::chrono::seconds(60)) {
        const int nCamera = CheckPicture({"6"});
        ASSERT_NE(nCamera, 0);
        cameras.insert(nCamera);
    }
    EXPECT_EQ(cameras.size(), 16u);
}

TEST_F(PictureToolTest, MovesAndTheirFailures)
{
    // One picture a second from 07:05:00, cameras 1..16 in turn.
    EXPECT_EQ(CheckPicture({"0", "2004-03-15", "07:30:15"}), 12); // picture 1515
    EXPECT_EQ(CheckPicture({"2"}), 11);

    const std::string strOut = m_dir / "none.jpg";
    const struct {
        std::vector<std::string> args;
        int nExit;
    } failures[] = {
        {{"picture", "0", strOut}, 64},                          // move 0 needs its time
        {{"picture", "6", "2004-03-15", "07:30:15", strOut}, 64}, // the others take none
        {{"picture", "7", strOut}, 64},
        {{"picture", "0", "1999-12-31", "23:59:59", strOut}, 64}, // J0 carries the year from 2000
        {{"picture", "0", "2004-03-15", "09:00:00", strOut}, 3},  // no picture there: refused
    };
    for (const auto& f : failures) {
        EXPECT_EQ(RunCtl(m_sim.Port(), f.args).nExit, f.nExit) << f.args[1];
    }
    m_sim.SetFault("JU", SimFault::SizeZero, 1);
    EXPECT_EQ(RunCtl(m_sim.Port(), {"picture", "6", strOut}).nExit, 65);
    m_sim.SetFault("JU", SimFault::ChunkBadCode, 1);
    EXPECT_EQ(RunCtl(m_sim.Port(), {"picture", "6", strOut}).nExit, 2);
    EXPECT_FALSE(std::ifstream(strOut).good());
}
