#pragma once

#include <string>

// The check of a workbook file once written: every part of its zip container is complete.
//
// The spreadsheet library writes each part (sheets, styles, strings...) into a temporary file
// before copying it into the container, and does not check those writes: with the temporary folder
// full, or a write failing there, it still reports success and the container holds empty or cut
// parts. A part is complete when it can be read back whole (stored or deflated) and, for an XML
// part, when it starts with the XML declaration and ends by closing the element it opened first;
// any other part must not be empty. The reader checks every offset and size against the file and
// never reads past it.
class XlsxPackageCheck {
public:
    // True when every part of the file at `path` is complete. False otherwise, with `part` the
    // name of the first incomplete part (empty when the container itself cannot be read).
    static bool Complete(const std::string& path, std::string& part);

    // The same on the bytes of a container.
    static bool CompleteBytes(const std::string& bytes, std::string& part);
};
