#include "uCeleCisla.h"

#include "uSpolocne.h"
#include "uSpolocneOkna.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

class TWholeNumberKeyFilter : public QObject {
public:
    TWholeNumberKeyFilter(QLineEdit *edit, bool leadingMinus) : QObject(edit), m_leadingMinus(leadingMinus) {
        edit->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::KeyPress || m_sending)
            return false;
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        if (keyEvent->text().size() != 1)
            return false;
        const QChar original = keyEvent->text().at(0);
        if ((original.unicode() < 32 || original.unicode() == 127) && original != QChar(8) && original != QChar(9))
            return false;
        QChar key = original;
        TranslateDigitKey(key, true);
        auto *edit = static_cast<QLineEdit *>(watched);
        bool pass = key == QChar(8) || key == QChar(9) || IsAsciiDigit(key);
        if (key == QLatin1Char('-') && m_leadingMinus) {
            const int caret = edit->hasSelectedText() ? int(edit->selectionStart()) : edit->cursorPosition();
            // A selection from the start that holds the "-" may be typed over.
            const QString kept = edit->hasSelectedText()
                                     ? edit->text().remove(edit->selectionStart(), edit->selectedText().size())
                                     : edit->text();
            pass = caret == 0 && !kept.contains(QLatin1Char('-'));
        }
        if (!pass)
            return true;
        if (key == original)
            return false;
        QKeyEvent rewritten(QEvent::KeyPress, Qt::Key_0 + (key.unicode() - '0'), keyEvent->modifiers(), QString(key));
        m_sending = true;
        QCoreApplication::sendEvent(watched, &rewritten);
        m_sending = false;
        return true;
    }

private:
    bool m_leadingMinus;
    bool m_sending = false;
};

} // namespace

void InstallWholeNumberKeyFilter(QLineEdit *edit, bool leadingMinus) {
    if (edit)
        new TWholeNumberKeyFilter(edit, leadingMinus);
}
