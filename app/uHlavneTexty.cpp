#include "uHlavneTexty.h"

#include "uIniFile.h"

void THlavneTexty::Reset() {
    msgNewVersionFound = QStringLiteral(
        "Na nete je k dispozícii nová verzia programu Tarbelon. Chcete navštíviť stránku programu a prevziať ju ?");
    msgUsingLatestVersion = QStringLiteral("Používate najnovšiu verziu programu Tarbelon.");
    msgUnableToFindUpdates = QStringLiteral("Nepodarilo sa zistiť, či existuje novšia verzia.");
    msgCouldntFindManual = QStringLiteral("Nenašiel sa potrebný súbor s návodom. Pre vyriešenie tohto problému "
                                          "navštívte domovskú stránku programu.");
    msgCouldntSaveSettings = QStringLiteral("Nepodarilo sa uložiť nastavenia");
    msgUpdateCheck = QStringLiteral("Kontrola aktualizácií");
    msgError = QStringLiteral("Chyba");
}

void THlavneTexty::Apply(const TIniFile &language) {
    const QString messages = QStringLiteral("Messages");
    auto read = [&](QString &field, const char *key) {
        field = language.ReadString(messages, QLatin1String(key), field);
    };
    read(msgError, "msgError");
    read(msgUpdateCheck, "msgUpdateCheck");
    read(msgNewVersionFound, "msgNewVersionFound");
    read(msgUsingLatestVersion, "msgUsingLatestVersion");
    read(msgUnableToFindUpdates, "msgUnableToFindUpdates");
    read(msgCouldntFindManual, "msgCouldntFindManual");
    read(msgCouldntSaveSettings, "msgCouldntSaveSettings");
    LanguageCode = language.ReadString(QStringLiteral("Info"), QStringLiteral("LanguageIsoCode"), QStringLiteral("e2"))
                       .left(2);
}
