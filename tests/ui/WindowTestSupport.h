#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include <QLineEdit>
#include <QString>

#include "truss/MessageSink.h"
#include "ui/CommonDialog.h"
#include "ui/frmMain.h"

struct ShownMessage {
    QString text;
    MessageIcon icon;
};

class MessageRecorder : public MessageSink {
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
        for (const ShownMessage& m : messages)
            result << m.text;
        return result;
    }

    std::vector<ShownMessage> messages;
    std::function<void(const QString&)> whileShown;  // runs while the message would be open
};

// A Save dialog that answers from a script: a name, or cancel (nothing).
class ScriptedDialog : public CommonDialog {
public:
    struct Showing {
        QString proposed, title, defaultExt, initDir, filter;
        int flags;
        bool cancelError;
    };

    std::deque<std::optional<QString>> answers;
    std::vector<Showing> showings;
    std::function<void()> whileShown;

protected:
    std::optional<QString> exec() override
    {
        showings.push_back({fileName(), dialogTitle(), defaultExt(), initDir(), filter(), flags(), cancelError()});
        if (whileShown)
            whileShown();
        if (answers.empty())
            return std::nullopt;
        std::optional<QString> answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// Reads the window's own fields.
class frmMainTest {
public:
    static std::int16_t curLoadType(const frmMain& w) { return w.curLoadType; }
    static float curLoadValue(const frmMain& w) { return w.curLoadValue; }
    static QString fileName(const frmMain& w) { return w.fileName; }
    static const clsTruss* truss(const frmMain& w) { return w.Truss.get(); }
};

inline QLineEdit* box(const frmMain& w, const char* name) { return w.findChild<QLineEdit*>(QString::fromUtf8(name)); }
