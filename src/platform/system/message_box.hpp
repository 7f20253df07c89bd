// Telling the player why the game cannot run: standard error, and a message box where a
// desktop exists. Depends on SDL2.
#pragma once

#include <string>

// Prints "title: text" to standard error and shows it in an error box when a desktop can
// show one (nothing is shown without a display). Never fails.
void ShowFatalMessage(const std::string& title, const std::string& text);
