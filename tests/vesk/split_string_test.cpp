#include "vesk/split_string.h"

#include <gtest/gtest.h>

namespace {

using List = std::vector<std::u16string>;

TEST(SplitString, EmptyPieceBetweenDelimiters) {
    List list;
    EXPECT_EQ(SplitString(u"1,2,,3", u",", list), 4u);
    EXPECT_EQ(list, (List{u"1", u"2", u"", u"3"}));
}

TEST(SplitString, NoTrailingEmptyPiece) {
    List list;
    EXPECT_EQ(SplitString(u"1,2,", u",", list), 2u);
    EXPECT_EQ(list, (List{u"1", u"2"}));
}

TEST(SplitString, LeadingDelimiterAndOnlyDelimiters) {
    List list;
    EXPECT_EQ(SplitString(u",5", u",", list), 2u);
    EXPECT_EQ(list, (List{u"", u"5"}));
    List list2;
    EXPECT_EQ(SplitString(u",,", u",", list2), 2u);
    EXPECT_EQ(list2, (List{u"", u""}));
}

TEST(SplitString, EmptyTextAndNoDelimiter) {
    List list;
    EXPECT_EQ(SplitString(u"", u",", list), 0u);
    EXPECT_EQ(SplitString(u"abc", u",", list), 1u);
    EXPECT_EQ(list, (List{u"abc"}));
}

TEST(SplitString, AppendsToExistingList) {
    List list{u"x"};
    EXPECT_EQ(SplitString(u"1,2", u",", list), 3u);
    EXPECT_EQ(list, (List{u"x", u"1", u"2"}));
}

TEST(SplitString, MultiCharacterDelimiterResumesOnePastStart) {
    List list;
    EXPECT_EQ(SplitString(u"a;;b", u";;", list), 2u);
    EXPECT_EQ(list, (List{u"a", u";b"}));
}

TEST(SplitString, EmptyDelimiter) {
    List list;
    EXPECT_EQ(SplitString(u"a,b", u"", list), 1u);
    EXPECT_EQ(list, (List{u"a,b"}));
}

}  // namespace
