#pragma once

// The program speaks French whatever language the desktop speaks: Qt's own texts (the buttons of
// message boxes and button boxes, the file dialog, the menus of the document windows) come from
// Qt's French translations, dates and numbers that Qt formats for the user follow France's
// conventions, and the dialogs are Qt's own rather than the desktop's, which would speak the
// desktop's language.
//
// Numbers the program formats itself (the cells of tables, stored texts, files) are not touched:
// they keep "." whatever the locale.
namespace FrenchInterface {

// The base name of Qt's French translation file, found in Qt's translations folder.
constexpr const char* kQtTranslation = "qtbase_fr";

// Installs all of the above in the running Qt application; once per application, later calls
// change nothing. False when Qt's French translations cannot be loaded (the package that carries
// them is missing): the program then runs with Qt's own English texts in its standard dialogs.
bool Install();

} // namespace FrenchInterface
