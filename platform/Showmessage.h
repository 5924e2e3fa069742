#pragma once

#include <QString>

#include <functional>

// A modal message box with the text and an OK button; returns once dismissed.
// Everything the program shows as a message goes through here.
void ShowMessage(const QString& text);

// Where messages go. The program installs the message-box sink at start-up;
// tests install a recorder. Without a sink, messages go to standard error.
using MessageSink = std::function<void(const QString& text)>;
void SetMessageSink(MessageSink sink);

// The sink now installed (empty when none), so that whoever installs another
// for a while can put it back.
MessageSink CurrentMessageSink();
