// Decimal numbers from command-line arguments.
#pragma once

#include <string>

// The decimal integer strText spells in full, when it lies in nMin..nMax; false
// (and nValue untouched) for an empty text, trailing characters or a value out
// of range.
bool ParseInt(const std::string& strText, int nMin, int nMax, int& nValue);
