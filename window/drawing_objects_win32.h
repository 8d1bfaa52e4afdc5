// The drawing objects every window shares: fonts, pens, brushes.
#pragma once

// Start-up: the small bold and large fonts, the small bold one selected into the window DC
// (the font it held becomes the saved font), the text colour and a transparent background.
void createFontsAndTextState();
// Start-up: the grid pen, the dial pen, the light grey-blue brush, the stock black brush.
void createPensAndBrushes();
// Shutdown: the fonts, the hot regions, the brush and the pens, each only if present.
void deleteDrawingObjects();
