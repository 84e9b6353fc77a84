#include <gtest/gtest.h>

#include "answer/answer_text.h"

namespace {

using namespace answer;

const std::string kLink = "<A HREF=www.morvanesoftware.com>Pallion</A>";

TEST(AnswerText, TheLinkNamesTheMakersSiteWithoutSchemeOrQuotes) {
  EXPECT_EQ(AnswerLink(), kLink);
}

TEST(AnswerText, NamesCompareWithoutCaseAndSpaces) {
  EXPECT_EQ(NormalizeName("Bob Smith"), "bobsmith");
  EXPECT_EQ(NormalizeName(" B o B "), "bob");
  EXPECT_TRUE(SameName("Bob Smith", "bobsmith"));
  EXPECT_TRUE(SameName("BOBSMITH", "bob smith"));
  EXPECT_FALSE(SameName("Bob_Smith", "bobsmith"));
  EXPECT_FALSE(SameName("Bob.Smith", "Bob Smith"));
  EXPECT_TRUE(SameName("Ren\xC9", "ren\xE9"));
  EXPECT_TRUE(SameName("", "  "));
}

TEST(AnswerText, TheGeneralAnswerFillsInTheScreenNameAndKeepsTheFilesLineEnd) {
  EXPECT_EQ(GeneralAnswer("Hi {sn}!\r\n", "Bob"), "Hi Bob!\r\n\r" + kLink);
  EXPECT_EQ(GeneralAnswer("{SN}, {Sn} and {sN}", "Al"), "Al, Al and Al\r" + kLink);
  // A screen name that reads like the placeholder is not replaced again.
  EXPECT_EQ(GeneralAnswer("to {SN}", "{SN}"), "to {SN}\r" + kLink);
  EXPECT_EQ(GeneralAnswer("", "Bob"), "\r" + kLink);
}

TEST(AnswerText, ThePersonalAnswerDropsOneLineEndAndKeepsThePlaceholder) {
  EXPECT_EQ(PersonalAnswer("Dear {SN}\r\nsee you\r\n"), "Dear {SN}\r\nsee you\r" + kLink);
  EXPECT_EQ(PersonalAnswer("two\r\n\r\n"), "two\r\n\r" + kLink);
  EXPECT_EQ(PersonalAnswer("lf only\n"), "lf only\r" + kLink);
  EXPECT_EQ(PersonalAnswer("cr only\r"), "cr only\r" + kLink);
  EXPECT_EQ(PersonalAnswer("none"), "none\r" + kLink);
  EXPECT_EQ(PersonalAnswer(""), "\r" + kLink);
}

TEST(AnswerText, MessageFilesStayInTheirFolder) {
  EXPECT_EQ(MessageFile("C:\\P\\Messages\\", "Away"), "C:\\P\\Messages\\Away.Mes");
  EXPECT_EQ(MessageFile("C:\\P\\Messages\\", ""), "C:\\P\\Messages\\.Mes");
  EXPECT_EQ(MessageFile("C:\\P\\Messages\\", "Gone for.lunch"),
            "C:\\P\\Messages\\Gone for.lunch.Mes");
  EXPECT_FALSE(MessageFile("C:\\P\\Messages\\", "..\\Pallion"));
  EXPECT_FALSE(MessageFile("C:\\P\\Messages\\", "sub/x"));
  EXPECT_FALSE(MessageFile("C:\\P\\Messages\\", "C:x"));
  EXPECT_FALSE(MessageFile("C:\\P\\Messages\\", ".."));
}

TEST(AnswerText, AConversationEndingInTheLinkLineEndsWithAnAutomaticAnswer) {
  EXPECT_TRUE(EndsWithAutoAnswer("Bob: hi\rAlice: Hi Bob!\r\rPallion"));
  EXPECT_TRUE(EndsWithAutoAnswer("Bob: Hi Alice!\r\n\r\nPallion \r\n\r\n"));
  EXPECT_TRUE(EndsWithAutoAnswer("Pallion"));
  EXPECT_FALSE(EndsWithAutoAnswer("Bob: Hi Alice!\rPallion\rBob: are you there?"));
  EXPECT_FALSE(EndsWithAutoAnswer("Bob: Pallion"));
  EXPECT_FALSE(EndsWithAutoAnswer("Bob: I use Pallion too"));
  EXPECT_FALSE(EndsWithAutoAnswer("pallion"));
  EXPECT_FALSE(EndsWithAutoAnswer(""));
  EXPECT_FALSE(EndsWithAutoAnswer("\r\n \r"));
}

}  // namespace
