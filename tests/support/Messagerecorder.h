#pragma once

#include "platform/Showmessage.h"

#include <QStringList>

// Collects every text given to ShowMessage while it lives, instead of showing
// it, and puts the sink that was there before back when it goes.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const QStringList& Texts() const { return Recorded; }
    void Clear() { Recorded.clear(); }

private:
    QStringList Recorded;
    MessageSink Previous;
};
