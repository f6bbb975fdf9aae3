#include "uDisk.h"

#include <QDir>
#include <QFileInfo>

QString ProgramDir() { return AppContext().ProgramDir; }

QString ProgramPath(const QString &relative) { return ProgramDir() + RelativeProgramPath(relative); }

QString RelativeProgramPath(const QString &relative) {
    QString path = relative;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (path.startsWith(QLatin1Char('/')))
        path.remove(0, 1);
    return path;
}

TIniFile &SettingsIni() { return AppContext().SettingsIni(); }

std::shared_ptr<const TIniFile> LanguageIni() { return AppContext().LanguageIni(); }

bool LoadLanguageFile(const QString &fileName) {
    const QString path = ProgramPath(fileName);
    if (fileName.trimmed().isEmpty() || !QFileInfo(path).isFile())
        return false;
    AppContext().SetLanguageIni(std::make_shared<const TIniFile>(path));
    return true;
}

QString LanguageText(const QString &section, const QString &key, const QString &current) {
    const std::shared_ptr<const TIniFile> ini = LanguageIni();
    return ini ? ini->ReadString(section, key, current) : current;
}
