#pragma once

#include <string>

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Question, Error };
enum class MessageAnswer { Ok, Yes, No };

// One modal message box. Yes/No boxes have No as their default answer, which is
// also what Enter and Escape choose.
struct MessageRequest {
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

// What a box answers when nobody is asked: No for a question, OK otherwise.
inline MessageAnswer DefaultAnswer(const MessageRequest& request)
{
    return request.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}
