// The promotional commands: the tell-a-friend mail prepared in the client's "Write Mail" window,
// and the two decorated advert lines posted into the open chat room.
#pragma once

#include <string>

#include "container/main_window.h"

namespace online {

inline constexpr const char* kTellaFriendSubject = "Pallion for AOL!!";
// How long the client may take to open its "Write Mail" window.
inline constexpr uint32_t kWriteMailWaitMs = 10000;

// The two advert lines as the client's chat HTML: the banner, and the link line with the
// site's host.
std::string AdvertBanner();
std::string AdvertLinkLine(const std::string& siteHost);

// The TimerAdvertise tick: both lines into the open chat room, a second apart (nothing without
// a room). The timer is stopped first, so that the pause between the lines cannot start
// another advert.
void TimerAdvertiseTick(container::MainWindow& main);

// The TimerTellaFriend tick: asks for the friends' screen names; with an answer, opens the
// client's "Write Mail" window and fills the address, the subject and the body (the
// "\TellaFriend.taf" text, two line breaks and the user's screen name), leaving the mail for
// the user to send. Stopped first, like the advert.
void TimerTellaFriendTick(container::MainWindow& main);

}  // namespace online
