#pragma once

#include <QString>

// The model and the window tell the user things (an unknown configuration,
// refused input, a save failure) without the model knowing anything of
// widgets: the window shows these in message boxes, tests record them.
enum class MessageIcon { Information, Exclamation, Critical };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const QString& text, MessageIcon icon) = 0;
};
