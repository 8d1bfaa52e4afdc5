// The main window's own pieces, made once at start-up: its shape and hot regions, the three
// combo boxes and the tooltips.
#pragma once

void createWindowShapeAndHotRegions();
void createComboBoxes();
void setComboBoxFonts();
// "None", "LNB1" .. "LNB4", with the settings' LNB selection selected (none when out of range).
void fillLnbList();
void createTooltips();
