// The user's settings, kept in "settings.ini" between runs.
#pragma once

#include <QDateTime>
#include <QString>

class TIniFile;

class KProgramSettings {
public:
    bool Center = true; // main window centred at start, else at Top/Left
    qint32 Top = 100;
    qint32 Left = 100;
    bool OnTop = false;
    bool SaveMemoryData = false;
    QString Memory = QStringLiteral("0");
    bool SaveHistory = false;
    bool CheckUpdatesAtStart = true;
    QString LanguageFile; // relative to the program folder, "lang\..."; empty = built-in texts

    // The one settings object, created with the defaults on first use.
    static KProgramSettings &Instance();
    // Back to the defaults (for a new start).
    void Reset() { *this = KProgramSettings(); }

    // Reads every field, each with its current value as the default.
    void Load(const TIniFile *ini);
    // Writes the fields in their fixed order; Top and Left only when not
    // centred, the memory value only when it is to be kept. Stops at the
    // first write that fails and returns false.
    bool Save(TIniFile *ini) const;
};

// The user id: "none" when missing, otherwise as stored.
QString ReadUserId(const TIniFile &ini);
// A new user id from a UTC time: "yymmddhhnnss".
QString MakeUserId(const QDateTime &utc);
// The stored id, or a new one from the application context's clock when
// none is stored.
QString ReadOrCreateUserId(const TIniFile &ini);
bool WriteUserId(TIniFile &ini, const QString &userId);
