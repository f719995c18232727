// The program's string resources: one table per language, keyed by resource id.
// Texts are UTF-8. Plain C++ so that the link, the simulator and the command-line
// client can use the same texts as the pages.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>


enum class Language { Japanese = 0, English = 1 };

struct StringEntry {
    int nId;
    const char* pszText;
};

// The tables themselves (stringtable_en.cpp, stringtable_ja.cpp), sorted by id.
extern const StringEntry kStringsEnglish[];
extern const std::size_t kStringsEnglishCount;
extern const StringEntry kStringsJapanese[];
extern const std::size_t kStringsJapaneseCount;

class CStringTable {
public:
    // The language of the process: Japanese when the locale's language is
    // Japanese (LC_ALL, then LC_MESSAGES, then LANG), English otherwise.
    static Language DetectLanguage();

    // Language used by Load; initially DetectLanguage().
    static Language CurrentLanguage();
    static void SetLanguage(Language lang);

    // The text of resource nId in the current language; empty when there is none.
    static std::string_view Load(int nId);
    static std::string_view Load(int nId, Language lang);

    // Whether resource nId exists in the given language's table.
    static bool Has(int nId, Language lang);
};

