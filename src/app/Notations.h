#pragma once

#include <QString>

#include <cstdint>

// The pure rules behind the main window's notations.

// HTML field text of a colour text: the HTML name of a standard colour, "windows system" for any
// other name ("clXxx"), else "#" and the red, green and blue digits of "$00BBGGRR".
QString ChangeColorF(const QString &colorText);

// The text read as hexadecimal (either case). Anything else throws Exception("not change").
std::int32_t HexToInt(const QString &text);

// True when every character is an ASCII digit or "." (an empty text is true).
bool IsFloat(const QString &text);

// Hexadecimal text "$00BBGGRR" of a standard colour's name; empty when the text names none.
QString StandardColorHexText(const QString &colorText);

// A channel 0-255 in tenths of a percent, rounded twice as the notations do
// (c * 100 / 255 * 100 to an integer, then that / 10), 0 to 1000.
int ChannelTenths(int channel);

// The filter/transmit value as the notations use it, from the filter field's text (already "0"
// when the field was empty): "0" for a text that is not digits and points or reads below 0, "1"
// above 1, otherwise the text exactly as typed. Throws EConvertError for digits and points that
// do not read as a number (1.2.3).
QString FilterValueText(const QString &typed);

struct TPovValues {
    QString R, G, B;
};

// "rgb <R, G, B>" or "pigment{ rgb <R, G, B> }"; `kind` is "rgb", "rgbf" or "rgbt", and `filter`
// is appended as a fourth value when not empty.
QString PovNotation(const QString &kind, const TPovValues &v, const QString &filter, bool pigment);
