#include "store/eventfolder.h"

#include <gtest/gtest.h>

TEST(EventFolder, NamesMatchWithoutRegardToTheCaseOfAsciiLetters)
{
    const CFileDBase::Entries entries {{"Trip", "/a//Trip"}, {"TRIP", "/b/TRIP"}, {"Été", "/c/Été"}};
    const auto found = CEventFolder::Find(entries, "trip");
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, (CEventEntry {"Trip", "/a/Trip"})); // the first entry, single separators
    EXPECT_TRUE(CEventFolder::Find(entries, "Été"));
    EXPECT_FALSE(CEventFolder::Find(entries, "éTÉ")); // other bytes as they are
    EXPECT_FALSE(CEventFolder::Find(entries, ""));
    EXPECT_FALSE(CEventFolder::Find(entries, "Tri"));
}

TEST(EventFolder, OnlyAnAbsoluteFolderNamedAfterTheEventMayBeDeleted)
{
    const struct {
        const char* pszFolder;
        const char* pszName;
        bool bDeletable;
    } cases[] = {
        {"/mnt/usb/Trip", "Trip", true},
        {"/mnt/usb//trip/", "Trip", true},
        {"/home/op", "Trip", false},
        {"Trip", "Trip", false},       // relative
        {"./Trip", "Trip", false},
        {"/", "Trip", false},
        {"/Trip", "", false},
        {"/mnt/..", "..", false},
        {"/mnt/Trip/..", "Trip", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CEventFolder::IsDeletable(c.pszFolder, c.pszName), c.bDeletable) << c.pszFolder;
}
