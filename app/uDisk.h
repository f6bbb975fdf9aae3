// The program folder and the settings and language file objects.
#pragma once

#include "uAppContext.h"
#include "uIniFile.h"

#include <QString>
#include <memory>

// The folder of the executable, with a trailing '/'.
QString ProgramDir();

// A path stored in the program's files in its own form ("lang\english.txt",
// "lib\") made into a real path under the program folder.
QString ProgramPath(const QString &relative);
// The same path relative to the program folder: "/" for "\", no leading "/".
QString RelativeProgramPath(const QString &relative);

// The settings file object on ProgramDir() + "settings.ini".
TIniFile &SettingsIni();

// The loaded language file, or none. Keep the returned reference for as long
// as the file is read.
std::shared_ptr<const TIniFile> LanguageIni();

// Loads the language file FileName (relative to the program folder) when it
// exists and makes it the current one; otherwise nothing changes and the
// result is false.
bool LoadLanguageFile(const QString &fileName);

// The text for (section, key) of the loaded language file; current when no
// file is loaded or the file lacks the key.
QString LanguageText(const QString &section, const QString &key, const QString &current);
