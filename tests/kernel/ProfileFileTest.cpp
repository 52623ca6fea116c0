// Reading the text of a profile file, and the numbers in its values.
#include <gtest/gtest.h>

#include "kernel/ProfileFile.h"
#include "kernel/ProfileInteger.h"

namespace {

using vyn::kernel::ParseProfileInteger;
using vyn::kernel::ProfileFile;

std::string ValueOr(const ProfileFile& file, const char* section, const char* key, const char* missing) {
  const std::string* value = file.FindValue(section, key);
  return value ? *value : missing;
}

struct LookUp {
  const char* text;
  const char* section;
  const char* key;
  const char* expected;  // "<missing>" when the key must not be found
};

class ProfileLookUpTest : public ::testing::TestWithParam<LookUp> {};

TEST_P(ProfileLookUpTest, FindsTheValueWindowsWould) {
  const LookUp& c = GetParam();
  EXPECT_EQ(ValueOr(ProfileFile(c.text), c.section, c.key, "<missing>"), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileLookUpTest,
    ::testing::Values(
        LookUp{"[S]\nk=v\n", "S", "k", "v"},
        LookUp{"[SeTTing]\nColorR=1\n", "SETTING", "colorr", "1"},         // names without case
        LookUp{"  [ S ]  \n   k   =   v w   \n", "S", "k", "v w"},            // blanks around names and values
        LookUp{"[S]\r\nk=v\r\nj=w\r\n", "S", "k", "v"},                     // CRLF
        LookUp{"[S]\r\nk=v\r\nj=w\r\n", "S", "j", "w"},
        LookUp{"[S]\nk=v", "S", "k", "v"},                                  // no final line end
        LookUp{"\xEF\xBB\xBF[S]\nk=v\n", "S", "k", "v"},                    // UTF-8 byte-order mark
        LookUp{"[S]\n;k=commented\nk=v\n", "S", "k", "v"},                  // comment line
        LookUp{"[S]\n  ; k=x\n", "S", "k", "<missing>"},
        LookUp{"[S]\nk=a ; not a comment\n", "S", "k", "a ; not a comment"},
        LookUp{"[S]\nk=first\nk=second\n", "S", "k", "first"},              // first duplicate key
        LookUp{"[S]\nk=first\n[T]\n[S]\nk=second\nj=only\n", "S", "k", "first"},
        LookUp{"[S]\nk=first\n[s]\nj=only\n", "S", "j", "<missing>"},       // only the first section counts
        LookUp{"[S]\nk=\"quoted value\"\n", "S", "k", "quoted value"},
        LookUp{"[S]\nk='single'\n", "S", "k", "single"},
        LookUp{"[S]\nk=\"  inner blanks  \"\n", "S", "k", "  inner blanks  "},
        LookUp{"[S]\nk=\"unmatched'\n", "S", "k", "\"unmatched'"},
        LookUp{"[S]\nk=\"\n", "S", "k", "\""},                              // a lone quote stays
        LookUp{"[S]\nk=\"\"\n", "S", "k", ""},
        LookUp{"[S]\nk=\n", "S", "k", ""},                                  // present but empty
        LookUp{"[S]\nk=a=b\n", "S", "k", "a=b"},                            // split at the first '='
        LookUp{"k=v\n[S]\n", "S", "k", "<missing>"},                        // before any section
        LookUp{"[S]\njust text\n", "S", "just text", "<missing>"},          // no '='
        LookUp{"[S]\n=v\n", "S", "", "<missing>"},
        LookUp{"[S] trailing\nk=v\n", "S", "k", "v"},                       // text after ']'
        LookUp{"[S\nk=v\n", "S", "k", "v"},                                 // missing ']'
        LookUp{"[S]\nk=v\n", "T", "k", "<missing>"},
        LookUp{"", "S", "k", "<missing>"},
        LookUp{"[S]\nk=v\n", " S ", " k ", "v"}));                          // blanks around the asked names

TEST(ProfileFileTest, ListsSectionsAndKeysOnceInFileOrder) {
  ProfileFile file("[B]\nx=1\nY=2\ny=3\n[a]\n[b]\nz=4\n");
  EXPECT_EQ(file.SectionNames(), (std::vector<std::string>{"B", "a"}));
  EXPECT_EQ(file.KeyNames("b"), (std::vector<std::string>{"x", "Y"}));
  EXPECT_TRUE(file.KeyNames("missing").empty());
}

struct Number {
  const char* text;
  std::int32_t expected;
};

class ProfileIntegerTest : public ::testing::TestWithParam<Number> {};

TEST_P(ProfileIntegerTest, ReadsLikeGetPrivateProfileInt) {
  EXPECT_EQ(ParseProfileInteger(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileIntegerTest,
                         ::testing::Values(Number{"7", 7}, Number{"  42", 42}, Number{"+3", 3},
                                           Number{"-20", -20}, Number{"12abc", 12}, Number{"5 6", 5},
                                           Number{"abc", 0}, Number{"-", 0}, Number{"- 5", 0},
                                           Number{"0x10", 0}, Number{"007", 7},
                                           Number{"2147483647", 2147483647},
                                           Number{"2147483648", 2147483647},
                                           Number{"99999999999999999999999", 2147483647},
                                           Number{"-2147483648", -2147483647 - 1},
                                           Number{"-2147483649", -2147483647 - 1},
                                           Number{"4294967295", 2147483647}));

}  // namespace
