#pragma once

// Makes ShowMessage show a modal message box with the text and an OK button,
// returning once it is dismissed. On the "offscreen" platform nobody could see
// or dismiss a box, so there the text goes to standard error as one line and
// ShowMessage returns as if OK had been pressed.
void InstallMessageBoxSink();
