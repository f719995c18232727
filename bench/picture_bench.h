// Pictures from the recorder simulator on loopback: the upload's time per
// chunk against the loopback round-trip floor, the whole fetch per picture,
// and the allocations a fetch makes.
#pragma once

#include <functional>
#include <iosfwd>

class CVX2200Ctrl;
class CRecorderSim;

// ctrl is connected to sim; fnRoundTrip is one round trip of the floor.
// False when an exchange failed.
bool BenchPictures(std::ostream& out, CVX2200Ctrl& ctrl, CRecorderSim& sim, const std::function<bool()>& fnRoundTrip);
