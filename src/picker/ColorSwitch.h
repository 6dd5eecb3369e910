#pragma once

// The quantity the picker's slider strip varies; the colour field spans the two others of the
// same colour model.
enum TColorSwitch { csHue, csSaturation, csBrightness, csBlue, csGreen, csRed };
