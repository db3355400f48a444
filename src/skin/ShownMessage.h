// A message as the user is shown it: the caption, the text and the kind of box.
#pragma once

#include <QString>

namespace skin {

enum class MessageKind { None, Warning, Stop, Information, Help, ErrorReport };

struct ShownMessage {
    QString caption;
    QString text;
    MessageKind kind = MessageKind::None;
};

} // namespace skin
