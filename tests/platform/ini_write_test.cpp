#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/ini_file.h"

using namespace std::string_literals;
using platform::ini::GetProfileString;
using platform::ini::WriteProfileString;

namespace {

struct WriteCase {
  const char* what;
  std::optional<std::string> content;
  const char* section;
  const char* key;
  const char* value;
  std::optional<std::string> expected;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
  *os << c.what;
}

class IniWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(IniWrite, EditsTheFileInPlace) {
  const WriteCase& c = GetParam();
  EXPECT_EQ(WriteProfileString(c.content, c.section, c.key, c.value), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    NewFilesAndSections, IniWrite,
    testing::Values(
        WriteCase{"new file", std::nullopt, "App", "key", "string", "[App]\r\nkey=string\r\n"},
        WriteCase{"empty file", "", "App", "key", "string", "[App]\r\nkey=string\r\n"},
        WriteCase{"new section appended without blank line",
                  "[App1]\r\nkey1=string1\r\n[App2]\r\nkey4=string4\r\n", "App3", "key5", "string5",
                  "[App1]\r\nkey1=string1\r\n[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n"},
        WriteCase{"line break added before an appended section", std::string(31, '\0'), "section1",
                  "key1", "string1", std::string(31, '\0') + "\r\n[section1]\r\nkey1=string1\r\n"},
        WriteCase{"bare cr counts as a final break", "[a]\r\nk=1\r", "b", "k", "2",
                  "[a]\r\nk=1\r[b]\r\nk=2\r\n"},
        WriteCase{"utf-8 bom is a line without break", "\xEF\xBB\xBF", "Sec", "k", "v",
                  "\xEF\xBB\xBF\r\n[Sec]\r\nk=v\r\n"},
        WriteCase{"bom header is no header", "\xEF\xBB\xBF[Sec]\r\nk=v\r\n", "Sec", "k", "w",
                  "\xEF\xBB\xBF[Sec]\r\nk=v\r\n[Sec]\r\nk=w\r\n"},
        WriteCase{"names lose spaces", std::nullopt, " sec ", " key ", "v", "[sec]\r\nkey=v\r\n"},
        WriteCase{"names keep tabs", std::nullopt, "sec", "\tkey", "v", "[sec]\r\n\tkey=v\r\n"},
        WriteCase{"empty section name", std::nullopt, "", "k", "v", "[]\r\nk=v\r\n"},
        WriteCase{"empty key name", std::nullopt, "s", "", "v", "[s]\r\n=v\r\n"},
        WriteCase{"value verbatim", std::nullopt, "s", "k", "  \"q\" ", "[s]\r\nk=  \"q\" \r\n"},
        WriteCase{"empty value", std::nullopt, "s", "k", "", "[s]\r\nk=\r\n"},
        WriteCase{"null section fails", "[s]\r\nk=v\r\n", nullptr, "k", "v", std::nullopt},
        WriteCase{"all null fails", "[s]\r\nk=v\r\n", nullptr, nullptr, nullptr, std::nullopt}));

INSTANTIATE_TEST_SUITE_P(
    ExistingKeys, IniWrite,
    testing::Values(
        WriteCase{"file spelling kept and final break added", "[S]\r\nTestKey=TestValue", "S",
                  "TESTKEY", "TestValue2", "[S]\r\nTestKey=TestValue2\r\n"},
        WriteCase{"position kept", "[S]\r\na=1\r\nb=2\r\nc=3\r\n", "s", "B", "x",
                  "[S]\r\na=1\r\nb=x\r\nc=3\r\n"},
        WriteCase{"blanks around the equals sign are rewritten", "[S]\r\n  k = v  \r\nz=1\r\n", "S",
                  "k", "new", "[S]\r\nk=new\r\nz=1\r\n"},
        WriteCase{"own line break kept", "[S]\rk=1\rz=2", "S", "k", "2", "[S]\rk=2\rz=2"},
        WriteCase{"first duplicate key only", "[S]\r\nk=1\r\nk=2\r\n", "S", "k", "9",
                  "[S]\r\nk=9\r\nk=2\r\n"},
        WriteCase{"first duplicate section only", "[S]\r\na=1\r\n[S]\r\nk=2\r\n", "S", "k", "9",
                  "[S]\r\na=1\r\nk=9\r\n[S]\r\nk=2\r\n"},
        WriteCase{"untouched bytes kept",
                  "\0\0junk\r\n\r\n[S]  ;x\r\n ; note \r\n\tz\t=\t1\r\nk=1\r\n\r\n"s, "S", "k", "2",
                  "\0\0junk\r\n\r\n[S]  ;x\r\n ; note \r\n\tz\t=\t1\r\nk=2\r\n\r\n"s}));

INSTANTIATE_TEST_SUITE_P(
    NewKeys, IniWrite,
    testing::Values(
        WriteCase{"section spelling kept", "[Sec]\r\nk=v\r\n", "SEC", "k2", "x",
                  "[Sec]\r\nk=v\r\nk2=x\r\n"},
        WriteCase{"after the last key, above trailing comments",
                  "[S]\r\na=1\r\n;note\r\n\r\n[T]\r\n", "S", "b", "2",
                  "[S]\r\na=1\r\nb=2\r\n;note\r\n\r\n[T]\r\n"},
        WriteCase{"above trailing blank lines of a keyless section", "[S]\r\n\r\n[T]\r\n", "S", "k",
                  "v", "[S]\r\nk=v\r\n\r\n[T]\r\n"},
        WriteCase{"after a bare line's key, not after the bare line", "[S]\r\na=1\r\nbare\r\n", "S",
                  "b", "2", "[S]\r\na=1\r\nb=2\r\nbare\r\n"},
        WriteCase{"header without break", "[S]", "S", "k", "v", "[S]\r\nk=v\r\n"},
        WriteCase{"last key without break", "[S]\r\na=1", "S", "b", "2", "[S]\r\na=1\r\nb=2\r\n"},
        WriteCase{"comment key never matches", "[S]\r\n;c=1\r\n", "S", ";c", "2",
                  "[S]\r\n;c=2\r\n;c=1\r\n"},
        WriteCase{"header with missing bracket", "[S\r\n", "S", "k", "v", "[S\r\nk=v\r\n"}));

INSTANTIATE_TEST_SUITE_P(
    Deleting, IniWrite,
    testing::Values(
        WriteCase{"key line removed", "[S]\r\na=1\r\nb=2\r\n", "S", "A", nullptr, "[S]\r\nb=2\r\n"},
        WriteCase{"header stays", "[S]\r\na=1\r\n[T]\r\n", "S", "a", nullptr, "[S]\r\n[T]\r\n"},
        WriteCase{"absent key leaves the file", "[S]\r\na=1\r\n", "S", "x", nullptr,
                  "[S]\r\na=1\r\n"},
        WriteCase{"absent section leaves the file", "[S]\r\na=1\r\n", "X", "a", nullptr,
                  "[S]\r\na=1\r\n"},
        WriteCase{"comments cannot be deleted", "[S]\r\n;a=1\r\n", "S", ";a", nullptr,
                  "[S]\r\n;a=1\r\n"},
        WriteCase{"last line without break", "[S]\r\na=1\r\nb=2", "S", "b", nullptr,
                  "[S]\r\na=1\r\n"},
        WriteCase{"section keeps its comments and blank lines",
                  "[A]\r\nx=0\r\n[S]\r\n;c1\r\na=1\r\nbare\r\n\r\n ;c2\r\nb=2\r\n[T]\r\nb=3\r\n",
                  "s", nullptr, "ignored", "[A]\r\nx=0\r\n;c1\r\n\r\n ;c2\r\n[T]\r\nb=3\r\n"},
        WriteCase{"only the first duplicate section", "[S]\r\na=1\r\n[S]\r\nb=2\r\n", "S", nullptr,
                  nullptr, "[S]\r\nb=2\r\n"},
        WriteCase{"absent section", "[S]\r\na=1\r\n", "T", nullptr, nullptr, "[S]\r\na=1\r\n"},
        WriteCase{"key on a missing file leaves an empty file", std::nullopt, "S", "k", nullptr,
                  ""},
        WriteCase{"section on a missing file leaves an empty file", std::nullopt, "S", nullptr,
                  nullptr, ""}));

TEST(IniWriteOrder, CommentKeysGoBelowLaterKeys) {
  std::optional<std::string> file = "[S]\r\n";
  for (const char* key : {"z", ";y", "a", ";b", ";c"}) {
    file = WriteProfileString(file, "S", key, "");
    ASSERT_TRUE(file);
  }
  EXPECT_EQ(*file, "[S]\r\nz=\r\na=\r\n;c=\r\n;b=\r\n;y=\r\n");
}

TEST(IniWriteOrder, NewKeysKeepCallOrder) {
  std::optional<std::string> file;
  for (const char* key : {"one", "two", "three"}) file = WriteProfileString(file, "S", key, "v");
  EXPECT_EQ(GetProfileString(file, "S", nullptr, "", 100), "one\0two\0three\0"s);
}

TEST(IniWriteRoundTrip, WrittenValuesReadBackAsThePlatformReadsThem) {
  std::optional<std::string> file;
  file = WriteProfileString(file, "s", "spaced", " v ");
  file = WriteProfileString(file, "s", "quoted", "\"q\"");
  file = WriteProfileString(file, "s", "plain", "a;b=c");
  EXPECT_EQ(GetProfileString(file, "s", "spaced", "", 50), "v");
  EXPECT_EQ(GetProfileString(file, "s", "quoted", "", 50), "q");
  EXPECT_EQ(GetProfileString(file, "s", "plain", "", 50), "a;b=c");
}

}  // namespace
