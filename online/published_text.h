// The maker's web site as the program reads it: the site's address, and the small text files
// published there (the current version, the urgent announcement).
#pragma once

#include <optional>
#include <string>

namespace online {

// The program's own version.
inline constexpr const char* kVersion = "2.0.55";
inline constexpr const char* kDefaultSite = "www.morvanesoftware.com";
inline constexpr const char* kVersionFile = "/IMVersion.txt";
inline constexpr const char* kNewsFile = "/UrgentNews.txt";
inline constexpr const char* kUpgradePage = "/Pallion.asp";
// Settings key (section "General") of the site's address; missing or empty: kDefaultSite.
inline constexpr const char* kSiteKey = "WebSite";

// The site's address as stored: a host name, optionally with a port, or a whole http(s) base
// address; no trailing "/".
std::string SiteAddress();
// The URL of a file of the site (path begins with "/"): "http://" is added to a bare host.
std::string SiteURL(const std::string& path);

// A fetched body as the text it publishes: a UTF-8 byte-order mark and the spaces, tabs and
// line ends around the text removed. Nothing when there was no body, or when it is no plain
// text (a NUL or other control byte, or an HTML page such as a provider's error page).
std::optional<std::string> PublishedText(const std::optional<std::string>& body);

// Fetches a file of the site and reads it as PublishedText.
std::optional<std::string> FetchPublished(const std::string& path);

// What the update check found.
enum class VersionCheck { UpToDate, UpdateAvailable, Failed };
VersionCheck CompareVersion(const std::optional<std::string>& published);

}  // namespace online
