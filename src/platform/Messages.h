#pragma once

#include <string>

#include "platform/Language.h"
#include "platform/MessageBox.h"

// The words of every box the game shows, in Japanese and in English.

// The box id names, with detail where the box shows one, in Japanese.
MessageRequest Message(MessageId id, const std::string& detail = "");
// The box in the language: its fixed words translated by what box it is; the
// detail it shows (a path, a compiler's text) stays as it is.
MessageRequest Translated(const MessageRequest& request, Language language);
// The words on a Yes/No box's buttons.
std::string YesLabel(Language language);
std::string NoLabel(Language language);
