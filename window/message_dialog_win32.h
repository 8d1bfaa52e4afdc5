// The one skinned modal message dialog.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

// Set just before the dialog opens; read while it initialises and paints.
extern uint32_t messageKind;

// Sets the message kind and runs the dialog on template "#117" owned by the main window; a note
// shows on a line of its own below the kind's text. Returns 113 (OK) or 114 (CANCEL).
INT_PTR showMessage(uint32_t kind, const std::string& note = {});
// The dialog procedure, for callers that open the dialog themselves after setting messageKind.
INT_PTR CALLBACK messageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
