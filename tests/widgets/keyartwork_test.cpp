#include "widgets/keyartwork.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

TEST(KeyArtwork, EveryLookOfEveryKeyIsItsOwnPicture)
{
    std::vector<QImage> images;
    std::set<int> numbers;
    for (const CKeyArtwork::Key& key : CKeyArtwork::Keys()) {
        for (int nNumber : {key.nNormal, key.nLit, key.nPressed, key.nDisabled}) {
            if (nNumber == 0)
                continue;
            EXPECT_TRUE(numbers.insert(nNumber).second) << nNumber;
            const QImage image = CKeyArtwork::Render(nNumber, 1);
            ASSERT_EQ(image.size(), QSize(CKeyArtwork::KEY_WIDTH, CKeyArtwork::KEY_HEIGHT)) << nNumber;
            for (const QImage& other : images)
                EXPECT_NE(image, other) << nNumber;
            images.push_back(image);
        }
    }
    EXPECT_EQ(images.size(), 9u * 3 + 5);
    EXPECT_TRUE(CKeyArtwork::Render(0, 1).isNull());
    EXPECT_TRUE(CKeyArtwork::Render(243, 1).isNull());
    EXPECT_TRUE(CKeyArtwork::Bitmap(243, 1).isNull());
}

TEST(KeyArtwork, OnlyTheRecKeySpeaksJapanese)
{
    for (const CKeyArtwork::Key& key : CKeyArtwork::Keys()) {
        const bool bRec = key.nId == 1331;
        EXPECT_EQ(CKeyArtwork::Render(key.nNormal, 0) != CKeyArtwork::Render(key.nNormal, 1), bRec) << key.nId;
        EXPECT_EQ(CKeyArtwork::Render(key.nDisabled, 0) != CKeyArtwork::Render(key.nDisabled, 1), bRec) << key.nId;
    }
    EXPECT_EQ(CKeyArtwork::FindKey(1503), nullptr);
}
