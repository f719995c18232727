// Finding an event's folder by its name, as the file viewer and vx2200store
// both do, and telling whether a folder may be deleted as an event's.
//
// Names are compared as the event list compares them: ASCII letters without
// regard to their case, every other byte as it is ("Event" and "EVENT" are one
// event; the first entry of the table is the one that counts).
#pragma once

#include "store/filedbase.h"

#include <optional>
#include <string>

class CEventFolder {
public:
    static bool SameName(const std::string& strA, const std::string& strB);

    // The first entry named strName, its path with every run of '/' made one
    // (a folder chosen at a file system's root gives a doubled one); nothing
    // for an empty name or when no entry has it.
    static std::optional<CEventEntry> Find(const CFileDBase::Entries& entries, const std::string& strName);

    // Whether strFolder may be deleted as the folder of event strName: an
    // absolute path below the root whose last component is the name, as the
    // save function builds it. A database entry edited by hand to name another
    // folder (a home folder, a relative path) is refused.
    static bool IsDeletable(const std::string& strFolder, const std::string& strName);

    static std::string SingleSeparators(const std::string& strPath);
};
