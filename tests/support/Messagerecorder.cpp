#include "support/Messagerecorder.h"

MessageRecorder::MessageRecorder() : Previous(CurrentMessageSink()) {
    SetMessageSink([this](const QString& text) { Recorded << text; });
}

MessageRecorder::~MessageRecorder() {
    SetMessageSink(Previous);
}
