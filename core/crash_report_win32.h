// The crash report: an exception no one handles, in any thread and in any module (a card's
// filter too), writes crash.txt and a small minidump Quorvan.dmp next to the program and ends
// it at once, without a message: the program's state can no longer be trusted.
#pragma once

void installCrashReport();
