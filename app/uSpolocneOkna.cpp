#include "uSpolocneOkna.h"

#include "uAppContext.h"
#include "uDisk.h"
#include "uMagneticForm.h"
#include "uPremenne.h"
#include "uSpolocne.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTextEdit>
#include <QUrl>
#include <algorithm>

QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text) {
    auto *label = new QLabel(text, parent);
    if (name)
        label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLineEdit *MakeReadOnlyEdit(QWidget *parent, const char *name, const QString &text) {
    auto *edit = Named(new QLineEdit(text, parent), name);
    edit->setReadOnly(true);
    InstallEditClipboardKeys(edit);
    return edit;
}

void SetBold(QWidget *widget, bool bold) {
    QFont f = widget->font();
    f.setBold(bold);
    widget->setFont(f);
}

void ShowResultText(QLineEdit *edit, const QString &text, bool ok) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, ok ? QColor(Qt::black) : QColor(Qt::red));
    edit->setPalette(palette);
    edit->setText(text);
    edit->setCursorPosition(0);
}

void FitButton(QPushButton *button) {
    const QFontMetrics fm(button->font());
    button->setMinimumSize(std::max(80, fm.horizontalAdvance(button->text()) + 24), fm.height() + 10);
}

QHBoxLayout *MakeOkCancelRow(QDialog *dialog, QPushButton *&okBtn, QPushButton *&zrusitBtn, const QString &cancelText,
                             int minimumWidth) {
    okBtn = Named(new QPushButton(QStringLiteral("Ok"), dialog), "okBtn");
    okBtn->setDefault(true);
    zrusitBtn = Named(new QPushButton(cancelText, dialog), "zrusitBtn");
    QObject::connect(zrusitBtn, &QPushButton::clicked, dialog, &QDialog::reject);
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *button : {okBtn, zrusitBtn}) {
        if (minimumWidth > 0)
            button->setMinimumWidth(minimumWidth);
        row->addWidget(button);
    }
    return row;
}

bool WarnIfEmpty(QWidget *dialog, const QString &text, const QString &message, QWidget *focus) {
    if (!text.isEmpty())
        return false;
    ShowWarningBox(dialog->windowTitle(), message, dialog);
    focus->setFocus();
    return true;
}

void CentreOnScreen(QWidget *window) {
    const QSize screen = PrimaryScreenSize();
    window->move((screen.width() - window->width()) / 2, (screen.height() - window->height()) / 2);
}

QPoint FrameTopLeftOnScreen(const QRect &frame, const QRect &available) {
    // The far edges first, then the near ones: the near ones win.
    const int x = std::max(available.x(), std::min(frame.x(), available.x() + available.width() - frame.width()));
    const int y = std::max(available.y(), std::min(frame.y(), available.y() + available.height() - frame.height()));
    return QPoint(x, y);
}

namespace {

QMargins FrameMargins(const QWidget *window) {
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

// The frame a window has, or will have once the window manager has framed
// it: that of its owner, else that of any framed window shown.
QMargins ExpectedFrameMargins(const QWidget *window) {
    QMargins margins = FrameMargins(window);
    if (!margins.isNull())
        return margins;
    if (const QWidget *owner = window->parentWidget())
        margins = FrameMargins(owner->window());
    for (const QWidget *other : QApplication::topLevelWidgets())
        if (margins.isNull() && other != window && other->isVisible())
            margins = FrameMargins(other);
    return margins;
}

} // namespace

void KeepOnScreen(QWidget *window) {
    if (!window || !window->isWindow())
        return;
    const QRect inner = window->geometry();
    const QRect frame = inner.marginsAdded(ExpectedFrameMargins(window));
    QScreen *screen = QGuiApplication::screenAt(frame.center());
    if (!screen)
        screen = window->screen();
    if (!screen)
        return;
    const QPoint target = FrameTopLeftOnScreen(frame, screen->availableGeometry());
    if (target == frame.topLeft())
        return;
    // The window keeps its rule of placement: a dialog is centred on its
    // owner again at its next showing.
    const bool moved = window->testAttribute(Qt::WA_Moved);
    window->setGeometry(inner.translated(target - frame.topLeft()));
    window->setAttribute(Qt::WA_Moved, moved);
}

void ShowWarningBox(const QString &caption, const QString &text, QWidget *parent) {
    AppContext().Prompter().Show(parent, TMessageKind::Warning, caption, text);
}

void ShowInfoBox(const QString &caption, const QString &text, QWidget *parent) {
    AppContext().Prompter().Show(parent, TMessageKind::Information, caption, text);
}

bool IsKeyDown(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255)
        return false;
    const auto &keyDown = AppContext().KeyDown;
    return keyDown && keyDown(virtualKey);
}

void TranslateDigitKey(QChar &key, bool plusIsOne) {
    switch (key.unicode()) {
    case u'+':
        if (plusIsOne)
            key = QLatin1Char('1');
        break;
    case u'\u013E': // ľ
    case u'\u011B': // ě
        key = QLatin1Char('2');
        break;
    case u'\u0161': // š
        key = QLatin1Char('3');
        break;
    case u'\u010D': // č
        key = QLatin1Char('4');
        break;
    case u'\u0165': // ť
    case u'\u0159': // ř
        key = QLatin1Char('5');
        break;
    case u'\u017E': // ž
        key = QLatin1Char('6');
        break;
    case u'\u00FD': // ý
        key = QLatin1Char('7');
        break;
    case u'\u00E1': // á
        key = QLatin1Char('8');
        break;
    case u'\u00ED': // í
        key = QLatin1Char('9');
        break;
    case u'\u00E9': // é
        key = QLatin1Char('0');
        break;
    case u',':
    case u'.': key = DecSep(); break;
    default: break;
    }
}

void FilterNumericKeyPress(const QLineEdit *edit, QChar &key) {
    TranslateDigitKey(key, true);
    const QChar sep = DecSep();
    const bool allowed =
        key == QChar(8) || key == QChar(9) || key == QLatin1Char('-') || IsAsciiDigit(key) || key == sep;
    if (!allowed) {
        key = QChar(0);
        return;
    }
    if (!edit)
        return;
    const QString text = edit->text();
    if (key == sep && text.contains(sep)) {
        key = QChar(0);
        return;
    }
    if (key == QLatin1Char('-')) {
        const int caret = edit->hasSelectedText() ? int(edit->selectionStart()) : edit->cursorPosition();
        if (caret != 0 || text.contains(QLatin1Char('-')))
            key = QChar(0);
    }
}

template <class TEdit>
static void PerformClipboardKey(TEdit *edit, int key, bool readOnly) {
    switch (key) {
    case Qt::Key_A: edit->selectAll(); break;
    case Qt::Key_C: edit->copy(); break;
    case Qt::Key_V:
        if (!readOnly)
            edit->paste();
        break;
    case Qt::Key_X:
        if (readOnly)
            edit->copy();
        else
            edit->cut();
        break;
    }
}

bool HandleEditClipboardKeys(QWidget *edit, int key, Qt::KeyboardModifiers modifiers) {
    if (!edit || !modifiers.testFlag(Qt::ControlModifier))
        return false;
    if (key != Qt::Key_A && key != Qt::Key_C && key != Qt::Key_V && key != Qt::Key_X)
        return false;
    // A read-only field copies but takes no paste and gives up nothing to a
    // cut (QLineEdit::paste() itself does not ask).
    if (auto *line = qobject_cast<QLineEdit *>(edit)) {
        PerformClipboardKey(line, key, line->isReadOnly());
        return true;
    }
    if (auto *plain = qobject_cast<QPlainTextEdit *>(edit)) {
        PerformClipboardKey(plain, key, plain->isReadOnly());
        return true;
    }
    if (auto *rich = qobject_cast<QTextEdit *>(edit)) {
        PerformClipboardKey(rich, key, rich->isReadOnly());
        return true;
    }
    return false;
}

static QString CouldntOpenText(const QUrl &url) {
    // A file by its path as the system writes it, anything else as the
    // address handed over.
    const QString name =
        url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : url.toString(QUrl::PreferLocalFile);
    const QString text = LanguageText(QStringLiteral("Messages"), QStringLiteral("msgCouldntOpenAddress"),
                                      QStringLiteral("Nepodarilo sa otvoriť adresu alebo súbor \"#1\"."));
    // A translation that forgot the placeholder still names it.
    return text.contains(QLatin1String("#1")) ? QString(text).replace(QLatin1String("#1"), name)
                                              : text + QLatin1Char('\n') + name;
}

bool OpenAddress(const QUrl &url, QWidget *parent) {
    // The desktop reports a missing browser or file opener only in its log:
    // the user is told here.
    const auto &open = AppContext().OpenUrl;
    if (url.isValid() && open && open(url))
        return true;
    ShowWarningBox(LanguageText(QStringLiteral("Messages"), QStringLiteral("msgError"), QStringLiteral("Chyba")),
                   CouldntOpenText(url), parent);
    return false;
}

void OpenMailLink(const QLabel *label) {
    // An empty label names nothing to open.
    if (label && !label->text().trimmed().isEmpty())
        OpenAddress(QUrl(QStringLiteral("mailto:") + label->text().trimmed()), label->window());
}

void OpenWebLink(const QLabel *label) {
    if (label && !label->text().trimmed().isEmpty())
        OpenAddress(QUrl::fromUserInput(label->text().trimmed()), label->window());
}

static void SetLabelColour(QLabel *label, const QColor &colour) {
    if (!label)
        return;
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

void HighlightLinkLabel(QLabel *label) { SetLabelColour(label, QColor(0, 0, 255)); }

void UnhighlightLinkLabel(QLabel *label) { SetLabelColour(label, QColor(0, 0, 128)); }

TLinkLabel::TLinkLabel(QWidget *parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    UnhighlightLinkLabel(this);
}

void TLinkLabel::enterEvent(QEnterEvent *event) {
    HighlightLinkLabel(this);
    QLabel::enterEvent(event);
}

void TLinkLabel::leaveEvent(QEvent *event) {
    UnhighlightLinkLabel(this);
    QLabel::leaveEvent(event);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent *event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

// ---------------------------------------------------------------------------

namespace {

// Rewrites the character of a one-character key press and sends the
// rewritten press instead; swallows the press when the rule says so.
class TKeyRewriter : public QObject {
public:
    enum TMode { DigitTranslation, NumericField, ClipboardKeys };
    TKeyRewriter(QObject *owner, TMode mode, bool plusIsOne) : QObject(owner), m_mode(mode), m_plusIsOne(plusIsOne) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
            return false;
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        if (m_mode == ClipboardKeys) {
            if (event->type() == QEvent::ShortcutOverride) {
                // Keep application shortcuts from taking these keys.
                if (keyEvent->modifiers().testFlag(Qt::ControlModifier) &&
                    (keyEvent->key() == Qt::Key_A || keyEvent->key() == Qt::Key_C || keyEvent->key() == Qt::Key_V ||
                     keyEvent->key() == Qt::Key_X))
                    event->accept();
                return false;
            }
            return HandleEditClipboardKeys(qobject_cast<QWidget *>(watched), keyEvent->key(), keyEvent->modifiers());
        }
        if (event->type() != QEvent::KeyPress || m_sending || keyEvent->text().size() != 1)
            return false;
        const QChar original = keyEvent->text().at(0);
        QChar key = original;
        if (m_mode == NumericField) {
            if ((original.unicode() < 32 || original.unicode() == 127) && original != QChar(8) && original != QChar(9))
                return false; // Enter, Escape, Delete and Ctrl+letters are not typed characters
            FilterNumericKeyPress(qobject_cast<QLineEdit *>(watched), key);
            if (key.isNull())
                return true;
        } else {
            TranslateDigitKey(key, m_plusIsOne);
        }
        if (key == original)
            return false;
        QKeyEvent rewritten(QEvent::KeyPress, KeyCodeOf(key), keyEvent->modifiers(), QString(key),
                            keyEvent->isAutoRepeat(), ushort(keyEvent->count()));
        m_sending = true;
        QCoreApplication::sendEvent(watched, &rewritten);
        m_sending = false;
        return true;
    }

private:
    static int KeyCodeOf(QChar c) {
        if (IsAsciiDigit(c))
            return Qt::Key_0 + (c.unicode() - '0');
        if (c == QLatin1Char(','))
            return Qt::Key_Comma;
        if (c == QLatin1Char('.'))
            return Qt::Key_Period;
        return Qt::Key_unknown;
    }

    TMode m_mode;
    bool m_plusIsOne;
    bool m_sending = false;
};

} // namespace

void InstallDigitKeyTranslation(QWidget *widget, bool plusIsOne) {
    if (widget)
        widget->installEventFilter(new TKeyRewriter(widget, TKeyRewriter::DigitTranslation, plusIsOne));
}

void InstallNumericKeyFilter(QLineEdit *edit) {
    if (edit)
        edit->installEventFilter(new TKeyRewriter(edit, TKeyRewriter::NumericField, true));
}

void InstallEditClipboardKeys(QWidget *edit) {
    if (edit)
        edit->installEventFilter(new TKeyRewriter(edit, TKeyRewriter::ClipboardKeys, false));
}

void TranslateWindowTitle(QWidget *window, const QString &section, const QString &key) {
    if (window)
        window->setWindowTitle(LanguageText(section, key, window->windowTitle()));
}

void TranslateText(QAbstractButton *button, const QString &section, const QString &key) {
    if (button)
        button->setText(LanguageText(section, key, button->text()));
}

void TranslateText(QLabel *label, const QString &section, const QString &key) {
    if (label)
        label->setText(LanguageText(section, key, label->text()));
}

QWidget *TDigitKeyDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                         const QModelIndex &index) const {
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    InstallDigitKeyTranslation(editor, m_plusIsOne);
    m_editor = editor;
    return editor;
}

void TDigitKeyDelegate::CommitOpenEditor() {
    // A closed editor is hidden until it is deleted.
    if (m_editor && !m_editor->isHidden())
        emit commitData(m_editor);
}

bool HandleValueListKey(QTableView *grid, TPremenne &rows, const QKeyEvent *key) {
    const int row = grid->currentIndex().row();
    if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
        rows.InsertRowAt(row < 0 ? 0 : row);
        return true;
    }
    if (key->key() == Qt::Key_Delete && key->modifiers().testFlag(Qt::ControlModifier)) {
        rows.DeleteRowAt(row);
        return true;
    }
    if (key->key() == Qt::Key_Down && row >= 0 && row == rows.Count() - 1) {
        const TPremenne::TRow &last = rows.Row(row);
        if (!last.Name.isEmpty() || !last.Value.isEmpty()) {
            rows.AppendRow();
            grid->setCurrentIndex(rows.index(row + 1, grid->currentIndex().column()));
            return true;
        }
    }
    return false;
}
