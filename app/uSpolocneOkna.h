// Small helpers shared by the windows: the making of named controls,
// message boxes, the keyboard state, key filters for numeric fields,
// clipboard keys of edit fields, link labels, the translation of the Slovak
// and Czech number row into digits, and the cell editors and keys of the
// name and value grids.
#pragma once

#include <QChar>
#include <QLabel>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QPointer>
#include <QString>
#include <QStyledItemDelegate>

class QDialog;
class QHBoxLayout;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QTableView;
class QUrl;
class QWidget;
class QAbstractButton;
class TPremenne;

// Gives the widget its objectName and returns it, so that a control is
// made and named in one expression.
template <class T>
T *Named(T *widget, const char *name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A label that shows its text as plain text; it has no objectName when name
// is null.
QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text = QString());

// A read-only field whose text is selected, copied (and cut as a copy) with
// the clipboard keys.
QLineEdit *MakeReadOnlyEdit(QWidget *parent, const char *name, const QString &text = QString());

// The widget's font made bold (or regular again).
void SetBold(QWidget *widget, bool bold = true);

// A result field's text, shown from its start: black for a result, red
// for an error message.
void ShowResultText(QLineEdit *edit, const QString &text, bool ok);

// Keeps room around the button's caption (at least 80 pixels wide) also
// under the main window's style sheet, which reaches the tool windows and
// gives buttons no padding. Called again when the caption changes.
void FitButton(QPushButton *button);

// The buttons "okBtn" and "zrusitBtn" of a dialog at the right end of a
// row, each at least minimumWidth wide: OK is the default button, Cancel
// rejects the dialog. The dialog connects OK to its own check.
QHBoxLayout *MakeOkCancelRow(QDialog *dialog, QPushButton *&okBtn, QPushButton *&zrusitBtn, const QString &cancelText,
                             int minimumWidth = 0);

// Shows message in a warning box captioned with the dialog's title and puts
// the focus on focus, when text is empty. True when it did.
bool WarnIfEmpty(QWidget *dialog, const QString &text, const QString &message, QWidget *focus);

// A window of its own that belongs to the window that opens it, with the
// title bar, system menu and buttons of a plain window: a tool window, since
// the window manager learns whom a window belongs to only from dialogs and
// tool windows.
inline constexpr Qt::WindowFlags ToolWindowFlags = Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                                                   Qt::WindowCloseButtonHint;

// Moves the window to the middle of the primary screen.
void CentreOnScreen(QWidget *window);

// Where a window's frame (title bar and borders included) goes so that it
// lies on the available area of the screen: moved the least distance into
// it; a frame larger than the area keeps its top-left corner, and so its
// title bar, on it.
QPoint FrameTopLeftOnScreen(const QRect &frame, const QRect &available);
// Moves a top-level window so that its frame lies on the available area of
// its screen. Before a window is first shown its frame is not known yet: it
// is taken to be as thick as the frame of the window that opened it.
void KeepOnScreen(QWidget *window);

// Modal boxes with one OK button and the exclamation or information icon.
void ShowWarningBox(const QString &caption, const QString &text, QWidget *parent = nullptr);
void ShowInfoBox(const QString &caption, const QString &text, QWidget *parent = nullptr);

// True while the key with the virtual key code (0..255) is held down.
bool IsKeyDown(int virtualKey);

// Rewrites Key in place: the letters of the number row become their digits,
// "," and "." the engine's decimal separator, and "+" becomes "1" when
// plusIsOne is set.
void TranslateDigitKey(QChar &key, bool plusIsOne);

// For a field that takes one signed decimal number: Key becomes QChar(0)
// (swallowed) unless it is Backspace, Tab, a digit, a decimal separator the
// text does not hold yet, or "-" at the start of a text without one.
void FilterNumericKeyPress(const QLineEdit *edit, QChar &key);

// Ctrl+A, Ctrl+C, Ctrl+V and Ctrl+X on a QLineEdit, QPlainTextEdit or
// QTextEdit (Shift and Alt do not matter). Returns true when the key was one
// of them and the action was performed; the caller then consumes the key so
// that the edit does not perform it a second time.
bool HandleEditClipboardKeys(QWidget *edit, int key, Qt::KeyboardModifiers modifiers);

// Hands a web address, a "mailto:" link or a local file to the desktop
// (through the application context). When that fails, a warning on parent
// says that it could not be opened and names it (the language file's
// Messages msgCouldntOpenAddress, "#1" for the name); false then.
bool OpenAddress(const QUrl &url, QWidget *parent = nullptr);

// The shell opens "mailto:" + the label's text, or the text itself as a web
// address; an empty label opens nothing.
void OpenMailLink(const QLabel *label);
void OpenWebLink(const QLabel *label);

// Link labels are navy, and blue while the mouse is over them.
void HighlightLinkLabel(QLabel *label);
void UnhighlightLinkLabel(QLabel *label);

// A label that behaves as a link: underlined, navy, blue under the mouse,
// and clicked() on a left click.
class TLinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit TLinkLabel(QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// Event filters that apply the key rules above to a widget's key presses.
// Each is owned by the widget it is installed on.
void InstallDigitKeyTranslation(QWidget *widget, bool plusIsOne);
void InstallNumericKeyFilter(QLineEdit *edit);
void InstallEditClipboardKeys(QWidget *edit);

// Language helpers: replace a text with the loaded language file's value for
// (section, key), the current text being the default.
void TranslateWindowTitle(QWidget *window, const QString &section, const QString &key);
void TranslateText(QAbstractButton *button, const QString &section, const QString &key);
void TranslateText(QLabel *label, const QString &section, const QString &key);

// A grid's cell delegate whose editors apply TranslateDigitKey to the keys
// typed into them.
class TDigitKeyDelegate : public QStyledItemDelegate {
public:
    explicit TDigitKeyDelegate(bool plusIsOne, QObject *parent = nullptr)
        : QStyledItemDelegate(parent), m_plusIsOne(plusIsOne) {}
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    // Hands the text of an open cell editor to the model.
    void CommitOpenEditor();

private:
    bool m_plusIsOne;
    mutable QPointer<QWidget> m_editor;
};

// The keys of a grid over a name and value list: Insert adds a row before
// the current one, Ctrl+Delete deletes the current row, and Down on a last
// row that holds a name or a value appends a row. True when the key was one
// of them and was handled.
bool HandleValueListKey(QTableView *grid, TPremenne &rows, const QKeyEvent *key);
