// Files the Windows program wrote in text mode: every LF of the content is
// stored as CR LF, and read back as LF. No other byte is special (0x1A is
// content, not an end-of-file mark).
#pragma once

#include <string>

// Content as it is stored: each 0x0A becomes 0x0D 0x0A.
std::string TextModeEncode(const std::string& strContent);

// Stored bytes as content: each pair 0x0D 0x0A becomes 0x0A; a lone 0x0D stays.
std::string TextModeDecode(const std::string& strStored);
