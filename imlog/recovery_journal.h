// The recovery journal: while conversations are logged ("LogIMs" "1"), the part of each adopted
// IM's conversation that is not in the log yet is kept in "\Recovery.jnl" of the program folder,
// so that a program that dies (a crash, a kill, a power cut) loses at most the last seconds of
// it. A clean exit leaves no journal; the next start turns one left behind into log entries.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace imlog {

inline constexpr const char* kRecoveryFile = "\\Recovery.jnl";
// A journal that could not be read whole is kept here, so that nothing of it is lost.
inline constexpr const char* kDamagedRecoveryFile = "\\Recovery.bad";

// One conversation in the journal.
struct JournalEntry {
  platform::HWND im = 0;
  std::string screenName;
  // When its text was last seen changed: the day its log entry belongs to and its end line.
  platform::DateTime changed;
  std::string conversation;  // the whole conversation then
  std::string text;          // its part not in the log, under its begin line
  bool operator==(const JournalEntry&) const;
};

// The file's bytes: a title line, then per entry a header line (window, time, the three lengths
// and a checksum) followed by the entry's bytes and CR LF.
std::string EncodeJournal(const std::vector<JournalEntry>& entries);
// Every entry that reads whole and checks out; `damaged` when anything else was found.
struct DecodedJournal {
  std::vector<JournalEntry> entries;
  bool damaged = false;
};
DecodedJournal DecodeJournal(const std::string& bytes);

// Keeps the journal of the adopted IMs up to date.
class RecoveryJournal {
 public:
  // `adoptedIMs` gives the adopted IM windows, in order.
  explicit RecoveryJournal(std::function<std::vector<platform::HWND>()> adoptedIMs);

  // Brings the file up to date: with logging on, the unlogged part of each adopted IM's
  // conversation and the entries carried over; written (whole, through a temporary file) only
  // when that changed, removed when nothing is left to keep or logging is off. The owner calls
  // it every kSaveIntervalMs.
  void Update();
  static constexpr unsigned kSaveIntervalMs = 10000;
  // A conversation that was just logged leaves the journal at once, so that it is never
  // recovered a second time.
  void Logged(platform::HWND im);
  // Entries of an earlier journal that could not be logged yet: kept in the journal until a
  // later start logs them (or, for a window adopted again, until its own entry takes over).
  void Carry(std::vector<JournalEntry> entries);

 private:
  void Write(std::vector<JournalEntry> entries);

  std::function<std::vector<platform::HWND>()> adoptedIMs_;
  std::vector<JournalEntry> written_;  // what the file holds
  std::vector<JournalEntry> carried_;
};

// What a start made of a journal left behind.
struct Recovery {
  int recovered = 0;                  // conversations now in the log
  std::vector<JournalEntry> unsaved;  // entries that could not be logged; still in the journal
  bool damaged = false;               // part of it could not be read: kept as kDamagedRecoveryFile
};
// Turns a journal left behind into log entries (begin line, text, end line, in the file of the
// day each belongs to), once: an entry whose text the day's file holds already is not written
// again. Removes the journal when every entry is in the log. Notes an entry's conversation as
// logged for its window when the window lives on with that conversation (handed back to the
// client), so that later logs of it add only what follows.
Recovery RecoverJournal();

}  // namespace imlog
