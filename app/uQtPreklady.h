// Qt's own texts (the buttons of message boxes and questions, the file
// dialogs, the edit fields' context menus) in the language of the interface.
#pragma once

#include <QString>
#include <QTranslator>

class TIniFile;

// Qt's catalogues as the system ships them. Some (the Slovak one among them)
// hold the standard buttons' texts ("Án&o", "&Nie") only under the context
// Qt 5 asked them from, QDialogButtonBox, while Qt 6 asks under
// QPlatformTheme, or QGnomeTheme on that desktop: a text missing there is
// looked up under the older context.
class TQtTranslator : public QTranslator {
public:
    QString translate(const char *context, const char *sourceText, const char *disambiguation = nullptr,
                      int n = -1) const override;
};

// The language of Qt's texts for a language file (two lower-case letters):
// Slovak without a file, since the built-in texts are Slovak; else the first
// two letters of the file's Info LanguageIsoCode when they are "en" or folder
// holds Qt's catalogue for them; else the system's language ("en" for none).
QString QtTextsLanguage(const TIniFile *languageFile, const QString &folder);

// Makes Qt's texts those of language, from Qt's catalogue in folder, in place
// of the ones used before. English, a language without a catalogue and a
// missing folder leave Qt's own English texts. Returns whether a catalogue is
// in use.
bool UseQtTexts(const QString &language, const QString &folder);
