#include "platform/stringtable.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>

namespace {

std::atomic<int> g_nLanguage{-1};

const StringEntry* Find(int nId, Language lang)
{
    const StringEntry* pBegin = lang == Language::Japanese ? kStringsJapanese : kStringsEnglish;
    const std::size_t nCount = lang == Language::Japanese ? kStringsJapaneseCount : kStringsEnglishCount;
    const StringEntry* pEnd = pBegin + nCount;
    const StringEntry* p = std::lower_bound(pBegin, pEnd, nId,
        [](const StringEntry& e, int id) { return e.nId < id; });
    return (p != pEnd && p->nId == nId) ? p : nullptr;
}

// The language part of a locale name such as "ja_JP.UTF-8".
bool IsJapaneseLocale(const char* pszLocale)
{
    return pszLocale && pszLocale[0] == 'j' && pszLocale[1] == 'a'
        && (pszLocale[2] == '\0' || pszLocale[2] == '_' || pszLocale[2] == '.' || pszLocale[2] == '@');
}

} // namespace

Language CStringTable::DetectLanguage()
{
    for (const char* pszVar : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* pszValue = std::getenv(pszVar);
        if (pszValue && *pszValue)
            return IsJapaneseLocale(pszValue) ? Language::Japanese : Language::English;
    }
    return Language::English;
}

Language CStringTable::CurrentLanguage()
{
    int n = g_nLanguage.load();
    if (n < 0) {
        n = static_cast<int>(DetectLanguage());
        g_nLanguage.store(n);
    }
    return static_cast<Language>(n);
}

void CStringTable::SetLanguage(Language lang)
{
    g_nLanguage.store(static_cast<int>(lang));
}

std::string_view CStringTable::Load(int nId)
{
    return Load(nId, CurrentLanguage());
}

std::string_view CStringTable::Load(int nId, Language lang)
{
    const StringEntry* p = Find(nId, lang);
    return p ? std::string_view(p->pszText) : std::string_view();
}

bool CStringTable::Has(int nId, Language lang)
{
    return Find(nId, lang) != nullptr;
}

