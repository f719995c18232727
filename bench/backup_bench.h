// Saving to the PC against the recorder simulator on loopback: a Backup of
// about 10,000 pictures through the progress dialog's 20-ms tick (pictures per
// second, the share of ticks that overran 20 ms, processor time per picture),
// then `vx2200ctl backup` of the same range, per picture, as a ratio to one
// FetchPicture plus one write of the same bytes measured in the same run.
#pragma once

#include <iosfwd>

// Creates a QApplication on the offscreen platform when there is none, and lets
// the threads (the simulator's among them) use every processor again. The
// range is 17 minutes of pictures every 100 ms (10,201 pictures);
// VX_BENCH_BACKUP_MINUTES (1..17) shortens it.
void BenchBackup(std::ostream& out);
