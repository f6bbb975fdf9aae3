// Shared set-up of the app tests: a temporary program folder, recording
// seams and a stand-in for the main window.
#pragma once

#include "uAppContext.h"
#include "uDisk.h"
#include "uMainWindowLink.h"
#include "uProgramSettings.h"
#include "uProgramState.h"
#include "uSpolocne.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>

inline QByteArray ReadBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteBytes(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

inline std::string S(const QString &s) { return s.toStdString(); }

// Types text into widget one key at a time, with the characters a keyboard
// layout would give (QTest knows only ASCII); each key goes to the focus
// widget when there is one, so that a cell editor opened by the first key
// takes the rest.
inline void TypeText(QWidget *widget, const QString &text) {
    for (QChar c : text) {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : widget;
        const int key = c.unicode() < 128 ? c.toUpper().unicode() : int(Qt::Key_unknown);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
}

class AppTest : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    TRecordingPrompter *Prompter = nullptr;

    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        AppContext().Reset(Dir.path());
        Prompter = &AppContext().UseRecordingPrompter();
        AppContext().OpenUrl = [this](const QUrl &url) {
            OpenedUrls.append(url);
            return true;
        };
        AppContext().UpdateInfoUrl = QUrl(); // no update check reaches the network
        KProgramSettings::Instance().Reset();
        KProgramState::Instance().JustEvaluated = false;
        SetDecSep(QLatin1Char(','));
    }

    void TearDown() override {
        // Nothing of a test may point into its temporary folder afterwards.
        AppContext().Reset(Dir.path());
        SetDecSep(SystemDecimalSeparator());
    }

    // The child control called name; a missing one fails the test.
    template <class T>
    T *Find(QWidget &window, const char *name) {
        T *child = window.findChild<T *>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    QString Path(const QString &name) const { return Dir.path() + QLatin1Char('/') + name; }

    QList<QUrl> OpenedUrls;
};

// Every file written while it lives may hold at most `bytes` bytes: the
// kernel refuses the rest, as a full disk would (root ignores permissions,
// not this limit).
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

// The main window as the companions see it.
class TFakeMainWindow : public TMainWindowLink {
public:
    QWidget Frame;
    QString Input;
    QStringList Results;
    int Calculations = 0;
    QList<QPair<QString, QString>> AddMissingCalls;
    std::function<void(const QString &, const QString &)> OnAddMissing;
    QList<bool> BackEnabled;
    QStringList LanguageSwitches;
    QStringList UsedExpressions;
    QStringList Previews;
    QList<TChyba> ShownErrors;
    int VariablesWindowShown = 0;
    int InputActivated = 0;
    QList<long double> TakenResults;
    // The settings of the context; its separator is the program's at the
    // time of the call, as the main window's model gives it.
    TEvaluationContext Context{QLatin1Char(',')};

    QWidget *Window() override { return &Frame; }
    TEvaluationContext EvaluationContext() const override {
        TEvaluationContext c = Context;
        c.DecimalSeparator = DecSep();
        return c;
    }
    QString InputText() const override { return Input; }
    void SetInputText(const QString &text) override { Input = text; }
    void InsertIntoInput(const QString &text) override { Input += text; }
    void ShowResult(const QString &result) override { Results.append(result); }
    void Calculate() override { ++Calculations; }
    void AddMissingVariables(const QString &expression, const QString &excludedName) override {
        AddMissingCalls.append({expression, excludedName});
        if (OnAddMissing)
            OnAddMissing(expression, excludedName);
    }
    void SetBackEnabled(bool enabled) override { BackEnabled.append(enabled); }
    void UseExpression(const QString &text) override { UsedExpressions.append(text); }
    void ValidateVariableValues(const QString &, TChyba &err, const QString &, TKontrola) override {
        err.ClearCodeAndSpan();
    }
    void ShowError(const TChyba &err) override { ShownErrors.append(err); }
    void ShowVariablesWindow(const QString &, const QString &) override { ++VariablesWindowShown; }
    void ActivateInput() override { ++InputActivated; }
    void TakeResult(long double value) override { TakenResults.append(value); }
    void GiveFormStyle(QWidget *) const override {}
    void ShowExpressionPreview(const QString &text) override { Previews.append(text); }
    bool ApplyLanguageToAllForms(const QString &fileName) override {
        LanguageSwitches.append(fileName);
        if (!LoadLanguageFile(fileName))
            return false;
        KProgramSettings::Instance().LanguageFile = fileName;
        return true;
    }
};
