// The application context: the one place that owns what the program takes
// from its surroundings. Every window reaches the program folder, the clock,
// the keyboard state, message boxes, file dialogs, the shell and the update
// server only through it, so that tests can replace each of them.
#pragma once

#include <QDateTime>
#include <QList>
#include <QMutex>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

class QWidget;
class TIniFile;

// ---------------------------------------------------------------------------
// Message boxes and questions.
// Question asks Yes or No with the exclamation icon; InformationQuestion
// does the same with the information icon.
enum class TMessageKind { Warning, Information, Question, QuestionWithCancel, InformationQuestion };
enum class TAnswer { Ok, Yes, No, Cancel };

class TPrompter {
public:
    virtual ~TPrompter() = default;
    // Shows a modal box and returns the button pressed (Ok for the two
    // plain message kinds).
    virtual TAnswer Show(QWidget *parent, TMessageKind kind, const QString &caption, const QString &text) = 0;
};

// The real one: QMessageBox with plain text.
class TMessageBoxPrompter : public TPrompter {
public:
    TAnswer Show(QWidget *parent, TMessageKind kind, const QString &caption, const QString &text) override;
};

// Records every box and answers questions from a queue (then with
// DefaultAnswer). Used where no one can press a button.
class TRecordingPrompter : public TPrompter {
public:
    struct TShown {
        TMessageKind Kind;
        QString Caption;
        QString Text;
    };
    QList<TShown> Shown;
    QList<TAnswer> Answers;
    TAnswer DefaultAnswer = TAnswer::Yes;

    TAnswer Show(QWidget *parent, TMessageKind kind, const QString &caption, const QString &text) override;
};

// ---------------------------------------------------------------------------
// What a file dialog is asked for. Filter uses Qt's form ("Text (*.txt)").
struct TFileDialogRequest {
    QString Title;
    QString FileName; // proposed name
    QString Filter;
    QString DefaultSuffix; // without the dot
};

// Virtual key codes the program asks about.
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;

class TAppContext {
public:
    // The program folder with a trailing '/': settings, history, constants
    // and the "lang" folder live here.
    QString ProgramDir;

    // The current time in UTC.
    std::function<QDateTime()> UtcNow;
    // Whether the key with the given virtual key code is held down now.
    std::function<bool(int virtualKey)> KeyDown;
    // Save and open dialogs; an empty result means the user cancelled.
    std::function<QString(QWidget *parent, const TFileDialogRequest &)> SaveFileName;
    std::function<QString(QWidget *parent, const TFileDialogRequest &)> OpenFileName;
    // Hands a web address or a "mailto:" link to the desktop.
    std::function<bool(const QUrl &)> OpenUrl;
    // The script the update check asks for the newest build; tests point it
    // at a server of their own.
    QUrl UpdateInfoUrl;
    // The default message beep: a refused change of view, for example.
    std::function<void()> Beep;
    // The folder of Qt's own catalogues, from which Qt's texts (message box
    // buttons, file dialogs) follow the language file: Slovak or the file's
    // language, English when the folder lacks it.
    QString QtTranslationsDir;

    TPrompter &Prompter() { return *m_prompter; }
    // Replaces the prompter by a recording one and returns it.
    TRecordingPrompter &UseRecordingPrompter();

    // The settings file object on ProgramDir + "settings.ini".
    TIniFile &SettingsIni() { return *m_settingsIni; }

    // The loaded language file, or none. The object is never changed once
    // published; a reader keeps its own reference, so a switch of language
    // cannot free it under a worker thread. Setting it on the application's
    // thread switches Qt's own texts to its language as well.
    std::shared_ptr<const TIniFile> LanguageIni() const;
    void SetLanguageIni(std::shared_ptr<const TIniFile> ini);

    // Back to the real surroundings with the given program folder (the
    // executable's folder when empty); opens a new settings object and
    // forgets the language file.
    void Reset(const QString &programDir = QString());

    TAppContext();
    ~TAppContext();

private:
    std::unique_ptr<TPrompter> m_prompter;
    std::unique_ptr<TIniFile> m_settingsIni;
    std::shared_ptr<const TIniFile> m_languageIni;
    mutable QMutex m_languageLock;
};

TAppContext &AppContext();

// ---------------------------------------------------------------------------
// The program's decimal separator: the system locale's unless set (tests set
// "," or "."). The windows type and show it, and the main window's model and
// the tools hand it to the engine, which has none of its own.
QChar SystemDecimalSeparator();
QChar DecSep();
void SetDecSep(QChar separator);
