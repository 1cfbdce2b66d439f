#pragma once
// A message the user must see, as plain data: the widgets turn it into a message box.

#include <string>

namespace morvik {

// None: a plain notice box without an icon (the confirmation of a save).
enum class MessageIcon { Information, Warning, Question, None };

struct Message {
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::Information;
};

inline const char* const kCaptionNotice = "提示";

inline bool operator==(const Message& a, const Message& b) {
    return a.text == b.text && a.caption == b.caption && a.icon == b.icon;
}

} // namespace morvik
