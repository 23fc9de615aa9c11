#include "companions/AudioTagCore/GenreInfo.h"

#include <id3/globals.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>

// id3lib carries its own copy of the list; ours leaves out the trailing blank of 141 and uses the
// name Afro-Punk, as current lists do, for 133.
TEST(GenreInfo, The148NamesAgreeWithId3libsListAndAreFoundWithoutRegardToCase) {
    ASSERT_EQ(CGenreInfo::GetGenreCount(), 148);
    for (int id = 0; id < CGenreInfo::GetGenreCount(); ++id) {
        std::string theirs = ID3_v1_genre_description[id];
        theirs.erase(theirs.find_last_not_of(' ') + 1);
        std::string name = CGenreInfo::GetGenreIDStr(id);
        EXPECT_EQ(name, id == 133 ? "Afro-Punk" : theirs) << id;
        for (char& c : name) {
            c = static_cast<char>(std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c)
                                                                              : std::toupper(c));
        }
        EXPECT_EQ(CGenreInfo::GetGenreID(name.c_str()), id) << name;
    }
    EXPECT_STREQ(CGenreInfo::GetGenreIDStr(148), "");
}

// ID3 tags store genres as "(n)" or "(n)name"; written back they must keep their number. Anything
// else that names no genre is Other.
TEST(GenreInfo, ALeadingReferenceNamesItsGenreAndOtherTextsGiveOther) {
    EXPECT_EQ(CGenreInfo::GetGenreID("(147)"), 147);
    EXPECT_EQ(CGenreInfo::GetGenreID("(8)Rock"), 8) << "the number wins over the name";
    for (const char* text : {"Rock ", "(148)", "(12", ""}) {
        EXPECT_EQ(CGenreInfo::GetGenreID(text), 12) << '"' << text << '"';
    }
    EXPECT_EQ(CGenreInfo::GetGenreID(nullptr), 12);
}

TEST(GenreInfo, LookupCopiesTheNameCutToFitTheBuffer) {
    char small[6];
    EXPECT_EQ(CGenreInfo::LookupGenre(136, small, sizeof(small)), 1);
    EXPECT_STREQ(small, "Chris") << "Christian Gangsta Rap, cut and terminated";
    EXPECT_EQ(CGenreInfo::LookupGenre(148, small, sizeof(small)), 0);
    EXPECT_STREQ(small, "");
}
