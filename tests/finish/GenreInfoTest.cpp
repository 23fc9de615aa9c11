#include "companions/AudioTagCore/GenreInfo.h"

#include <id3/globals.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>

TEST(GenreInfo, HoldsTheExtendedListOf148NamesWithOtherAt12) {
    ASSERT_EQ(CGenreInfo::GetGenreCount(), 148);
    EXPECT_STREQ(CGenreInfo::GetGenreIDStr(0), "Blues");
    EXPECT_STREQ(CGenreInfo::GetGenreIDStr(13), "Pop");
    EXPECT_STREQ(CGenreInfo::GetGenreIDStr(17), "Rock");
    EXPECT_STREQ(CGenreInfo::GetGenreIDStr(147), "Synthpop");
    EXPECT_EQ(CGenreInfo::GetOtherGenreID(), 12);
    EXPECT_STREQ(CGenreInfo::GetGenreIDStr(CGenreInfo::GetOtherGenreID()), "Other");
    EXPECT_STREQ(CGenreInfo::GetGenreIDStr(-1), "");
    EXPECT_STREQ(CGenreInfo::GetGenreIDStr(148), "");
}

// id3lib carries its own copy of the list; ours leaves out the trailing blank of 141 and uses the
// name Afro-Punk, as current lists do, for 133.
TEST(GenreInfo, NamesAgreeWithTheListInId3lib) {
    for (int id = 0; id < CGenreInfo::GetGenreCount(); ++id) {
        std::string theirs = ID3_v1_genre_description[id];
        theirs.erase(theirs.find_last_not_of(' ') + 1);
        if (id != 133) {
            EXPECT_EQ(CGenreInfo::GetGenreIDStr(id), theirs) << id;
        }
    }
    EXPECT_STREQ(CGenreInfo::GetGenreIDStr(133), "Afro-Punk");
}

TEST(GenreInfo, FindsEveryNameWithoutRegardToCase) {
    for (int id = 0; id < CGenreInfo::GetGenreCount(); ++id) {
        std::string name = CGenreInfo::GetGenreIDStr(id);
        EXPECT_EQ(CGenreInfo::GetGenreID(name.c_str()), id) << name;
        for (char& c : name) {
            c = static_cast<char>(std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c)
                                                                              : std::toupper(c));
        }
        EXPECT_EQ(CGenreInfo::GetGenreID(name.c_str()), id) << name;
    }
    EXPECT_EQ(CGenreInfo::GetGenreID("ROCK"), 17);
    EXPECT_EQ(CGenreInfo::GetGenreID("pop"), 13);
}

TEST(GenreInfo, TextsThatNameNoGenreGiveOther) {
    for (const char* text : {"Nu Jazz", "", "Rock ", "Roc", "(148)", "(-1)", "()", "(12"}) {
        EXPECT_EQ(CGenreInfo::GetGenreID(text), 12) << '"' << text << '"';
    }
    EXPECT_EQ(CGenreInfo::GetGenreID(nullptr), 12);
}

// ID3 tags store genres as "(n)" or "(n)name"; written back they must keep their number.
TEST(GenreInfo, ALeadingReferenceNamesItsGenre) {
    EXPECT_EQ(CGenreInfo::GetGenreID("(17)"), 17);
    EXPECT_EQ(CGenreInfo::GetGenreID("(0)"), 0);
    EXPECT_EQ(CGenreInfo::GetGenreID("(147)"), 147);
    EXPECT_EQ(CGenreInfo::GetGenreID("(13)Pop"), 13);
    EXPECT_EQ(CGenreInfo::GetGenreID("(8)Rock"), 8) << "the number wins over the name";
}

TEST(GenreInfo, LookupCopiesTheNameIntoTheBuffer) {
    char buffer[32];
    EXPECT_EQ(CGenreInfo::LookupGenre(136, buffer, sizeof(buffer)), 1);
    EXPECT_STREQ(buffer, "Christian Gangsta Rap");

    char small[6];
    EXPECT_EQ(CGenreInfo::LookupGenre(136, small, sizeof(small)), 1);
    EXPECT_STREQ(small, "Chris") << "cut to fit, terminated";

    EXPECT_EQ(CGenreInfo::LookupGenre(148, buffer, sizeof(buffer)), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(CGenreInfo::LookupGenre(-5, buffer, sizeof(buffer)), 0);
    EXPECT_STREQ(buffer, "");
}
