// Start and stop watching from the main window, and the stop that shutdown makes.
#pragma once

// Parses the transponder text (nothing starts on failure: the status message said why), tunes,
// raises the watch flag, hides the satellite and transponder lists, disables the LNB list,
// repaints, then starts the poll, sound and meter threads. When one cannot start, the session stops
// again, the lists come back and a status message says so.
void startWatching();
// Shows "Please wait ...", stops the session and waits for its threads (a few milliseconds),
// then gives the lists back and repaints.
void stopWatching();
// Shutdown's stop: the watch flag drops and the threads are waited for in order, with the
// debug-log markers "1;", "2;", "3;" as each has ended.
void stopWatchingForShutdown();
