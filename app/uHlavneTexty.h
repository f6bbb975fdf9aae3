// The main window's texts that are not captions of its controls: the
// messages and the language code sent with the update query.
#pragma once

#include <QString>

class TIniFile;

class THlavneTexty {
public:
    QString msgNewVersionFound;
    QString msgUsingLatestVersion;
    QString msgUnableToFindUpdates;
    QString msgCouldntFindManual;
    QString msgCouldntSaveSettings;
    QString msgUpdateCheck;
    QString msgError;
    // "e1" while no language file is loaded, else the file's code.
    QString LanguageCode = QStringLiteral("e1");

    THlavneTexty() { Reset(); }
    // The built-in texts; the language code is left as it is.
    void Reset();
    // The messages from the "Messages" section (a missing key gives the
    // built-in text, as Reset comes first) and the language code from "Info".
    void Apply(const TIniFile &language);
};
