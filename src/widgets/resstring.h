// Texts for the widgets: string resources by id, and the dialog captions that
// each page carries in both languages.
#pragma once

#include "platform/stringtable.h"

#include <QString>

// String resource nId in the current language.
inline QString ResString(int nId)
{
    const std::string_view sv = CStringTable::Load(nId);
    return QString::fromUtf8(sv.data(), static_cast<qsizetype>(sv.size()));
}

// A dialog text: the English or the Japanese version, by the current language.
inline QString LangText(const char* pszEnglish, const char* pszJapanese)
{
    return QString::fromUtf8(CStringTable::CurrentLanguage() == Language::Japanese ? pszJapanese : pszEnglish);
}
