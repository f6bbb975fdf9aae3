// The messages of the engine's error codes, as the main window shows them.
#pragma once

#include "uSpolocne.h"

#include <QString>

// The highest error code that has a message.
constexpr quint8 MaxErrorCode = 34;

// The built-in text of Code, "#1" and "#2" still in it; empty for 0 and for
// codes above MaxErrorCode.
QString BuiltInErrorText(quint8 code);

// text with its first placeholder ("#1", "#2") replaced by value; text as
// it is when it holds none.
QString FillPlaceholder(QString text, QLatin1String placeholder, const QString &value);

// The message of Err: the loaded language file's ErrorMessages "err<code>"
// (the built-in text when no file is loaded or the key is missing), with
// the first "#1" replaced by Param1 and then the first "#2" by Param2.
QString ErrorMessage(const TChyba &err);
