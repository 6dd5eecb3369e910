#pragma once

class TColorSwatch;
class QWidget;

// What the main window says to a screen reader without moving the focus: each new colour the
// swatch shows ("Colour #350ABF") and each text the program puts on the clipboard ("Copied ...").
void AnnounceChanges(QWidget *window, TColorSwatch *swatch);
