#pragma once

#include <QString>

// The model tells the user things (a save failure, an unknown configuration)
// without knowing anything of widgets: the window shows these in message
// boxes, tests record them.
enum class MessageIcon { Information, Exclamation, Critical };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const QString& text, MessageIcon icon) = 0;
};
