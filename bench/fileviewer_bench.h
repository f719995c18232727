// The PC File Viewer over a store of 100,000 pictures (the simulator's JPEG
// files, 16 cameras over several days): Search with its 60 thumbnails against
// 60 bare full-size decodes of the same files, NextFolder across the end of a
// day (folder reads), and one playback tick against UpdateTime.
#pragma once

#include <iosfwd>

// Creates a QApplication on the offscreen platform when there is none.
void BenchFileViewer(std::ostream& out);
