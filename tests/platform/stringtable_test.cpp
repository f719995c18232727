#include "platform/stringtable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::span<const StringEntry> Table(Language lang)
{
    if (lang == Language::Japanese)
        return {kStringsJapanese, kStringsJapaneseCount};
    return {kStringsEnglish, kStringsEnglishCount};
}

std::vector<int> Ids(Language lang)
{
    std::vector<int> ids;
    for (const StringEntry& e : Table(lang))
        ids.push_back(e.nId);
    return ids;
}

// True when s is well-formed UTF-8 (no stray continuation bytes, no overlong
// or truncated sequences, no surrogates).
bool IsValidUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t nMore = 0;
        unsigned int cp = 0;
        if (c < 0x80) { ++i; continue; }
        if ((c & 0xE0) == 0xC0) { nMore = 1; cp = c & 0x1F; }
        else if ((c & 0xF0) == 0xE0) { nMore = 2; cp = c & 0x0F; }
        else if ((c & 0xF8) == 0xF0) { nMore = 3; cp = c & 0x07; }
        else return false;
        if (i + nMore >= s.size())
            return false;
        for (std::size_t k = 1; k <= nMore; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        static constexpr unsigned int kMin[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMin[nMore] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += nMore + 1;
    }
    return true;
}

// Format placeholders of a text: printf conversions ("%s", "%02d") in order,
// and the positional ones ("%1", "%2") sorted, since a translation may move them.
struct Placeholders {
    std::vector<std::string> printfTokens;
    std::vector<std::string> positional;
    bool operator==(const Placeholders&) const = default;
};

Placeholders ScanPlaceholders(std::string_view s)
{
    Placeholders p;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '%')
            continue;
        std::size_t j = i + 1;
        if (j < s.size() && s[j] == '%') { i = j; continue; }
        if (j < s.size() && s[j] >= '1' && s[j] <= '9') {
            while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j])))
                ++j;
            p.positional.emplace_back(s.substr(i, j - i));
        } else {
            while (j < s.size() && std::string_view("-+ #0123456789.l").find(s[j]) != std::string_view::npos)
                ++j;
            if (j < s.size())
                ++j;
            p.printfTokens.emplace_back(s.substr(i, j - i));
        }
        i = j - 1;
    }
    std::sort(p.positional.begin(), p.positional.end());
    return p;
}

// Restores the locale variables and the table language when a test ends.
class LocaleEnvGuard {
public:
    LocaleEnvGuard() : m_lang(CStringTable::CurrentLanguage())
    {
        for (std::size_t i = 0; i < kVars.size(); ++i) {
            if (const char* v = std::getenv(kVars[i]))
                m_saved[i] = v;
        }
    }
    ~LocaleEnvGuard()
    {
        for (std::size_t i = 0; i < kVars.size(); ++i) {
            if (m_saved[i])
                setenv(kVars[i], m_saved[i]->c_str(), 1);
            else
                unsetenv(kVars[i]);
        }
        CStringTable::SetLanguage(m_lang);
    }
    LocaleEnvGuard(const LocaleEnvGuard&) = delete;
    LocaleEnvGuard& operator=(const LocaleEnvGuard&) = delete;

    static constexpr std::array<const char*, 3> kVars{"LC_ALL", "LC_MESSAGES", "LANG"};

private:
    std::array<std::optional<std::string>, 3> m_saved;
    Language m_lang;
};

void SetOrUnset(const char* name, const char* value)
{
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

} // namespace

TEST(StringTable, BothLanguagesHoldTheSameIdsInStrictlyAscendingOrder)
{
    for (Language lang : {Language::English, Language::Japanese}) {
        const std::vector<int> ids = Ids(lang);
        ASSERT_FALSE(ids.empty());
        for (std::size_t i = 1; i < ids.size(); ++i)
            EXPECT_LT(ids[i - 1], ids[i]) << "table " << static_cast<int>(lang) << " at index " << i;
    }
    EXPECT_EQ(Ids(Language::English), Ids(Language::Japanese));
}

TEST(StringTable, EveryTextIsNonEmptyUtf8)
{
    for (Language lang : {Language::English, Language::Japanese}) {
        for (const StringEntry& e : Table(lang)) {
            ASSERT_NE(e.pszText, nullptr) << "id " << e.nId;
            const std::string_view text(e.pszText);
            EXPECT_FALSE(text.empty()) << "id " << e.nId;
            EXPECT_TRUE(IsValidUtf8(text)) << "id " << e.nId;
        }
    }
}

TEST(StringTable, TranslationsKeepPlaceholdersAndLineBreaks)
{
    for (const StringEntry& e : Table(Language::English)) {
        const std::string_view en(e.pszText);
        const std::string_view ja = CStringTable::Load(e.nId, Language::Japanese);
        EXPECT_EQ(ScanPlaceholders(en), ScanPlaceholders(ja)) << "id " << e.nId;
        EXPECT_EQ(std::count(en.begin(), en.end(), '\n'), std::count(ja.begin(), ja.end(), '\n'))
            << "id " << e.nId;
    }
}

TEST(StringTable, LanguageMarks)
{
    EXPECT_EQ(CStringTable::Load(298, Language::English), "ENGLISH");
    EXPECT_EQ(CStringTable::Load(298, Language::Japanese), "JAPANESE");
    EXPECT_EQ(CStringTable::Load(327, Language::English), "ENG");
    EXPECT_EQ(CStringTable::Load(327, Language::Japanese), "JPN");
}

TEST(StringTable, EnglishTextsAreKeptExactly)
{
    struct Case {
        int nId;
        std::string_view text;
    };
    const Case cases[] = {
        {284, "Network disconnected. \nReconnect it?\n\nPressing [Cancel] terminates the application program.\n\n"},
        {304, "\n\nInvalid Event Name..... \n\nSpace Character Not Allowed For Event Name...."},
        {185, "\n\nTo change Menu Settings, current recording will be stopped \n and DVR turned off. OK?"},
        {278, "\n\nDisable recording.\n\nOK? \n"},
        {300, "\n\nDisable timer recording and start general recording.\n\nDo you want to proceed ?"},
        {204, "Fan Failure "},
        {269, "Backup Finsihed."},
        {308, "File is not exist."},
        {325, "already exists.\nDo you want to replace it?"},
        {328, "1/60 SEC"},
        {336, " 1/5 SEC"},
        {339, "    1 SEC"},
        {343, "   10 SEC"},
        {61714, "Please enter an integer between %1 and %2."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CStringTable::Load(c.nId, Language::English), c.text) << "id " << c.nId;
}

TEST(StringTable, LoadFollowsSetLanguage)
{
    LocaleEnvGuard guard;

    CStringTable::SetLanguage(Language::Japanese);
    EXPECT_EQ(CStringTable::CurrentLanguage(), Language::Japanese);
    EXPECT_EQ(CStringTable::Load(298), "JAPANESE");
    EXPECT_EQ(CStringTable::Load(259), CStringTable::Load(259, Language::Japanese));

    CStringTable::SetLanguage(Language::English);
    EXPECT_EQ(CStringTable::CurrentLanguage(), Language::English);
    EXPECT_EQ(CStringTable::Load(298), "ENGLISH");
    EXPECT_EQ(CStringTable::Load(259), "Stop");

    // Ids without a text: nothing, in either language.
    for (int nId : {0, 122, 329, 99999}) {
        EXPECT_TRUE(CStringTable::Load(nId).empty()) << nId;
        EXPECT_FALSE(CStringTable::Has(nId, Language::English)) << nId;
        EXPECT_FALSE(CStringTable::Has(nId, Language::Japanese)) << nId;
    }
    EXPECT_TRUE(CStringTable::Has(61712, Language::Japanese));
}

TEST(StringTable, DetectLanguageFromLocaleVariables)
{
    struct Case {
        const char* pszLcAll;
        const char* pszLcMessages;
        const char* pszLang;
        Language expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, "ja_JP.UTF-8", Language::Japanese},
        {nullptr, nullptr, "ja", Language::Japanese},
        {nullptr, nullptr, "en_US.UTF-8", Language::English},
        {nullptr, nullptr, "C", Language::English},
        {nullptr, nullptr, nullptr, Language::English},
        {nullptr, nullptr, "jam_JM", Language::English},
        {"en_US.UTF-8", nullptr, "ja_JP.UTF-8", Language::English},    // LC_ALL wins
        {"", nullptr, "ja_JP.UTF-8", Language::Japanese},              // empty is unset
        {nullptr, "ja_JP.eucJP", "C", Language::Japanese},             // LC_MESSAGES before LANG
        {nullptr, "C", "ja_JP.UTF-8", Language::English},
    };

    LocaleEnvGuard guard;
    for (const Case& c : cases) {
        SetOrUnset("LC_ALL", c.pszLcAll);
        SetOrUnset("LC_MESSAGES", c.pszLcMessages);
        SetOrUnset("LANG", c.pszLang);
        EXPECT_EQ(CStringTable::DetectLanguage(), c.expected)
            << "LC_ALL=" << (c.pszLcAll ? c.pszLcAll : "(unset)")
            << " LC_MESSAGES=" << (c.pszLcMessages ? c.pszLcMessages : "(unset)")
            << " LANG=" << (c.pszLang ? c.pszLang : "(unset)");
    }
}
