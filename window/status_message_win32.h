// Status messages on the main window.
#pragma once

// Draws status message index into the status box and returns at once.
void showStatusMessage(int index);
// Shows the message for 2 s, long enough to be read, then lets the next paint remove it.
void showStatusForAWhile(int index);
