// The start-up sequence: every process-wide object, made once in a fixed order.
#pragma once

// Every step absorbs its own failure; the sequence always runs to its end. The tooltips are not
// among its steps: the entry point makes them once the window has shown.
void startupSequence();
