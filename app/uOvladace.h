// Controls of the main window that Qt does not have as such: the one-line
// rich-text input, the up-down beside a field, and the rounded panel behind
// the result.
#pragma once

#include <QColor>
#include <QImage>
#include "uZvyraznenie.h"

#include <QTextCharFormat>
#include <QTextEdit>
#include <QWidget>
#include <functional>

class QLineEdit;
class QToolButton;

// A one-line text edit whose characters can carry their own formatting
// (bold, colour). Enter does not break the line: it is reported instead.
class TRiadkovyVstup : public QTextEdit {
    Q_OBJECT
public:
    explicit TRiadkovyVstup(QWidget *parent = nullptr);

    QString Text() const { return toPlainText(); }
    void SetText(const QString &text);

    // The caret and the selection as character positions (0-based).
    int SelStart() const;
    int SelLength() const;
    void Select(int start, int length);
    void SelectAll() { Select(0, int(Text().size())); }
    void SetCaret(int position) { Select(position, 0); }
    // The selected characters become plain and black.
    void SetSelectionPlain();

    // The bracket marks: the whole text plain and black, then the marked
    // brackets bold (and red), without moving the caret or the selection;
    // the next character typed at the caret is plain. Redrawing waits until
    // all is done.
    void ShowBracketMarks(const TZvyraznenieZatvoriek &marks);
    // The character at position as it is formatted (0-based).
    QTextCharFormat CharFormatAt(int position) const;
    // Plain and black, what typed text gets.
    static QTextCharFormat PlainFormat();

    QSize sizeHint() const override;

signals:
    void EnterPressed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
};

// Two arrow keys that step a position between Min and Max. A step asks
// OnChanging first (new value, upward), which may refuse it; without one the
// step is taken when it stays in range. An associated field shows the
// position and sets it when edited.
class TUpDown : public QWidget {
    Q_OBJECT
public:
    explicit TUpDown(QWidget *parent = nullptr);

    int Min = 0;
    int Max = 100;
    int Position() const { return m_position; }
    void SetPosition(int position);
    void SetAssociate(QLineEdit *edit);

    std::function<bool(int newValue, bool up)> OnChanging;

    // One step up or down, as a click on the arrow does.
    void Step(bool up);
    // Takes what the associated field shows as the position (bounded, and
    // shown so) now, as leaving the field does: a key that acts while the
    // field still has the focus uses the number the user sees.
    void TakeAssociateText();

signals:
    void PositionChanged(int position);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void ShowPosition();

    int m_position = 0;
    QLineEdit *m_associate = nullptr;
    QToolButton *m_up;
    QToolButton *m_down;
};

// A rounded rectangle drawn behind other controls.
class TTvar : public QWidget {
    Q_OBJECT
public:
    explicit TTvar(QWidget *parent = nullptr);

    QColor Fill = QColor(255, 255, 255);
    QColor Border = QColor(150, 160, 185);
    int Radius = 8;

signals:
    void Pressed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
};

// A picture that is drawn as it is also while disabled (the background and
// the title pictures); clicked() on a left click.
class TObrazok : public QWidget {
    Q_OBJECT
public:
    explicit TObrazok(QWidget *parent = nullptr);

    void SetImage(const QImage &image);
    const QImage &Image() const { return m_image; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage m_image;
};
