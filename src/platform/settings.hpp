// The settings a player gives the game through its environment, each a
// switch: HANGMAN_SPEECH (the game's own voice) and HANGMAN_REDUCED_MOTION
// (the menu's figure stands still).
#pragma once

namespace hangman {

// True when the environment variable `name` holds a switch's value: "on",
// "1", "true" or "yes" (`on` is then true), "off", "0", "false" or "no"
// (false), in any case. False, leaving `on` as it was, when it is unset or
// holds anything else (such as "system"): the system then decides.
bool setting(const char* name, bool& on);

}  // namespace hangman
