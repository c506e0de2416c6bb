#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <string>

class CPoliceAna;
class QPaintDevice;

// Fonts of the presentation records made into drawing fonts for a device.
namespace QtFonts {

// The drawing font of a record for the device it will measure and draw on: a character height of
// the device's vertical resolution x size / 72 pixels, truncated (size x 1.25 without a device,
// never below 1); bold, italic and underline as the record says.
QFont CreerFont(const CPoliceAna& font, const QPaintDevice* device);

// The family to ask for: the face itself when the system has it; for the usual faces of the
// records that the system lacks ("Times New Roman", "Arial", "Courier New"), the first present
// family of the same kind and width, so that a serif face stays serif.
QString FamilyFor(const std::string& face);

// The record's text colour (stored as 0x00BBGGRR).
QColor TextColour(const CPoliceAna& font);

// A text of the core as the device draws it: UTF-8, "\r\n" line ends taken as one line break.
QString ToDisplayText(const std::string& text);

} // namespace QtFonts
