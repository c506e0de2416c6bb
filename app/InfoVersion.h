#pragma once

#include <string>

// What the program says of itself (the About box, the splash window): its name, its version and
// the date it was built, with its notices. The build writes the version and the date into the
// program; nothing is read from the disk but the program's own path.
class CInfoVersion {
public:
    struct Date {
        int year = 0;
        int month = 0;
        int day = 0;
    };

    // From what the build wrote into the program. False when those values are not in their
    // forms; the fields the reading had not reached stay empty.
    bool Charger();
    // The same from given values: a version "major.minor.patch" (a fourth number optional) and a
    // date "yyyy-mm-dd".
    bool Charger(const std::string& version, const std::string& date);

    std::string productName;
    std::string productVersion;
    Date fileDate;
    std::string legalNotice;
    std::string modulePath;
    std::string companyName;
    std::string fileDescription;
    std::string majorVersion; // "%d" of the first number
    std::string minorVersion; // "%d" of the second
    std::string fullVersion;  // "%d.%d.%d.%d"
    std::string fileVersion;  // as the build wrote it
    std::string internalName;
};
