// The main window's texts that are not captions of its controls: the
// messages, the addresses of the manual and of the maker's web pages, and the
// language code sent with the update query; with the rules that keep a
// language file from pointing them anywhere else.
#pragma once

#include <QString>

class TIniFile;

// The maker's web site. A language file may change an address only within
// this domain.
inline constexpr char MakersDomain[] = "tarbelon.example";
inline constexpr char BuiltInHomePage[] = "https://tarbelon.example/";
inline constexpr char BuiltInDocumentationPage[] = "https://docs.tarbelon.example/";
inline constexpr char BuiltInDownloadPage[] = "https://tarbelon.example/index.php?page=download";
inline constexpr char BuiltInManualFile[] = "\\manual\\en\\manual.html";

class THlavneTexty {
public:
    QString msgNewVersionFound;
    QString msgUsingLatestVersion;
    QString msgUnableToFindUpdates;
    QString msgCouldntFindManual;
    QString msgCouldntSaveSettings;
    QString msgUpdateCheck;
    QString msgError;
    // Relative to the program folder, in the form the files use.
    QString ManualFile;
    QString DownloadPage;
    QString HomePage;
    QString DocumentationPage;
    // "e1" while no language file is loaded, else the file's code (at most
    // two characters).
    QString LanguageCode = QStringLiteral("e1");

    THlavneTexty() { Reset(); }
    // The built-in texts and addresses; the language code is left as it is.
    void Reset();
    // From a language file, each key with the current value as its default:
    // the messages ("Messages"), the addresses ("Addresses"; a web address
    // outside the maker's domain gives the built-in one) and the language
    // code ("Info", "e2" when missing).
    void Apply(const TIniFile &language);
};

// True for an http or https address whose host is the maker's domain or one
// of its subdomains.
bool IsMakersAddress(const QString &address);

// The existing file that manualFile names under programDir ("\manual\..."
// and "manual/..." alike), or empty when it names none or one outside the
// program folder.
QString ManualPath(const QString &programDir, const QString &manualFile);
