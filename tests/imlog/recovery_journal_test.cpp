#include "imlog/recovery_journal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using imlog::DecodeJournal;
using imlog::EncodeJournal;
using imlog::JournalEntry;

std::vector<JournalEntry> ThreeEntries() {
  return {
      {0x10010,
       "Bob",
       {2001, 4, 26, 9, 5, 7, 0},
       " Begin IM - x\r\n Bob: hi",
       " Begin IM - x\r\n Bob: hi"},
      // Line ends of every kind, what looks like a header, and bytes of any value.
      {0x10020,
       "Carl Smith",
       {2001, 12, 31, 23, 59, 59, 0},
       "a\rb\nc\r\nentry 1 2001-01-01 00:00:00 0 0 0 0\r\n" + std::string("\0\xff\xe9", 3),
       "b\nc"},
      {0x10030, "Dave", {2002, 1, 1, 0, 0, 0, 0}, "", ""},
  };
}

TEST(RecoveryJournalFile, WhatIsWrittenReadsBackWhole) {
  const auto entries = ThreeEntries();
  const auto decoded = DecodeJournal(EncodeJournal(entries));
  EXPECT_FALSE(decoded.damaged);
  EXPECT_EQ(decoded.entries, entries);
  const auto none = DecodeJournal(EncodeJournal({}));
  EXPECT_FALSE(none.damaged);
  EXPECT_TRUE(none.entries.empty());
}

TEST(RecoveryJournalFile, AnEntryHitAnywhereIsDroppedAndTheOthersKept) {
  const auto entries = ThreeEntries();
  const std::string whole = EncodeJournal(entries);
  const size_t secondAt = EncodeJournal({entries[0]}).size();
  const size_t secondEnd = EncodeJournal({entries[0], entries[1]}).size();
  // Every single byte of the second entry changed in turn: the first and third always come
  // back, the second never comes back changed.
  for (size_t at = secondAt; at < secondEnd; ++at) {
    std::string bytes = whole;
    bytes[at] = static_cast<char>(bytes[at] ^ 0x21);
    const auto decoded = DecodeJournal(bytes);
    SCOPED_TRACE(at);
    EXPECT_TRUE(decoded.damaged);
    ASSERT_GE(decoded.entries.size(), 2u);
    EXPECT_EQ(decoded.entries.front(), entries[0]);
    EXPECT_EQ(decoded.entries.back(), entries[2]);
    for (const auto& e : decoded.entries) {
      if (e.im == entries[1].im) {
        EXPECT_EQ(e, entries[1]);
      }
    }
  }
}

TEST(RecoveryJournalFile, AShortOrStrangeFileGivesWhatItHoldsWhole) {
  const auto entries = ThreeEntries();
  const std::string whole = EncodeJournal(entries);
  std::vector<size_t> ends;  // where a file of the first n entries ends
  for (size_t n = 0; n <= entries.size(); ++n) {
    ends.push_back(EncodeJournal({entries.begin(), entries.begin() + n}).size());
  }
  for (size_t size = 0; size < whole.size(); ++size) {
    const auto decoded = DecodeJournal(whole.substr(0, size));
    SCOPED_TRACE(size);
    EXPECT_EQ(decoded.damaged, std::find(ends.begin(), ends.end(), size) == ends.end());
    for (size_t i = 0; i < decoded.entries.size(); ++i) EXPECT_EQ(decoded.entries[i], entries[i]);
  }
  // Headers claiming more than there is, or numbers out of range, and no title at all.
  for (const std::string& bytes :
       {std::string("Pallion recovery journal 1\r\nentry 1 2001-04-26 09:00:00 "
                    "99999999999999999999 1 1 0\r\nx\r\n"),
        std::string("Pallion recovery journal 1\r\nentry 1 2001-13-40 25:61:61 1 0 0 0\r\nx\r\n"),
        std::string("Pallion recovery journal 1\r\nentry 1 2001-04-26 09:00:00 "
                    "18446744073709551615 18446744073709551615 2 0\r\nxy\r\n"),
        std::string("not a journal"), std::string()}) {
    const auto decoded = DecodeJournal(bytes);
    EXPECT_TRUE(decoded.damaged);
    EXPECT_TRUE(decoded.entries.empty());
  }
  // Garbage before a good file is passed over.
  const auto decoded = DecodeJournal("junk\r\n" + whole.substr(whole.find("entry")));
  EXPECT_TRUE(decoded.damaged);
  EXPECT_EQ(decoded.entries, entries);
}

}  // namespace
