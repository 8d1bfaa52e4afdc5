// The satellite and transponder lists: text moves between the transponder files, the two combo
// boxes and the portable rules of this folder. Each returns true when it ran to its end.
#pragma once

// Fills the satellite list from "Transponders\*.ini" and selects the current satellite.
// False when there is no file, or some file could not be listed.
bool buildSatelliteList();
// Fills the transponder list from the current satellite's file and selects the current frequency.
// False, with the list and its text empty, when the file cannot be read.
bool loadTransponderList();
// Takes the satellite list's selection as the current satellite.
bool selectSatellite();
// Position first or name first, then the list again.
bool toggleSortOrder();
