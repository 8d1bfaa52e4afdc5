// Resource identifiers, shared by quorvan.rc and the code.
#pragma once

#define IDI_QUORVAN 118
#define IDD_EMPTY 117
