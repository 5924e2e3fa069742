#pragma once

// Asks the application to end, as soon as control returns to its event loop
// (a queued quit: the caller's own work, and the closing of the window that
// asked, finish first). A modal dialog whose loop is still running then is
// closed by the quit and its run ends with a result other than Accepted.
void TerminateApplication();

// Whether TerminateApplication has been called since the start or the last
// reset; lets tests see the request without their own event loop ending.
bool ApplicationTerminateRequested();
void ResetApplicationTerminateRequest();
