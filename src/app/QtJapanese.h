#pragma once

class QCoreApplication;

namespace kenmori {

// Qt's own texts (standard buttons, the file dialog) in Japanese, like the
// rest of the window, whatever language the system runs in.

// Loads qtbase_ja from Qt's translations folder. False, and the texts stay
// English, when the translation is not installed.
bool InstallQtJapanese(QCoreApplication& application);

} // namespace kenmori
