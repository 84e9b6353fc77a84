// The scenario the demo plays when no script is given.
#include "app/demo_runner.h"

namespace app {

std::string DefaultScenario() {
  return R"(# Alice signs on and starts Pallion; three correspondents write, Pallion gathers
# their IMs into tabs; Alice switches tabs, answers one, closes one, switches to the
# list look and closes the client, which ends Pallion (logging the conversations).
# On the way Alice sends a colour-faded IM, Pallion answers an IM while she is away,
# and closes the IM of a correspondent on her permanent ignore list. In the Control Panel she
# visits every page and finds a phrase of an earlier conversation in the logs.
# Pallion's web site runs on this machine: once Alice is signed on, Pallion shows its
# announcement once, and both its menu and its About window find the newer version there.
setting LogIMs 1
setting Style 1
setting Left 140
setting Top 150
setting Width 520
setting Height 420
file IgnorePerm.lst "Frank"
file Messages/Away.Mes "Sorry {SN}, I am away from my desk. Back soon!"
setting LastMessage Away
web-page /IMVersion.txt "2.0.56"
web-page /UrgentNews.txt "Pallion 2.0.56 is out: tabs that remember their order. Choose Check for Updates in the Pallion menu."
signon Alice
start-pallion
expect pallion running
expect window "AOL Child" "Pallion ²·º :"
expect container hidden
shot pallion-started

wait 25s
expect notice "Important Announcement from Morvane Software"
expect notice "Pallion 2.0.56 is out"
shot urgent-news
click control AOButtonLiveUpdate 1
menu pallion "Check for Updates"
expect notice "There is an updated version of Pallion"
shot update-available
click control AOButtonLiveUpdate 1
menu pallion About
shot about
click control AOButtonAbout 2
expect notice "There is an updated version of Pallion"
click control AOButtonLiveUpdate 1

im Bob "Hi Alice, are you there?"
wait 2s
im Carl "Lunch at noon?"
wait 2s
im Dave "Did you see the game?"
wait 3s
expect tabs Bob Carl Dave
expect container visible
expect sound Chat.icp
shot three-ims-in-tabs

switch-to Carl
expect shown Carl
shot carl-shown
type-im "Noon works for me!"
key enter
wait 2s
expect sent Carl "Noon works for me!"
shot carl-answered

click control AOButtonMiddle 4
type-im "See you there, a faded hello from Alice!"
key enter
wait 2s
expect sent Carl "See you there, a faded hello from Alice!"
expect sent-containing Carl "<Font Color=#"
shot faded-im

menu program "IM Answer" "All IMs"
im Erin "Are you coming to the party tonight?"
wait 8s
expect sent-containing Erin "Sorry Erin, I am away from my desk. Back soon!"
menu program "IM Answer" "Off"
switch-to Erin
shot away-answer

im Frank "Hey Alice, remember me?"
wait 2s
expect tabs Bob Carl Dave Erin
expect blocked Frank

switch-to Bob
expect shown Bob
answer-box Yes
click control AOButtonCloseIM
wait 2s
expect tabs Carl Dave Erin
shot after-close-im

menu program Options Style "List Box"
wait 1s
shot list-look

# Alice closes Carl's IM, and Pallion writes the conversation to Carl's log. Then she opens
# the Control Panel from Pallion's menu on the client's menu bar and goes through its pages:
# she brings the tabs look back, writes an away message, makes a fade, unblocks Frank, finds
# what she agreed with Carl in the logs and prints that day.
switch-to Carl
answer-box Yes
click control AOButtonCloseIM
wait 2s
expect file "IM Logs/Carl/4-26-2001.txt" "Noon works for me!"
menu pallion "Control Panel"
expect window ThunderRT5Form "Control Panel"
shot settings-general
click control optStyle 0
wait 1s
shot settings-tabs-look-back
settings-tab "Auto Answer"
answer-box OK Lunch
click control AOButtonIMAnswer 0
type-into txtAwayMessage "Out for lunch, {SN}. Back at one!"
expect file "Messages/Lunch.Mes" "Out for lunch, {SN}. Back at one!"
shot settings-auto-answer
settings-tab "Fade Features"
click control AOButtonRandom
shot settings-fade-features
settings-tab "Ignore List"
expect text lstIgnorePer Frank
choose lstIgnorePer Frank
click control AOButtonIgnoreList 4
expect unblocked Frank
shot settings-ignore-list
settings-tab Logging
expect text ctListIMLogFolder Carl
type-into txtSearch "noon"
key enter
expect text ctListSearchHits "Noon works for me!"
choose ctListSearchHits Carl
expect text txtIMLog "Noon works for me!"
shot settings-log-search-hit
click control AOButtonIMLog 4
expect printed 1
shot settings-log-printed
key esc

quit
wait 4s
expect pallion ended
expect file "IM Logs/Carl/4-26-2001.txt" "Noon works for me!"
expect file "IM Logs/Dave/4-26-2001.txt" "Did you see the game?"
shot client-closed
)";
}

}  // namespace app
