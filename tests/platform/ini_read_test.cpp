#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/ini_file.h"

using namespace std::string_literals;
using platform::ini::GetProfileString;

namespace {

const char* const kNull = nullptr;

struct ReadCase {
  const char* what;
  std::string content;
  const char* section;
  const char* key;
  const char* defaultValue;
  size_t size;
  std::string expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
  *os << c.what;
}

class IniRead : public testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, GivesThePlatformsResult) {
  const ReadCase& c = GetParam();
  EXPECT_EQ(GetProfileString(c.content, c.section, c.key, c.defaultValue, c.size), c.expected);
}

const std::string kBasic =
    "[section1]\r\nname1=val1\r\nname2=\"val2\"\r\nname3\r\nname4=val4\r\n[section2]\r\n"
    "LOCALECASE=local\r\nname5=val5\r\n";

INSTANTIATE_TEST_SUITE_P(
    LinesAndHeaders, IniRead,
    testing::Values(
        ReadCase{"crlf", kBasic, "section1", "name1", "d", 50, "val1"},
        ReadCase{"cr only", "[section1]\rname1=val1\rname4=val4\r", "section1", "name4", "d", 50,
                 "val4"},
        ReadCase{"lf only", "[section1]\nname1=val1\nname4=val4\n", "section1", "name4", "d", 50,
                 "val4"},
        ReadCase{"last line without break", "[s]\r\nk=v", "s", "k", "d", 50, "v"},
        ReadCase{"nul after the last line", "[s]\r\nk=v\r\n\0"s, "s", "k", "d", 50, "v"},
        ReadCase{"nul ends a value", "[s]\r\nk=v\0"s, "s", "k", "d", 50, "v"},
        ReadCase{"blanks before the bracket", " \t\v[s]\r\nk=v", "s", "k", "d", 50, "v"},
        ReadCase{"text after the first bracket ignored", "[s]k=v\r\nx=1", "s", "k", "d", 50, "d"},
        ReadCase{"keys after a header with trailing text", "[s]k=v\r\nx=1", "s", "x", "d", 50, "1"},
        ReadCase{"name runs to the first bracket", "[a]b]\r\nk=v", "a", "k", "d", 50, "v"},
        ReadCase{"not the last bracket", "[a]b]\r\nk=v", "a]b", "k", "d", 50, "d"},
        ReadCase{"missing closing bracket", "[sec  \t\r\nk=v", "sec", "k", "d", 50, "v"},
        ReadCase{"missing opening bracket", "[a]\r\nsec]\r\nk=v", "sec", "k", "d", 50, "d"},
        ReadCase{"blanks inside the brackets", "[ section1 ]\r\nk=v", "section1", "k", "d", 50,
                 "v"},
        ReadCase{"opening bracket literal in name", "[[sec]\r\nk=v", "[sec", "k", "d", 50, "v"},
        ReadCase{"semicolon literal in name", "[;sec]\r\nk=v", ";sec", "k", "d", 50, "v"},
        ReadCase{"quotes literal in name", "[\"q\"]\r\nk=v", "\"q\"", "k", "d", 50, "v"},
        ReadCase{"quotes not stripped from names", "[\"q\"]\r\nk=v", "q", "k", "d", 50, "d"},
        ReadCase{"empty section name", "[]\r\nk=v", "", "k", "d", 50, "v"},
        ReadCase{"lines before the first header unreachable", "k=top\r\n[]\r\nk=e", "", "k", "d",
                 50, "e"},
        ReadCase{"no empty section without []", "k=top\r\n[s]\r\nk=e", "", "k", "d", 50, "d"},
        ReadCase{"utf-8 bom glues onto line 1", "\xEF\xBB\xBF[s]\r\nk=v\r\n[t]\r\nk=w", "s", "k",
                 "d", 50, "d"},
        ReadCase{"later sections after a bom work", "\xEF\xBB\xBF[s]\r\nk=v\r\n[t]\r\nk=w", "t",
                 "k", "d", 50, "w"}));

INSTANTIATE_TEST_SUITE_P(
    KeysAndMatching, IniRead,
    testing::Values(
        ReadCase{"blanks around name and value", "[s]\r\n \t\vname \v= \t value\v \t\r\n", "s",
                 "name", "d", 50, "value"},
        ReadCase{"inner blanks kept", "[s]\r\nk=a  b", "s", "k", "d", 50, "a  b"},
        ReadCase{"empty key name", "[s]\r\n=val_no_key\r\n", "s", "", "d", 50, "val_no_key"},
        ReadCase{"first equals sign splits", "[s]\r\na=b=c", "s", "a", "d", 50, "b=c"},
        ReadCase{"line without equals sign is no key", kBasic, "section1", "name3", "d", 50, "d"},
        ReadCase{"comment never matched", "[s]\r\n;k=v", "s", ";k", "d", 50, "d"},
        ReadCase{"indented comment", "[s]\r\n \t;k=v", "s", ";k", "d", 50, "d"},
        ReadCase{"no inline comment", "[s]\r\nk=;x", "s", "k", "d", 50, ";x"},
        ReadCase{"semicolon inside a name", "[s]\r\na;b=v", "s", "a;b", "d", 50, "v"},
        ReadCase{"hash is ordinary text", "[s]\r\n#k=#v", "s", "#k", "d", 50, "#v"},
        ReadCase{"key case ignored", kBasic, "section1", "NaMe1", "d", 50, "val1"},
        ReadCase{"section case ignored", kBasic, "SECTION2", "localecase", "d", 50, "local"},
        ReadCase{"ansi letters case ignored", "[\xC9t\xE9]\r\n\xC0=v", "\xE9T\xC9", "\xE0", "d", 50,
                 "v"},
        ReadCase{"argument spaces ignored", kBasic, "  section1 ", "  name1  ", "d", 50, "val1"},
        ReadCase{"argument tab significant", kBasic, "section1", "\tname1", "d", 50, "d"},
        ReadCase{"argument tab in section significant", kBasic, "section1\t", "name1", "d", 50,
                 "d"},
        ReadCase{"first duplicate section only", "[s]\r\na=1\r\n[t]\r\n[S]\r\nb=2", "s", "b", "d",
                 50, "d"},
        ReadCase{"first duplicate key wins", "[s]\r\nk=1\r\nK=2", "s", "k", "d", 50, "1"},
        ReadCase{"keys stop at the next header", "[s]\r\n[t]\r\nk=1", "s", "k", "d", 50, "d"}));

INSTANTIATE_TEST_SUITE_P(
    Quotes, IniRead,
    testing::Values(
        ReadCase{"double quotes", "[s]\r\nname2=\"val2\"", "s", "name2", "d", 50, "val2"},
        ReadCase{"blanks inside kept", "[s]\r\nk=  \"   v   \"  ", "s", "k", "d", 50, "   v   "},
        ReadCase{"single quotes", "[s]\r\nk='v'", "s", "k", "d", 50, "v"},
        ReadCase{"one pair only", "[s]\r\nk=\"'v'\"", "s", "k", "d", 50, "'v'"},
        ReadCase{"mismatched", "[s]\r\nk=\"v'", "s", "k", "d", 50, "\"v'"},
        ReadCase{"crossed", "[s]\r\nk='\"v'\"", "s", "k", "d", 50, "'\"v'\""},
        ReadCase{"lone quote stays", "[s]\r\nk=\"", "s", "k", "d", 50, "\""},
        ReadCase{"empty quotes", "[s]\r\nk=\"\"", "s", "k", "d", 50, ""},
        ReadCase{"quotes stripped before cutting", "[s]\r\nk=\"val2\"", "s", "k", "d", 3, "va"}));

INSTANTIATE_TEST_SUITE_P(
    ResultsAndDefaults, IniRead,
    testing::Values(
        ReadCase{"missing file", "", "s", "k", "dflt", 50, "dflt"},
        ReadCase{"missing section", kBasic, "nosection", "name1", "dflt", 50, "dflt"},
        ReadCase{"missing key", kBasic, "section1", "nokey", "dflt", 50, "dflt"},
        ReadCase{"null default", kBasic, "section1", "nokey", nullptr, 50, ""},
        ReadCase{"trailing spaces of default dropped", kBasic, "s9", "k", "default  ", 50,
                 "default"},
        ReadCase{"leading and inner spaces of default kept", kBasic, "s9", "k", "  de fault", 50,
                 "  de fault"},
        ReadCase{"trailing tab of default kept", kBasic, "s9", "k", "default\t", 50, "default\t"},
        ReadCase{"empty value is not the default", "[s]\r\nname2=\r\n", "s", "name2", "d", 50, ""},
        ReadCase{"cut to size - 1", kBasic, "section1", "name1", "d", 4, "val"},
        ReadCase{"exact size", kBasic, "section1", "name1", "d", 5, "val1"},
        ReadCase{"size 1", "[s]\r\nk=v", "s", "k", "d", 1, ""},
        ReadCase{"size 0", kBasic, "section1", "name1", "d", 0, ""},
        ReadCase{"default cut too", kBasic, "section1", "nokey", "default", 4, "def"}));

INSTANTIATE_TEST_SUITE_P(
    Lists, IniRead,
    testing::Values(
        ReadCase{"key list", kBasic, "section1", nullptr, "d", 50, "name1\0name2\0name4\0"s},
        ReadCase{"key list cut", kBasic, "section1", nullptr, "d", 16, "name1\0name2\0na"s},
        ReadCase{"key list exact fit is cut", kBasic, "section1", nullptr, "d", 19,
                 "name1\0name2\0name4"s},
        ReadCase{"key list fits", kBasic, "section1", nullptr, "d", 20, "name1\0name2\0name4\0"s},
        ReadCase{"key list size 2", kBasic, "section1", nullptr, "d", 2, ""},
        ReadCase{"key list size 1", kBasic, "section1", nullptr, "d", 1, ""},
        ReadCase{"key list skips comments and bare lines", "[s]\r\n;c=1\r\nbare\r\nk=1\r\n", "s",
                 nullptr, "d", 50, "k\0"s},
        ReadCase{"key list leaves out the empty name", "[s]\r\n=v\r\nk=1\r\n", "s", nullptr, "d",
                 50, "k\0"s},
        ReadCase{"key list repeats duplicates", "[s]\r\nk=1\r\nK=2\r\n", "s", nullptr, "d", 50,
                 "k\0K\0"s},
        ReadCase{"key list of a missing section gives the default", kBasic, "none", nullptr, "d",
                 50, "d"},
        ReadCase{"section list", "[section1]\r\n[section2]\r\n", nullptr, nullptr, "d", 50,
                 "section1\0section2\0"s},
        ReadCase{"section list cut", "[section1]\r\n[section2]\r\n", nullptr, nullptr, "d", 16,
                 "section1\0secti"s},
        ReadCase{"section list fits", "[ section1 ]\r\n[section2]\r\n[section3]\r\n", nullptr,
                 nullptr, "d", 29, "section1\0section2\0section3\0"s},
        ReadCase{"section list exact fit", "[ section1 ]\r\n[section2]\r\n[section3]\r\n", nullptr,
                 nullptr, "d", 28, "section1\0section2\0section3"s},
        ReadCase{"section list one short", "[ section1 ]\r\n[section2]\r\n[section3]\r\n", nullptr,
                 nullptr, "d", 27, "section1\0section2\0section"s},
        ReadCase{"section list repeats duplicates", "[a]\r\n[A]\r\n", nullptr, nullptr, "d", 50,
                 "a\0A\0"s},
        ReadCase{"section list leaves out the empty name", "[]\r\n[a]\r\n", nullptr, nullptr, "d",
                 50, "a\0"s}));

TEST(IniReadMissingFile, GivesDefaultOrEmptyList) {
  EXPECT_EQ(GetProfileString(std::nullopt, "s", "k", "dflt", 50), "dflt");
  EXPECT_EQ(GetProfileString(std::nullopt, "s", nullptr, "dflt", 50), "dflt");
  EXPECT_EQ(GetProfileString(std::nullopt, nullptr, nullptr, "dflt", 50), "");
  EXPECT_EQ(GetProfileString(std::nullopt, kNull, "k", "dflt", 50), "");
}

TEST(IniReadCount, IsTheLengthOfTheResult) {
  // The count the platform returns is the length of what is handed back: 18 for this list.
  EXPECT_EQ(GetProfileString(kBasic, "section1", nullptr, "", 50).size(), 18u);
  EXPECT_EQ(GetProfileString(kBasic, "section1", nullptr, "", 16).size(), 14u);
  EXPECT_EQ(
      GetProfileString("[ section1 ]\r\n[section2]\r\n[section3]\r\n", nullptr, nullptr, "", 28)
          .size(),
      26u);
}

}  // namespace
