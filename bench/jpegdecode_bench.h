// Decoding a recorder picture: the program's DecodeFile and SwapRedBlue against
// a bare decode of the same file from memory.
#pragma once

#include <iosfwd>

void BenchJpegDecode(std::ostream& out);
