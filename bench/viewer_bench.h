// The viewer page against the recorder simulator on loopback: ticks per second
// and processor time per tick of live 16-way split play and of time-lag play,
// what a picture costs (fetch, decode, crop) and what drawing a full split
// costs, and whether the process grows while the page plays.
#pragma once

#include <iosfwd>

// Creates a QApplication on the offscreen platform when there is none. Each
// play runs 10 s; the environment variable VX_BENCH_VIEWER_MINUTES (1..60)
// adds a live run of that many minutes for the memory figure.
void BenchViewer(std::ostream& out);
