#pragma once

#include "truss/MessageSink.h"

class QWidget;

// Shows messages as modal message boxes with one OK button and the title
// "Ambrell".
class MessageBoxSink : public MessageSink {
public:
    explicit MessageBoxSink(QWidget* parent) : parent_(parent) {}
    void showMessage(const QString& text, MessageIcon icon) override;

private:
    QWidget* parent_;
};
