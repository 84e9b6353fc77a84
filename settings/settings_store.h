// The settings store: the program's options in the private-profile file Pallion.ini of the
// program folder, read and written one key at a time at the moment of use (no cache), and the
// layout of the program folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace settings {

// Paths under the program folder; each begins with "\".
inline constexpr const char* kSettingsFile = "\\Pallion.ini";
inline constexpr const char* kFadesFolder = "\\Fades\\";
inline constexpr const char* kMessagesFolder = "\\Messages\\";
inline constexpr const char* kPersonalMessagesFolder = "\\MessagesPer\\";
inline constexpr const char* kLogsFolder = "\\IM Logs\\";
inline constexpr const char* kSoundsFolder = "\\Sounds\\";
inline constexpr const char* kWallPapersFolder = "\\WallPapers\\";
inline constexpr const char* kIgnorePermFile = "\\IgnorePerm.lst";
inline constexpr const char* kListedMembersFile = "\\ListedMembers.lst";
inline constexpr const char* kTellaFriendFile = "\\TellaFriend.taf";
inline constexpr const char* kMenuHelpFile = "\\Pallion.chm";
inline constexpr const char* kAboutHelpFile = "\\Help.chm";
inline constexpr const char* kDefaultWallPaper = "\\WallPapers\\BrickBig.gif";

// The one section of the settings file and its keys.
inline constexpr const char* kGeneral = "General";
namespace keys {
inline constexpr const char* kStyle = "Style";
inline constexpr const char* kGraphical = "Graphical";
inline constexpr const char* kGraLocation = "GraLocation";
inline constexpr const char* kNumOfColors = "NumOfColors";
inline constexpr const char* kColor1 = "Color1";
inline constexpr const char* kColor2 = "Color2";
inline constexpr const char* kColor3 = "Color3";
inline constexpr const char* kColor4 = "Color4";
inline constexpr const char* kEnterKeySendsIM = "EnterKeySendsIM";
inline constexpr const char* kTabKeySwitchesIM = "TabKeySwitchesIM";
inline constexpr const char* kCloseIMs = "CloseIMs";
inline constexpr const char* kAutoAcceptIMs = "AutoAcceptIMs";
inline constexpr const char* kLogIMs = "LogIMs";
inline constexpr const char* kPersonalized = "Personalized";
inline constexpr const char* kLastMessage = "LastMessage";
inline constexpr const char* kUrgentNews = "UrgentNews";
inline constexpr const char* kLeft = "Left";
inline constexpr const char* kTop = "Top";
inline constexpr const char* kWidth = "Width";
inline constexpr const char* kHeight = "Height";
}  // namespace keys

// The program folder followed by `relative` (which begins with "\"), e.g.
// FolderPath(kFadesFolder).
std::string FolderPath(const std::string& relative);
// The program folder followed by "\Pallion.ini".
std::string SettingsPath();

// The key's value from the private-profile file at `filePath`: the key is looked up in lower
// case, at most 749 characters come back, and a missing file, section or key gives "".
std::string ReadINI(const std::string& section, const std::string& key,
                    const std::string& filePath);
// Writes the key (in upper case) with `value`, creating the file when its folder exists. The
// file is replaced as a whole or left as it was; false when it could not be written. A value is
// stored up to its first line break, so that it cannot add lines of its own to the file.
bool WriteINI(const std::string& section, const std::string& key, const std::string& value,
              const std::string& filePath);

// ReadINI / WriteINI on section "General" of SettingsPath().
std::string ReadSetting(const std::string& key);
bool WriteSetting(const std::string& key, const std::string& value);

// A flag: true for "1", false for "0", `whenOther` for anything else (missing included).
bool ReadFlag(const std::string& key, bool whenOther = false);
// A whole decimal number in 32 bits (surrounding spaces allowed), or nothing when the stored
// text is not one (missing or empty included).
std::optional<int32_t> ReadNumber(const std::string& key);
// A colour value (0x00BBGGRR as decimal text); nothing when it does not convert.
std::optional<int32_t> ReadColor(const std::string& key);

// "Style": true for tabs ("1"), false for the list box (anything else).
bool ReadUseTabs();
// "Graphical": false exactly for "1", true otherwise ("2" or missing).
bool ReadGraphical();
// "NumOfColors": 2 or 3 when stored so, 4 for anything else.
int ReadNumOfColors();

// The container's last screen place: left, top, width (right - left), height (bottom - top).
struct Place {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const Place&) const = default;
};
// Only when all four of Left, Top, Width, Height are numbers.
std::optional<Place> ReadPlace();
bool WritePlace(const Place& place);  // false when a key could not be written

}  // namespace settings
