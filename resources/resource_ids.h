// Resource identifiers and names, shared by quorvan.rc and the code.
#pragma once

#define IDI_QUORVAN 118  // icon group
#define IDD_EMPTY 117    // the empty dialog template every modal window opens as "#117"

// Control and timer identifiers of the main window and the dialogs built on "#117".
#define IDC_LNB_LIST 110
#define IDC_SATELLITE_LIST 111
#define IDC_TRANSPONDER_LIST 112
#define IDC_OK 113            // also the signal log's close button
#define IDC_CANCEL 114
#define IDT_SIGNAL_SAMPLE 115  // the signal log's one-second timer
#define IDC_LONGITUDE_DEGREES 121
#define IDC_LONGITUDE_MINUTES 122
#define IDC_LATITUDE_DEGREES 123
#define IDC_LATITUDE_MINUTES 124
#define IDC_CALCULATOR_SATELLITES 125
#define IDC_DISH_WIDTH 126
#define IDC_DISH_HEIGHT 127

#ifndef RC_INVOKED
// RT_RCDATA resources are found by name. The sounds are named by a two-letter language
// prefix and a digit ("EN0" .. "PR9"), "TONE", "BIRD0" .. "BIRD3", and the satellite check's
// "FOUND" and "WRONG".
#define SKIN_PICTURE_RESOURCE "IMGRES"
#define TONE_RESOURCE "TONE"
#define BIRD_RESOURCE_PREFIX "BIRD"
#define BIRD_RESOURCE_COUNT 4
#define FOUND_RESOURCE "FOUND"
#define WRONG_RESOURCE "WRONG"
// The dialog template by the name DialogBoxParamA is given: "#117".
#define RESOURCE_NUMBER_TEXT(number) #number
#define RESOURCE_NAME_OF(number) "#" RESOURCE_NUMBER_TEXT(number)
#define EMPTY_DIALOG_NAME RESOURCE_NAME_OF(IDD_EMPTY)
#define LANGUAGE_RESOURCE_PREFIXES {"EN", "DE", "RU", "IT", "CH", "FR", "PL", "PR"}  // by language index
#endif
