// vx2200ctl's backup command: the save dialog's Backup run without a window.
//
//   backup START_DATE START_TIME END_DATE END_TIME FOLDER EVENT
//
// Dates YYYY-MM-DD, times hh:mm. The event name and folder get the dialog's
// checks (the refusal's text on standard error); the pictures go into
// FOLDER/EVENT as the program's Backup stores them, and the event is entered in
// VX2200DB.db of the program folder the program itself uses (its settings
// file, under $XDG_CONFIG_HOME). A terminal on standard error shows a progress
// bar; the run ends with one line on standard output:
//   saved=N first=YYYY-MM-DD hh:mm:ss last=YYYY-MM-DD hh:mm:ss
// SIGINT or SIGTERM ends it cleanly after the picture in hand.
#pragma once

#include "store/civiltime.h"

#include <string>
#include <vector>

class CVX2200Ctrl;

struct CBackupJob {
    static constexpr int ARG_COUNT = 6;
    static constexpr int EXIT_INTERRUPTED = 130;

    CCivilTime start;
    CCivilTime end;
    std::string strFolder;
    std::string strEventName;
    std::string strProgDir; // filled by PrepareBackup
};

// The six arguments; an error text when they are not dates, times, a folder
// and a name.
std::string ParseBackupArgs(const std::vector<std::string>& args, CBackupJob& job);
// Before connecting: the program folder and the dialog's checks. 0, or the
// exit status of a refusal (65) with its text written to standard error.
int PrepareBackup(CBackupJob& job);
// The run on a connected recorder; the exit status: 0 finished, the link
// status of a first picture that could not be fetched, 73 for a store or a
// database that cannot be written, 130 when interrupted.
int RunBackup(CVX2200Ctrl& ctrl, const CBackupJob& job);
