// The hints of the main window's controls: their built-in texts, the order
// in which a language file's "Hints" section replaces them, and the worker
// that reads the section off the main thread.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class TIniFile;
class QThread;

struct THintRow {
    const char *Key;     // in the "Hints" section
    const char *Control; // the control's objectName
    const char *BuiltIn; // its hint when no file says otherwise
};

// Every hinted control once, in the order of translation.
const QList<THintRow> &HintRows();

struct THint {
    QString Control;
    QString Text;
};

// The hints that a language file gives, in the order of HintRows: one for
// each row whose key the "Hints" section holds (a missing key keeps the
// control's hint, so it gives none).
QList<THint> TranslateHints(const TIniFile &language);

// Starts a thread that translates the hints of language, which it keeps
// alive and only reads, and hands each hint to setHint on receiver's
// thread, in order. The thread deletes itself when done; the returned
// pointer is for waiting on it (it becomes dangling once deleted, so keep it
// in a QPointer).
QThread *StartHintTranslation(std::shared_ptr<const TIniFile> language, QObject *receiver,
                              std::function<void(const THint &)> setHint);
