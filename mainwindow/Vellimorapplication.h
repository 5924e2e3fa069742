#pragma once

#include <QApplication>

// The application object. An exception that escapes any event handler ends
// up here: its message is shown and the program ends with exit code 1,
// instead of unwinding through the toolkit or aborting.
class VellimorApplication : public QApplication {
    Q_OBJECT

public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows the message of an exception that escaped, for the entry's own catch too.
    static void ShowException(const std::exception* error);
};
