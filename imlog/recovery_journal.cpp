#include "imlog/recovery_journal.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>

#include "imlog/im_log.h"
#include "platform/files.h"
#include "platform/win32.h"
#include "settings/settings_store.h"

namespace imlog {

using platform::HWND;

namespace {

constexpr const char* kTitle = "Pallion recovery journal 1\r\n";
constexpr const char* kEntry = "entry ";
// A journal larger than this is not read (no conversation comes near it).
constexpr size_t kMaxJournalBytes = size_t{256} << 20;

uint32_t Checksum(const std::string& bytes) {
  uint32_t hash = 2166136261u;  // FNV-1a
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 16777619u;
  }
  return hash;
}

std::string Header(const JournalEntry& e) {
  char line[160];
  std::snprintf(line, sizeof line, "%s%u %04d-%02d-%02d %02d:%02d:%02d %zu %zu %zu", kEntry,
                static_cast<unsigned>(e.im), e.changed.year, e.changed.month, e.changed.day,
                e.changed.hour, e.changed.minute, e.changed.second, e.screenName.size(),
                e.conversation.size(), e.text.size());
  return line;
}

std::string Payload(const JournalEntry& e) {
  return e.screenName + e.conversation + e.text;
}

// Reads a whole number of the header at `at`, followed by `end` (a space or a separator).
template <class T>
bool Number(const std::string& line, size_t& at, char end, T& value) {
  const char* first = line.data() + at;
  const char* last = line.data() + line.size();
  auto [ptr, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || ptr == first || ptr == last || *ptr != end) return false;
  at = static_cast<size_t>(ptr - line.data()) + 1;
  return true;
}

// One entry starting at `at` (the start of its header line); its end in `next`.
bool ReadEntry(const std::string& bytes, size_t at, JournalEntry& e, size_t& next) {
  if (bytes.compare(at, std::char_traits<char>::length(kEntry), kEntry) != 0) return false;
  const size_t lineEnd = bytes.find("\r\n", at);
  if (lineEnd == std::string::npos) return false;
  const std::string line = bytes.substr(at, lineEnd - at) + '\n';
  size_t p = std::char_traits<char>::length(kEntry);
  uint32_t hwnd = 0;
  size_t nameSize = 0, conversationSize = 0, textSize = 0;
  uint32_t sum = 0;
  platform::DateTime& t = e.changed;
  if (!Number(line, p, ' ', hwnd) || !Number(line, p, '-', t.year) ||
      !Number(line, p, '-', t.month) || !Number(line, p, ' ', t.day) ||
      !Number(line, p, ':', t.hour) || !Number(line, p, ':', t.minute) ||
      !Number(line, p, ' ', t.second) || !Number(line, p, ' ', nameSize) ||
      !Number(line, p, ' ', conversationSize) || !Number(line, p, ' ', textSize)) {
    return false;
  }
  const char* hex = line.data() + p;
  auto [end, ec] = std::from_chars(hex, line.data() + line.size(), sum, 16);
  if (ec != std::errc() || end == hex || *end != '\n') return false;
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 ||
      t.second > 59) {
    return false;
  }
  const size_t start = lineEnd + 2;
  const size_t room = bytes.size() - start;
  if (nameSize > room || conversationSize > room - nameSize ||
      textSize > room - nameSize - conversationSize) {
    return false;
  }
  const size_t payloadEnd = start + nameSize + conversationSize + textSize;
  if (bytes.compare(payloadEnd, 2, "\r\n") != 0) return false;
  e.im = hwnd;
  e.screenName = bytes.substr(start, nameSize);
  e.conversation = bytes.substr(start + nameSize, conversationSize);
  e.text = bytes.substr(start + nameSize + conversationSize, textSize);
  if (sum != Checksum(Header(e) + Payload(e))) return false;
  next = payloadEnd + 2;
  return true;
}

std::string JournalPath() {
  return settings::FolderPath(kRecoveryFile);
}

bool LoggingOn() {
  return settings::ReadSetting(settings::keys::kLogIMs) == "1";
}

}  // namespace

bool JournalEntry::operator==(const JournalEntry& o) const {
  const auto& a = changed;
  const auto& b = o.changed;
  return im == o.im && screenName == o.screenName && conversation == o.conversation &&
         text == o.text && a.year == b.year && a.month == b.month && a.day == b.day &&
         a.hour == b.hour && a.minute == b.minute && a.second == b.second;
}

std::string EncodeJournal(const std::vector<JournalEntry>& entries) {
  std::string out = kTitle;
  for (const JournalEntry& e : entries) {
    const std::string header = Header(e);
    const std::string payload = Payload(e);
    char sum[16];
    std::snprintf(sum, sizeof sum, " %08x\r\n", static_cast<unsigned>(Checksum(header + payload)));
    out += header + sum + payload + "\r\n";
  }
  return out;
}

DecodedJournal DecodeJournal(const std::string& bytes) {
  DecodedJournal result;
  size_t at = 0;
  if (bytes.starts_with(kTitle)) {
    at = std::char_traits<char>::length(kTitle);
  } else {
    result.damaged = true;
  }
  while (at < bytes.size()) {
    JournalEntry e;
    size_t next = 0;
    if (ReadEntry(bytes, at, e, next)) {
      result.entries.push_back(std::move(e));
      at = next;
      continue;
    }
    // Whatever cannot be read is passed over up to the next header line that checks out.
    result.damaged = true;
    const size_t found = bytes.find(kEntry, at + 1);
    if (found == std::string::npos) break;
    at = found;
  }
  return result;
}

RecoveryJournal::RecoveryJournal(std::function<std::vector<HWND>()> adoptedIMs)
    : adoptedIMs_(std::move(adoptedIMs)) {}

void RecoveryJournal::Update() {
  if (platform::ProcessEnded()) return;
  const std::vector<HWND> adopted = adoptedIMs_ ? adoptedIMs_() : std::vector<HWND>();
  // An entry carried over gives way once its window is adopted again: that one's own entry
  // holds the whole conversation.
  std::erase_if(carried_, [&adopted](const JournalEntry& e) {
    return std::find(adopted.begin(), adopted.end(), e.im) != adopted.end();
  });
  std::vector<JournalEntry> entries = carried_;
  if (LoggingOn()) {
    for (HWND im : adopted) {
      const std::optional<Unlogged> part = UnloggedPart(im);
      if (!part || part->text.empty()) continue;
      auto same = std::find_if(written_.begin(), written_.end(), [&](const JournalEntry& e) {
        return e.im == im && e.conversation == part->conversation && e.text == part->text;
      });
      if (same != written_.end()) {
        entries.push_back(*same);
      } else {
        entries.push_back({im, part->screenName, platform::Now(), part->conversation, part->text});
      }
    }
  }
  if (entries != written_) Write(std::move(entries));
}

void RecoveryJournal::Logged(HWND im) {
  if (platform::ProcessEnded()) return;
  std::vector<JournalEntry> entries = written_;
  if (std::erase_if(entries, [im](const JournalEntry& e) { return e.im == im; }) > 0) {
    Write(std::move(entries));
  }
}

void RecoveryJournal::Carry(std::vector<JournalEntry> entries) {
  carried_ = entries;
  written_ = std::move(entries);
}

void RecoveryJournal::Write(std::vector<JournalEntry> entries) {
  namespace files = platform::files;
  const std::string path = JournalPath();
  const bool done = entries.empty() ? !files::Exists(path) || files::Remove(path)
                                    : files::WriteAll(path, EncodeJournal(entries));
  // A write that failed is tried again at the next update.
  if (done) written_ = std::move(entries);
}

Recovery RecoverJournal() {
  namespace files = platform::files;
  Recovery result;
  const std::string path = JournalPath();
  if (!files::Exists(path) || files::IsDirectory(path)) return result;
  const std::optional<std::string> bytes = files::ReadAll(path, kMaxJournalBytes);
  const DecodedJournal journal = bytes ? DecodeJournal(*bytes) : DecodedJournal{{}, true};
  result.damaged = journal.damaged;
  // What cannot be read is kept aside before anything else; without that copy the journal stays
  // as it is, and what is logged now is not logged again at the next start.
  const bool keepJournal =
      journal.damaged && !files::Copy(path, settings::FolderPath(kDamagedRecoveryFile));
  for (const JournalEntry& e : journal.entries) {
    const bool inLog = LogHolds(e.screenName, e.text, e.changed);
    if (!inLog && !AppendLogEntry(e.screenName, e.text, e.changed)) {
      result.unsaved.push_back(e);
      continue;
    }
    if (!inLog) ++result.recovered;
    NoteLogged(e.im, e.screenName, e.conversation);
  }
  if (keepJournal) return result;
  if (result.unsaved.empty()) {
    files::Remove(path);
  } else {
    files::WriteAll(path, EncodeJournal(result.unsaved));
  }
  return result;
}

}  // namespace imlog
