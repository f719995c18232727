// vx2200store: the events saved on this computer and their pictures, for
// operators' scripts and for checking stores. It reads the event database of
// the program folder the program uses (ProgDir of its settings file) and walks
// the picture store with the file viewer's own code.
//
//   vx2200store events
//       one line per event of the database: name, folder, and "exists" or
//       "missing", separated by tabs
//   vx2200store pictures EVENT CAMERA [YYYY-MM-DD [hh:mm:ss]] [--count N]
//       the pictures of one camera of the event from that time on (from the
//       first without one), one path a line, in the order the file viewer
//       lists and plays them; CAMERA as the page lists it ("03"; "3" is the
//       same camera)
//   vx2200store delete EVENT --yes
//       deletes the event's folder with everything in it as the page does
//       (no link followed, nothing outside the folder) and drops the event
//
// Exit status: 0 on success; 64 for a usage error; 65 for an event whose
// folder is not named after it (nothing is deleted); 66 for a database, event
// or camera folder that is not there; 74 when some folders could not be
// deleted (each is named).
#include "app/vx2200net.h"
#include "platform/parseint.h"
#include "platform/stringtable.h"
#include "store/eventfolder.h"
#include "store/filedbase.h"
#include "store/storewalk.h"
#include "store/treedeleter.h"

#include <sys/stat.h>

#include <cstdio>
#include <iostream>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int EXIT_USAGE = 64;
constexpr int EXIT_DATAERR = 65;
constexpr int EXIT_NOINPUT = 66;
constexpr int EXIT_IOERR = 74;
constexpr int STRING_CANNOT_DELETE = 310;

using Args = std::vector<std::string>;

int Usage(const std::string& strMessage = std::string())
{
    if (!strMessage.empty())
        std::cerr << "vx2200store: " << strMessage << "\n";
    std::cerr << "usage: vx2200store events\n"
                 "       vx2200store pictures EVENT CAMERA [YYYY-MM-DD [hh:mm:ss]] [--count N]\n"
                 "       vx2200store delete EVENT --yes\n";
    return EXIT_USAGE;
}

int NotThere(const std::string& strWhat)
{
    std::cerr << "vx2200store: " << strWhat << "\n";
    return EXIT_NOINPUT;
}

bool Exists(const std::string& strPath)
{
    struct stat st {};
    return ::lstat(strPath.c_str(), &st) == 0;
}

// The program's event database; nothing when the file is not there.
std::optional<CFileDBase::Entries> ReadEvents(const std::string& strProgDir)
{
    CFileDBase db(strProgDir);
    CFileDBase::Entries entries;
    if (!db.Exists() || !db.GetEntries(entries))
        return std::nullopt;
    return entries;
}

int ListEvents(const CFileDBase::Entries& entries)
{
    for (const CEventEntry& entry : entries)
        std::cout << entry.strName << '\t' << entry.strPath << '\t' << (Exists(entry.strPath) ? "exists" : "missing")
                  << '\n';
    return 0;
}

// "03" for "3", "03" and "003": the camera folder's name.
std::optional<std::string> CameraName(const std::string& strText)
{
    int nCamera = 0;
    if (!ParseInt(strText, 1, 16, nCamera))
        return std::nullopt;
    char szName[8];
    std::snprintf(szName, sizeof szName, "%02d", nCamera);
    return std::string(szName);
}

bool ParseFields(const std::string& strText, char cSeparator, const int (&limits)[3][2], int (&values)[3])
{
    const std::size_t nFirst = strText.find(cSeparator);
    const std::size_t nSecond = nFirst == std::string::npos ? nFirst : strText.find(cSeparator, nFirst + 1);
    if (nSecond == std::string::npos || strText.find(cSeparator, nSecond + 1) != std::string::npos)
        return false;
    const std::string parts[3] = {strText.substr(0, nFirst), strText.substr(nFirst + 1, nSecond - nFirst - 1),
                                  strText.substr(nSecond + 1)};
    for (int i = 0; i < 3; ++i) {
        if (parts[i].empty() || !ParseInt(parts[i], limits[i][0], limits[i][1], values[i]))
            return false;
    }
    return true;
}

// The time key of "YYYY-MM-DD" and "hh:mm:ss" (00:00:00 when empty).
std::optional<std::string> TimeKeyOf(const std::string& strDate, const std::string& strTime)
{
    static constexpr int DATE_LIMITS[3][2] = {{2000, 2099}, {1, 12}, {1, 31}};
    static constexpr int TIME_LIMITS[3][2] = {{0, 23}, {0, 59}, {0, 59}};
    int date[3] = {};
    int time[3] = {};
    if (!ParseFields(strDate, '-', DATE_LIMITS, date) || (!strTime.empty() && !ParseFields(strTime, ':', TIME_LIMITS, time)))
        return std::nullopt;
    return CStoreWalk::TimeKey(date[0], date[1], date[2], time[0], time[1], time[2]);
}

struct PictureRequest {
    std::string strEvent;
    std::string strCamera;
    std::string strKey; // empty: from the first picture
    std::size_t nCount = std::numeric_limits<std::size_t>::max();
};

// pictures EVENT CAMERA [DATE [TIME] | "DATE TIME"] [--count N]; false on a usage error.
bool ParsePictures(const Args& args, PictureRequest& request)
{
    Args rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--count") {
            int nCount = 0;
            if (i + 1 >= args.size() || !ParseInt(args[++i], 1, std::numeric_limits<int>::max(), nCount))
                return false;
            request.nCount = static_cast<std::size_t>(nCount);
        } else {
            rest.push_back(args[i]);
        }
    }
    if (rest.size() < 2 || rest.size() > 4)
        return false;
    request.strEvent = rest[0];
    const auto camera = CameraName(rest[1]);
    if (!camera)
        return false;
    request.strCamera = *camera;
    if (rest.size() == 2)
        return true;
    std::string strDate = rest[2];
    std::string strTime = rest.size() == 4 ? rest[3] : std::string();
    if (rest.size() == 3 && strDate.find(' ') != std::string::npos) {
        strTime = strDate.substr(strDate.find(' ') + 1);
        strDate = strDate.substr(0, strDate.find(' '));
    }
    const auto key = TimeKeyOf(strDate, strTime);
    if (!key)
        return false;
    request.strKey = *key;
    return true;
}

int ListPictures(const CFileDBase::Entries& entries, const PictureRequest& request)
{
    const auto event = CEventFolder::Find(entries, request.strEvent);
    if (!event)
        return NotThere("no event named " + request.strEvent);
    const std::string strCameraFolder = event->strPath + "/" + request.strCamera;
    struct stat st {};
    if (::stat(strCameraFolder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return NotThere("event " + event->strName + " has no camera folder " + strCameraFolder);
    CStoreWalk walk(strCameraFolder);
    walk.VisitPicturesFrom(request.strKey, request.nCount, [](const std::string& strPicture) {
        std::cout << strPicture << '\n';
        return static_cast<bool>(std::cout);
    });
    return 0;
}

int DeleteEvent(const std::string& strProgDir, const CFileDBase::Entries& entries, const Args& args)
{
    const bool bYes = args.size() == 2 && args[1] == "--yes";
    if (args.empty() || args.size() > 2 || (args.size() == 2 && !bYes))
        return Usage();
    const auto event = CEventFolder::Find(entries, args[0]);
    if (!event)
        return NotThere("no event named " + args[0]);
    if (!bYes) {
        std::cerr << "vx2200store: deleting event " << event->strName << " deletes " << event->strPath
                  << " with everything in it; add --yes\n";
        return EXIT_USAGE;
    }
    if (!CEventFolder::IsDeletable(event->strPath, event->strName)) {
        std::cerr << "vx2200store: " << event->strPath << " is not the folder of event " << event->strName
                  << "; nothing deleted\n";
        return EXIT_DATAERR;
    }
    const std::vector<std::string> left = CTreeDeleter::DeleteTree(event->strPath);
    std::string strCannot(CStringTable::Load(STRING_CANNOT_DELETE, Language::English));
    strCannot.erase(0, strCannot.find_first_not_of('\n'));
    for (const std::string& strFolder : left)
        std::cerr << "vx2200store: " << strCannot << " " << strFolder << "\n";
    // The database keeps the events whose folders are still there.
    CFileDBase db(strProgDir);
    db.RemoveMissing();
    return left.empty() ? 0 : EXIT_IOERR;
}

} // namespace

int main(int argc, char** argv)
{
    const Args all(argv + 1, argv + argc);
    if (all.empty())
        return Usage();
    const std::string& strCommand = all[0];
    const Args args(all.begin() + 1, all.end());
    if (strCommand != "events" && strCommand != "pictures" && strCommand != "delete")
        return Usage("unknown command " + strCommand);
    PictureRequest request;
    if ((strCommand == "events" && !args.empty()) || (strCommand == "pictures" && !ParsePictures(args, request)))
        return Usage();

    // The program folder exactly as the program finds it.
    CVX2200NETApp app;
    app.LoadSettings();
    const std::string& strProgDir = app.GetProgDir();
    const auto entries = ReadEvents(strProgDir);
    if (!entries)
        return NotThere("no event database " + strProgDir + CFileDBase::FILE_NAME);
    if (strCommand == "events")
        return ListEvents(*entries);
    if (strCommand == "pictures")
        return ListPictures(*entries, request);
    return DeleteEvent(strProgDir, *entries, args);
}
