#include "uOvladace.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>
#include <QWheelEvent>

// --- the one-line input ----------------------------------------------------------

TRiadkovyVstup::TRiadkovyVstup(QWidget *parent) : QTextEdit(parent) {
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    // Every key sets the text anew, which empties the undo list, and the
    // bracket highlighting would fill it with changes of format only.
    setUndoRedoEnabled(false);
    document()->setDocumentMargin(3);
}

void TRiadkovyVstup::SetText(const QString &text) {
    QString line = text;
    line.remove(QLatin1Char('\r'));
    line.remove(QLatin1Char('\n'));
    // The new text takes the caret's format: make that plain first, so that
    // a caret beside a bold bracket does not make the whole text bold.
    QTextCursor c = textCursor();
    c.clearSelection();
    c.setCharFormat(PlainFormat());
    setTextCursor(c);
    setPlainText(line);
    moveCursor(QTextCursor::End);
}

int TRiadkovyVstup::SelStart() const { return textCursor().selectionStart(); }

int TRiadkovyVstup::SelLength() const {
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void TRiadkovyVstup::Select(int start, int length) {
    const int size = int(Text().size());
    start = qBound(0, start, size);
    const int end = qBound(start, start + qMax(0, length), size);
    QTextCursor c = textCursor();
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    setTextCursor(c);
}

QTextCharFormat TRiadkovyVstup::PlainFormat() {
    QTextCharFormat plain;
    plain.setFontWeight(QFont::Normal);
    plain.setFontUnderline(false);
    plain.setForeground(QColor(Qt::black));
    return plain;
}

void TRiadkovyVstup::SetSelectionPlain() {
    const QTextCharFormat plain = PlainFormat();
    QTextCursor c = textCursor();
    c.mergeCharFormat(plain);
    setCurrentCharFormat(plain);
}

void TRiadkovyVstup::ShowBracketMarks(const TZvyraznenieZatvoriek &marks) {
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    QTextCursor c(document());
    c.beginEditBlock();
    c.select(QTextCursor::Document);
    c.mergeCharFormat(PlainFormat());
    const int length = document()->characterCount() - 1;
    auto bold = [&](int position, bool red) {
        if (position < 0 || position >= length)
            return;
        c.setPosition(position);
        c.setPosition(position + 1, QTextCursor::KeepAnchor);
        QTextCharFormat f;
        f.setFontWeight(QFont::Bold);
        f.setForeground(red ? QColor(255, 0, 0) : QColor(Qt::black));
        c.mergeCharFormat(f);
    };
    bold(marks.Bold1, marks.Red >= 0 && marks.Red == marks.Bold1);
    bold(marks.Bold2, false);
    c.endEditBlock();
    // With a selection this would format the selection instead.
    if (!textCursor().hasSelection())
        setCurrentCharFormat(PlainFormat());
    setUpdatesEnabled(updates);
    viewport()->update();
}

QTextCharFormat TRiadkovyVstup::CharFormatAt(int position) const {
    QTextCursor c(document());
    c.setPosition(qBound(0, position + 1, document()->characterCount() - 1));
    return c.charFormat();
}

QSize TRiadkovyVstup::sizeHint() const {
    const int h = fontMetrics().height() + 2 * int(document()->documentMargin()) + 2 * frameWidth() + 2;
    return QSize(200, h);
}

void TRiadkovyVstup::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit EnterPressed();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void TRiadkovyVstup::insertFromMimeData(const QMimeData *source) {
    if (!source || !source->hasText())
        return;
    // One line only: what follows the first line break is dropped.
    QString text = source->text();
    const qsizetype br = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    if (br >= 0)
        text.truncate(br);
    textCursor().insertText(text, PlainFormat());
}

// --- the up-down -------------------------------------------------------------------

TUpDown::TUpDown(QWidget *parent) : QWidget(parent) {
    m_up = new QToolButton(this);
    m_up->setObjectName(QStringLiteral("up"));
    m_up->setArrowType(Qt::UpArrow);
    m_up->setAutoRepeat(true);
    m_up->setFocusPolicy(Qt::NoFocus);
    m_down = new QToolButton(this);
    m_down->setObjectName(QStringLiteral("down"));
    m_down->setArrowType(Qt::DownArrow);
    m_down->setAutoRepeat(true);
    m_down->setFocusPolicy(Qt::NoFocus);
    setFocusPolicy(Qt::TabFocus);
    connect(m_up, &QToolButton::clicked, this, [this] { Step(true); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(false); });
}

void TUpDown::SetPosition(int position) {
    position = qBound(Min, position, Max);
    const bool changed = position != m_position;
    m_position = position;
    ShowPosition();
    if (changed)
        emit PositionChanged(m_position);
}

void TUpDown::SetAssociate(QLineEdit *edit) {
    m_associate = edit;
    if (!edit)
        return;
    ShowPosition();
    connect(edit, &QLineEdit::editingFinished, this, &TUpDown::TakeAssociateText);
}

void TUpDown::Step(bool up) {
    if (!isEnabled())
        return;
    const int next = m_position + (up ? 1 : -1);
    if (OnChanging) {
        if (OnChanging(next, up))
            SetPosition(next);
        return;
    }
    if (next >= Min && next <= Max)
        SetPosition(next);
}

void TUpDown::ShowPosition() {
    if (m_associate)
        m_associate->setText(QString::number(m_position));
}

void TUpDown::TakeAssociateText() {
    if (!m_associate)
        return;
    bool ok = false;
    const int value = m_associate->text().trimmed().toInt(&ok);
    SetPosition(ok ? value : m_position);
    ShowPosition();
}

void TUpDown::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        Step(event->key() == Qt::Key_Up);
        return;
    }
    QWidget::keyPressEvent(event);
}

void TUpDown::wheelEvent(QWheelEvent *event) {
    if (event->angleDelta().y() != 0)
        Step(event->angleDelta().y() > 0);
    event->accept();
}

void TUpDown::resizeEvent(QResizeEvent *) {
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
}

void TUpDown::changeEvent(QEvent *event) {
    if (event->type() == QEvent::EnabledChange) {
        m_up->setEnabled(isEnabled());
        m_down->setEnabled(isEnabled());
    }
    QWidget::changeEvent(event);
}

// --- the rounded panel ----------------------------------------------------------------

TTvar::TTvar(QWidget *parent) : QWidget(parent) {}

void TTvar::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Border, 1));
    p.setBrush(Fill);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), Radius, Radius);
}

void TTvar::mousePressEvent(QMouseEvent *event) {
    emit Pressed();
    QWidget::mousePressEvent(event);
}

// --- pictures -----------------------------------------------------------------------

TObrazok::TObrazok(QWidget *parent) : QWidget(parent) {}

void TObrazok::SetImage(const QImage &image) {
    m_image = image;
    update();
}

void TObrazok::paintEvent(QPaintEvent *) {
    if (m_image.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(rect(), m_image);
}

void TObrazok::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QWidget::mouseReleaseEvent(event);
}
