#include "uHlavneTexty.h"

#include "uDisk.h"
#include "uIniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

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
    ManualFile = QLatin1String(BuiltInManualFile);
    DownloadPage = QLatin1String(BuiltInDownloadPage);
    HomePage = QLatin1String(BuiltInHomePage);
    DocumentationPage = QLatin1String(BuiltInDocumentationPage);
}

void THlavneTexty::Apply(const TIniFile &language) {
    auto read = [&](const QString &section, QString &field, const char *key) {
        field = language.ReadString(section, QLatin1String(key), field);
    };
    const QString messages = QStringLiteral("Messages");
    read(messages, msgError, "msgError");
    read(messages, msgUpdateCheck, "msgUpdateCheck");
    read(messages, msgNewVersionFound, "msgNewVersionFound");
    read(messages, msgUsingLatestVersion, "msgUsingLatestVersion");
    read(messages, msgUnableToFindUpdates, "msgUnableToFindUpdates");
    read(messages, msgCouldntFindManual, "msgCouldntFindManual");
    read(messages, msgCouldntSaveSettings, "msgCouldntSaveSettings");

    const QString addresses = QStringLiteral("Addresses");
    read(addresses, ManualFile, "ManualFile"); // checked when the manual is opened
    const struct {
        QString *Field;
        const char *Key;
        const char *BuiltIn;
    } pages[] = {{&DownloadPage, "DownloadPage", BuiltInDownloadPage},
                 {&HomePage, "HomePage", BuiltInHomePage},
                 {&DocumentationPage, "DocumentationPage", BuiltInDocumentationPage}};
    for (const auto &page : pages) {
        read(addresses, *page.Field, page.Key);
        if (!IsMakersAddress(*page.Field))
            *page.Field = QLatin1String(page.BuiltIn);
    }

    LanguageCode =
        language.ReadString(QStringLiteral("Info"), QStringLiteral("LanguageIsoCode"), QStringLiteral("e2")).left(2);
}

bool IsMakersAddress(const QString &address) {
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
        return false;
    const QString host = url.host().toLower();
    const QString domain = QLatin1String(MakersDomain);
    return host == domain || host.endsWith(QLatin1Char('.') + domain);
}

QString ManualPath(const QString &programDir, const QString &manualFile) {
    const QString relative = RelativeProgramPath(manualFile.trimmed());
    // A drive or a scheme ("C:", "file:") names something outside.
    if (relative.isEmpty() || relative.contains(QLatin1Char(':')))
        return QString();
    const QString folder = QFileInfo(programDir).canonicalFilePath();
    if (folder.isEmpty())
        return QString();
    // The real file, links resolved, must lie in the program folder.
    const QFileInfo file(QDir(folder).filePath(relative));
    const QString real = file.canonicalFilePath();
    if (real.isEmpty() || !QFileInfo(real).isFile() || !real.startsWith(folder + QLatin1Char('/')))
        return QString();
    return real;
}
