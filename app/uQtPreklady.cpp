#include "uQtPreklady.h"

#include "uIniFile.h"
#include "uSpolocne.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <memory>

QString TQtTranslator::translate(const char *context, const char *sourceText, const char *disambiguation, int n) const {
    QString text = QTranslator::translate(context, sourceText, disambiguation, n);
    if (text.isEmpty() && context && (qstrcmp(context, "QPlatformTheme") == 0 || qstrcmp(context, "QGnomeTheme") == 0))
        text = QTranslator::translate("QDialogButtonBox", sourceText, disambiguation, n);
    return text;
}

namespace {

const QString kEnglish = QStringLiteral("en");

// Two lower-case letters, or empty.
QString LanguageCode(const QString &text) {
    const QString code = AsciiLower(text.trimmed().left(2));
    const bool letters = code.size() == 2 && IsAsciiLetter(code.at(0)) && IsAsciiLetter(code.at(1));
    return letters ? code : QString();
}

// Qt's catalogue of language in folder; empty when there is none. Only the
// exact name is taken: the translator's own search would fall back to a
// catalogue of another language.
QString CatalogueFile(const QString &language, const QString &folder) {
    if (language.isEmpty() || folder.isEmpty())
        return QString();
    const QString file = QDir(folder).filePath(QStringLiteral("qtbase_") + language + QStringLiteral(".qm"));
    return QFileInfo(file).isFile() ? file : QString();
}

struct TInstalled {
    std::unique_ptr<TQtTranslator> Translator;
    QString Language;
    QString Folder;
};

TInstalled &Installed() {
    static TInstalled installed;
    return installed;
}

} // namespace

QString QtTextsLanguage(const TIniFile *languageFile, const QString &folder) {
    if (!languageFile)
        return QStringLiteral("sk");
    const QString named =
        LanguageCode(languageFile->ReadString(QStringLiteral("Info"), QStringLiteral("LanguageIsoCode"), QString()));
    if (named == kEnglish || !CatalogueFile(named, folder).isEmpty())
        return named;
    const QString system = LanguageCode(QLocale().name());
    return system.isEmpty() ? kEnglish : system;
}

bool UseQtTexts(const QString &language, const QString &folder) {
    if (!QCoreApplication::instance())
        return false;
    TInstalled &installed = Installed();
    if (installed.Language == language && installed.Folder == folder)
        return installed.Translator != nullptr;
    if (installed.Translator)
        QCoreApplication::removeTranslator(installed.Translator.get());
    installed.Translator.reset();
    installed.Language = language;
    installed.Folder = folder;
    const QString file = language == kEnglish ? QString() : CatalogueFile(language, folder);
    if (file.isEmpty())
        return false;
    auto translator = std::make_unique<TQtTranslator>();
    if (!translator->load(file) || !QCoreApplication::installTranslator(translator.get()))
        return false;
    installed.Translator = std::move(translator);
    return true;
}
