#pragma once

#include <functional>
#include <vector>

#include <QString>
#include <QStringList>

#include "truss/MessageSink.h"

struct RecordedMessage {
    QString text;
    MessageIcon icon;
};

// Keeps every message the model or the window shows, in order.
class RecordingSink : public MessageSink {
public:
    void showMessage(const QString& text, MessageIcon icon) override
    {
        messages.push_back({text, icon});
        if (whileShown)
            whileShown(text);
    }

    QStringList texts() const
    {
        QStringList result;
        for (const RecordedMessage& m : messages)
            result << m.text;
        return result;
    }

    std::vector<RecordedMessage> messages;
    std::function<void(const QString&)> whileShown;  // runs while the message would be open
};
