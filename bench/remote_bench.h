// The remote page against the recorder simulator on loopback, on Qt's offscreen
// platform: what one status poll costs (the page's whole tick, recolouring
// included) against the loopback floor, and the time from choosing a setting
// page's tab to its controls filled against the floor round trips of its reads.
#pragma once

#include <functional>
#include <iosfwd>

// fnRoundTrip is one round trip of the floor. Needs a QApplication.
void BenchRemote(std::ostream& out, const std::function<bool()>& fnRoundTrip);
