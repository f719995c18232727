// vx2200seeds: writes the fuzz targets' seed corpus into a folder, one folder a
// target. The recorder scripts are what the project's simulator answers to the
// link's own exchanges; the files are what the project's own writers write.
//
//   vx2200seeds CORPUS_FOLDER
#include "link/settingsimage.h"
#include "link/vx2200ctrl.h"
#include "platform/waiter.h"
#include "sim/recordersim.h"
#include "sim/simpicture.h"
#include "store/entryfile.h"
#include "store/filedbase.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

void WriteSeed(const std::string& strFolder, const std::string& strName, const std::string& strBytes)
{
    std::filesystem::create_directories(strFolder);
    std::ofstream(strFolder + "/" + strName, std::ios::binary) << strBytes;
}

// The recorder's script of one exchange: after each block the program sent,
// the bytes the recorder sent back, as two-byte lengths and bytes.
std::string Script(CRecorderSim& sim, CVX2200Ctrl& ctrl, const std::function<void()>& fnExchange)
{
    sim.ClearTrace();
    fnExchange();
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // the trace of the last answer
    std::vector<std::string> segments;
    for (const SimTraceEntry& entry : sim.Trace()) {
        if (entry.IsReceived())
            segments.emplace_back();
        else if (!segments.empty())
            segments.back() += entry.strBytes;
    }
    std::string strScript;
    for (const std::string& strSegment : segments) {
        const std::size_t n = std::min<std::size_t>(strSegment.size(), 0xFFFF);
        strScript += static_cast<char>(n >> 8);
        strScript += static_cast<char>(n & 0xFF);
        strScript += strSegment.substr(0, n);
    }
    (void)ctrl;
    return strScript;
}

std::string Head(int nSelect, int nArgument)
{
    return std::string {static_cast<char>(nSelect), static_cast<char>(nArgument)};
}

void RecorderSeeds(const std::string& strCorpus)
{
    CRecorderSim::Options options;
    options.start = SimDateTime {2004, 1, 23, 12, 34, 56};
    CRecorderSim sim(options);
    if (!sim.Start())
        return;
    CVX2200Ctrl ctrl;
    ctrl.SetAskToReconnect(false);
    SetWaiter([](int) {});
    if (ctrl.Connect("127.0.0.1", sim.Port()) != 0)
        return;
    const std::string strAnswers = strCorpus + "/answers";
    WriteSeed(strAnswers, "key", Head(0, 2) + Script(sim, ctrl, [&] { ctrl.SendKey(2); }));
    std::array<int, 4> nStatus {};
    WriteSeed(strAnswers, "status", Head(1, 0) + Script(sim, ctrl, [&] { ctrl.QueryStatus(nStatus); }));
    int nValue = 0;
    WriteSeed(strAnswers, "menu-ri", Head(2, 9) + Script(sim, ctrl, [&] { ctrl.GetMenuValue(9, nValue); }));
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    WriteSeed(strAnswers, "clock", Head(3, 0) + Script(sim, ctrl, [&] { ctrl.GetDateTime(y, mo, d, h, mi, s); }));
    TimerProgram program;
    WriteSeed(strAnswers, "timer", Head(4, 0) + Script(sim, ctrl, [&] { ctrl.GetTimerProgram(0, program); }));
    CSettingsImage image;
    WriteSeed(strAnswers, "read-all", Head(5, 0) + Script(sim, ctrl, [&] { ctrl.ReadAllSettings(image); }));
    WriteSeed(strAnswers, "record-key", Head(6, 0) + Script(sim, ctrl, [&] { ctrl.RecordKey(); }));
    WriteSeed(strAnswers, "power-key", Head(7, 0) + Script(sim, ctrl, [&] { ctrl.PowerKey(); }));
    WriteSeed(strAnswers, "set-menu", Head(8, 9) + Script(sim, ctrl, [&] { ctrl.SetMenuValue(9, 3); }));
    ctrl.PowerKey(); // on again

    const std::string strLogs = strCorpus + "/log";
    for (int nKind = 0; nKind < 3; ++nKind)
        WriteSeed(strLogs, "kind" + std::to_string(nKind),
                  std::string(1, static_cast<char>(nKind)) + Script(sim, ctrl, [&] { ctrl.ReadLog(nKind); }));

    const std::string strPictures = strCorpus + "/picture";
    std::vector<std::uint8_t> buffer(CVX2200Ctrl::PICTURE_BUFFER_BYTES);
    std::uint8_t byInfo[38] = {};
    int nSize = 0;
    for (const int nMove : {6, 2}) {
        WriteSeed(strPictures, "move" + std::to_string(nMove),
                  std::string(1, static_cast<char>(nMove)) + Script(sim, ctrl, [&] {
                      ctrl.TransferPicture(byInfo, buffer.data(), nSize, nMove, 0, 0, 0, 0, 0, 0);
                  }));
    }
    WriteSeed(strCorpus + "/settings", "downloaded", image.Encode());
    WriteSeed(strCorpus + "/jpeg", "frame", sim.PictureJpeg(sim.PictureCount() - 1));
    ctrl.Disconnect();
    SetWaiter({});
}

void FileSeeds(const std::string& strCorpus)
{
    CEntryFile::Records records;
    records[0] = {"Demo DVR", "127.0.0.1", 8001};
    records[1] = {"Gate", "192.168.1.20", 8002};
    WriteSeed(strCorpus + "/entry", "two", CEntryFile::Encode(2, records));
    WriteSeed(strCorpus + "/entry", "empty", CEntryFile::Encode(0, records));
    WriteSeed(strCorpus + "/filedb", "two", CFileDBase::Encode({{"20040123123456", "/home/op/Data/20040123123456"},
                                                                {"Gate", "/media/backup/Gate"}}));
    WriteSeed(strCorpus + "/filedb", "empty", CFileDBase::Encode({}));
    WriteSeed(strCorpus + "/settings", "blank", CSettingsImage().Encode());
    std::vector<std::uint8_t> rgb(CSimPicture::FRAME_BYTES);
    CSimPicture::Render(3, SimDateTime {2004, 1, 23, 13, 45, 20}, 7, rgb.data());
    WriteSeed(strCorpus + "/jpeg", "low-quality", CSimPicture::Encode(rgb.data(), 20));
    // A date, hour, minute and second folder with three pictures, a stray file
    // and a second date (see fuzz_storewalk.cpp for the byte layout).
    const std::string strTree {
        0, 0, 0, 5,       // folder 1: date 2004_01_05
        1, 0, 1, 13,      // folder 2 in 1: hour 13
        2, 0, 1, 45,      // folder 3 in 2: minute 45
        3, 0, 1, 20,      // folder 4 in 3: second 20
        4, 2, 3, 5, 13, 45, 20, 1,  // picture in 4
        4, 2, 3, 5, 13, 45, 20, 2,  // picture in 4
        4, 2, 5, 3, 'a', 'b', 'c',  // a stray file in 4
        0, 0, 0, 6,       // folder 5: date 2004_01_06
    };
    WriteSeed(strCorpus + "/storewalk", "small-tree", strTree);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vx2200seeds CORPUS_FOLDER\n");
        return 64;
    }
    RecorderSeeds(argv[1]);
    FileSeeds(argv[1]);
    return 0;
}
