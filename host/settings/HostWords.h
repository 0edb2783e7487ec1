// The host's own words: button titles, switch states, notes in the drawing,
// the settings list's title, help and the change lines. They are written in
// English where they are used and looked up here in the session's language,
// so a session in Chinese shows no English fragments of the host's making.
//
// The language is the first of the user's preferred localisations (LANGUAGE,
// LC_ALL, LC_MESSAGES, LANG, in the order the bundles try them) for which the
// host has words: "zh-Hans" or English. Text a pane gives (an alert's button
// title, row names) is the pane's and is never translated here.
#pragma once

#include <string>
#include <string_view>

namespace settings_host {

// Picks the session's language from the environment. Until it is called the
// words are English.
void chooseHostLanguage();

// The language picked: "en" or "zh-Hans".
std::string hostLanguage();

// An English word or sentence of the host in the session's language (the
// English itself when there is no translation).
std::string word(std::string_view english);

}  // namespace settings_host
