#include "platform/Showmessage.h"

#include "platform/Standarderror.h"

namespace {

// Everything runs on the interface thread, so one plain variable will do.
MessageSink& Sink() {
    static MessageSink sink;
    return sink;
}

}  // namespace

void ShowMessage(const QString& text) {
    // A copy, so that a sink may replace itself while it runs.
    const MessageSink sink = Sink();
    if (sink) {
        sink(text);
    } else {
        WriteLineToStandardError(text);
    }
}

void SetMessageSink(MessageSink sink) {
    Sink() = std::move(sink);
}

MessageSink CurrentMessageSink() {
    return Sink();
}
