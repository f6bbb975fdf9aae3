#include "uProgramSettings.h"

#include "uAppContext.h"
#include "uIniFile.h"

static const QString kMainForm = QStringLiteral("MainForm");
static const QString kSettings = QStringLiteral("Settings");
static const QString kMemory = QStringLiteral("Memory");
static const QString kNoUserId = QStringLiteral("none");

KProgramSettings &KProgramSettings::Instance() {
    static KProgramSettings settings;
    return settings;
}

void KProgramSettings::Load(const TIniFile *ini) {
    if (!ini)
        return;
    Center = ini->ReadBool(kMainForm, QStringLiteral("Center"), Center);
    Top = ini->ReadInteger(kMainForm, QStringLiteral("Top"), Top);
    Left = ini->ReadInteger(kMainForm, QStringLiteral("Left"), Left);
    OnTop = ini->ReadBool(kMainForm, QStringLiteral("OnTop"), OnTop);
    SaveMemoryData = ini->ReadBool(kSettings, QStringLiteral("SaveMemoryData"), SaveMemoryData);
    Memory = ini->ReadString(kMemory, QStringLiteral("Data"), Memory);
    SaveHistory = ini->ReadBool(kSettings, QStringLiteral("SaveHistory"), SaveHistory);
    CheckUpdatesAtStart = ini->ReadBool(kSettings, QStringLiteral("CheckUpdatesAtStart"), CheckUpdatesAtStart);
    LanguageFile = ini->ReadString(kSettings, QStringLiteral("LanguageFile"), LanguageFile);
}

bool KProgramSettings::Save(TIniFile *ini) const {
    if (!ini)
        return true;
    if (!ini->WriteBool(kMainForm, QStringLiteral("Center"), Center))
        return false;
    if (!Center) {
        if (!ini->WriteInteger(kMainForm, QStringLiteral("Top"), Top))
            return false;
        if (!ini->WriteInteger(kMainForm, QStringLiteral("Left"), Left))
            return false;
    }
    if (!ini->WriteBool(kMainForm, QStringLiteral("OnTop"), OnTop))
        return false;
    if (!ini->WriteBool(kSettings, QStringLiteral("SaveMemoryData"), SaveMemoryData))
        return false;
    if (SaveMemoryData && !ini->WriteString(kMemory, QStringLiteral("Data"), Memory))
        return false;
    return ini->WriteBool(kSettings, QStringLiteral("SaveHistory"), SaveHistory) &&
           ini->WriteBool(kSettings, QStringLiteral("CheckUpdatesAtStart"), CheckUpdatesAtStart) &&
           ini->WriteString(kSettings, QStringLiteral("LanguageFile"), LanguageFile);
}

QString ReadUserId(const TIniFile &ini) { return ini.ReadString(kSettings, QStringLiteral("UID"), kNoUserId); }

QString MakeUserId(const QDateTime &utc) { return utc.toUTC().toString(QStringLiteral("yyMMddHHmmss")); }

QString ReadOrCreateUserId(const TIniFile &ini) {
    const QString id = ReadUserId(ini);
    if (id != kNoUserId)
        return id;
    return MakeUserId(AppContext().UtcNow());
}

bool WriteUserId(TIniFile &ini, const QString &userId) {
    return ini.WriteString(kSettings, QStringLiteral("UID"), userId);
}
