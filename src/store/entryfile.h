// The address-book file entry.txt: a count and 300 records of three 32-byte
// NUL-terminated text fields (name, IP address, port as decimal text), stored
// in the Windows program's text mode (each LF of the content as CR LF).
#pragma once

#include <array>
#include <string>

struct CEntryRecord {
    std::string strName;
    std::string strIP;
    int nPort = 0;
};

class CEntryFile {
public:
    static constexpr int MAX_ENTRY = 300;
    static constexpr int FIELD_SIZE = 32;
    static constexpr int RECORD_SIZE = 3 * FIELD_SIZE;
    static constexpr int CONTENT_SIZE = 4 + MAX_ENTRY * RECORD_SIZE; // 28804

    using Records = std::array<CEntryRecord, MAX_ENTRY>;

    // The stored bytes (text mode applied) for nCount valid records of records.
    // Slots at and above nCount carry an empty name and IP address and their
    // port. Texts longer than 31 bytes are cut (never inside a UTF-8 sequence).
    static std::string Encode(int nCount, const Records& records);

    // Reads stored bytes. The count is clamped to 0..300 and to the number of
    // whole records present, so a short or damaged file yields only the records
    // it really holds. Fields without a NUL are cut at 31 characters. Returns the
    // count; records at and above it are left empty with port 0.
    static int Decode(const std::string& strStored, Records& records);

    // A text field's content, cut to at most FIELD_SIZE - 1 bytes at a character
    // boundary.
    static std::string FitField(const std::string& strText);
};
