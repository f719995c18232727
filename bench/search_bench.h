// The search page against the recorder simulator on loopback: the time from
// Search to a full page of 24 thumbnails (the ticks' own work, not the 33 ms
// between them) as a ratio to 24 bare fetches and scalings of the same
// pictures, the same with the camera steps of a chosen camera, and the time to
// compose a printed 16-way split into a PDF file.
#pragma once

#include <iosfwd>

// Creates a QApplication on the offscreen platform when there is none.
void BenchSearch(std::ostream& out);
