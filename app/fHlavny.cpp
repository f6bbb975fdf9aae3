#include "fHlavny.h"

#include "fHistoria.h"
#include "fJazyk.h"
#include "fKonstanty.h"
#include "fNahladVyrazu.h"
#include "fPremenne.h"
#include "uAktualizacia.h"
#include "uAppContext.h"
#include "uChyby.h"
#include "uDisk.h"
#include "uHinty.h"
#include "uHlavneMenu.h"
#include "uIniFile.h"
#include "uMagneticForm.h"
#include "uOkna.h"
#include "uOvladace.h"
#include "uPohybOkna.h"
#include "uProgramSettings.h"
#include "uProgramState.h"
#include "uRezimy.h"
#include "uSpolocneOkna.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QThread>
#include <QTimer>
#include <QScreen>
#include <QUrl>
#include <QWindow>
#include <QStatusBar>
#include <QToolButton>

#ifndef TARBELON_VERSION
#define TARBELON_VERSION "1.0"
#endif

namespace {

// Set on every control with a hint: true for the keys, which show it as the
// mouse moves over them, false for the fields, which show it as it enters.
const char *const HintGroupProperty = "hintGroup";

// The look of the keys and labels, built into the program from
// resources/styles/hlavny.qss.
QString StyleSheet() {
    QFile file(QStringLiteral(":/styles/hlavny.qss"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Sets the label's text and fits the label to it inside box, at the largest
// font from largestPixels down to smallestPixels at which the text shows
// whole: on one line at the text's own width, kept against the box's right
// or left edge, or else wrapped over the box's whole width. At the smallest
// font a text that still does not fit takes the height it needs.
void FitLabel(QLabel *label, const QString &text, const QRect &box, bool keepRightEdge, int largestPixels,
              int smallestPixels) {
    label->setText(text);
    QFont font = label->font();
    for (int pixels = largestPixels;; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetrics fm(font);
        // QLabel draws the text one pixel in from each side.
        const int width = fm.horizontalAdvance(text) + 2;
        const bool oneLine = width <= box.width();
        const int wrappedHeight =
            oneLine ? 0
                    : fm.boundingRect(QRect(0, 0, box.width(), 100 * box.height()), Qt::TextWordWrap, text).height();
        if (oneLine || wrappedHeight <= box.height() || pixels <= smallestPixels) {
            label->setFont(font);
            label->setWordWrap(!oneLine);
            const int w = oneLine ? width : box.width();
            const int h = std::max(box.height(), wrappedHeight);
            label->setGeometry(keepRightEdge ? box.x() + box.width() - w : box.x(), box.y(), w, h);
            return;
        }
    }
}

// The largest font from largestPixels down to smallestPixels at which the
// label's text fits its fixed width on one line.
void FitFixedWidth(QLabel *label, int largestPixels, int smallestPixels) {
    QFont font = label->font();
    for (int pixels = largestPixels; pixels >= smallestPixels; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(label->text()) + 2 <= label->width())
            break;
    }
    label->setFont(font);
}

} // namespace

// ---------------------------------------------------------------------------
// Creation

ThlavnyFrm::ThlavnyFrm(TCompanionWindows &companions, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_companions(companions) {
    setObjectName(QStringLiteral("hlavnyFrm"));
    setFixedSize(HlavnyWidth, HlavnyHeight);
    setStyleSheet(StyleSheet());
    CreateControls();
    m_menu = new THlavneMenu(*this, ActionMainMenuBar1, m_companions);
    CreatePopupMenus();
    ConnectKeypad();
    InstallHints();
    setMouseTracking(true);
    // "Always on top" holds for every window the program shows.
    new TOnTopFollower([] { return KProgramSettings::Instance().OnTop; }, this);
    // And every window the program shows belongs to this one.
    new TMainWindowOwner(this);
    FormCreate();
}

ThlavnyFrm::~ThlavnyFrm() {
    if (m_menuCheck && m_menuCheck->IsRunning())
        QApplication::restoreOverrideCursor();
    // A running check is cancelled; a hint thread only reads its own copy
    // of the language file and is waited for, since it posts to this window.
    delete m_menuCheck.data();
    delete m_startCheck.data();
    for (const QPointer<QThread> &thread : std::as_const(m_hintThreads))
        if (thread)
            thread->wait();
}

void ThlavnyFrm::CreateControls() {
    VytvorHlavneOvladace(this, *this, DecSep());

    pohybLbl->installEventFilter(this);
    connect(minimalizovatImg, &TObrazok::clicked, this, &ThlavnyFrm::minimalizovatImgClick);
    connect(zavrietImg, &TObrazok::clicked, this, &QWidget::close);
    zavrietImg->installEventFilter(this);
    minimalizovatImg->installEventFilter(this);
    connect(nahladImg, &TObrazok::clicked, this, [this] { ShowExpressionPreview(InputText()); });
    nahladImg->installEventFilter(this);
    connect(vstupRdt, &TRiadkovyVstup::EnterPressed, this, [this] { BtnRovnaSa->click(); });
    connect(Shape1, &TTvar::Pressed, this, &ThlavnyFrm::Shape1MouseDown);
    ShowMemory(LabelPamat->text());
    PlaceErrorLabel(QString());

    UpDownModulo->OnChanging = [this](int newValue, bool up) { return UpDownModuloChangingEx(newValue, up); };
    connect(sbRealne, &QToolButton::clicked, this, [this] { Guarded([this] { sbRealneClick(); }); });
    connect(sbKomplexne, &QToolButton::clicked, this, [this] { Guarded([this] { sbKomplexneClick(); }); });
    connect(sbModulo, &QToolButton::clicked, this, [this] { Guarded([this] { sbModuloClick(); }); });
    for (QToolButton *b : {sbDeg, sbRad, sbGrad})
        connect(b, &QToolButton::clicked, this, [this] { Guarded([this] { sbDegClick(); }); });
    connect(sbHex, &QToolButton::clicked, this, [this] { Guarded([this] { sbHexClick(); }); });
    connect(sbDec, &QToolButton::clicked, this, [this] { Guarded([this] { sbDecClick(); }); });
    connect(sbOct, &QToolButton::clicked, this, [this] { Guarded([this] { sbOctClick(); }); });
    connect(sbBin, &QToolButton::clicked, this, [this] { Guarded([this] { sbBinClick(); }); });
    // After a mode click what is typed goes on into the input.
    for (QAbstractButton *b :
         std::initializer_list<QAbstractButton *>{sbRealne, sbKomplexne, sbModulo, sbDeg, sbRad, sbGrad, sbHex, sbDec,
                                                  sbOct, sbBin, CheckBoxHyp, CheckBoxZlomky})
        connect(b, &QAbstractButton::clicked, this, [this] { vstupRdt->setFocus(Qt::MouseFocusReason); });
    FitFixedWidth(StatusPanelHelp, 11, 8);

    connect(grafBtn, &QPushButton::clicked, this, [this] { grafBtnClick(); });
    connect(derivaciaBtn, &QPushButton::clicked, this, [this] { derivaciaBtnClick(); });
    connect(sumaBtn, &QPushButton::clicked, this, [this] { sumaBtnClick(); });
    connect(BtnRovnaSa, &QPushButton::clicked, this, [this] { BtnRovnaSaClick(); });
}

void ThlavnyFrm::FormCreate() {
    m_model.Ans = QStringLiteral("0");
    m_model.AnsRadix = 10;
    m_model.Radix = 10;
    KProgramSettings &s = KProgramSettings::Instance();

    nadpisLbl->setText(QStringLiteral("Tarbelon ") + QStringLiteral(TARBELON_VERSION));
    setWindowTitle(nadpisLbl->text());

    s.Load(&SettingsIni());
    m_menu->ShowSettings(s);
    PlaceOnScreen(s);
    setWindowFlag(Qt::WindowStaysOnTopHint, s.OnTop);
    if (s.SaveMemoryData)
        ShowMemory(s.Memory);

    LoadLanguageFile(s.LanguageFile); // a missing file keeps the built-in texts
    ApplyLanguage();

    m_userId = ReadOrCreateUserId(SettingsIni());
    TimerZaciatok = new QTimer(this);
    TimerZaciatok->setObjectName(QStringLiteral("TimerZaciatok"));
    TimerZaciatok->setSingleShot(true);
    TimerZaciatok->setInterval(1000);
    connect(TimerZaciatok, &QTimer::timeout, this, &ThlavnyFrm::TimerZaciatokTimer);
    TimerZaciatok->start();
    m_prvocisla.Clear();
    SetRoundRegion(11);

    // The modes as the keys show them at start.
    m_model.AngleUnit = TAngleUnit::Degrees;
    SyncModelWithControls();
    ApplyEnabling();
    vstupRdt->setFocus();
}

void ThlavnyFrm::PlaceOnScreen(const KProgramSettings &s) {
    QScreen *primary = QGuiApplication::primaryScreen();
    const QRect screen = primary ? primary->availableGeometry() : QRect(0, 0, 1024, 768);
    if (s.Center) {
        move(screen.center() - QPoint(width() / 2, height() / 2));
        return;
    }
    move(s.Left, s.Top);
    // The window has no frame: it is moved by its title strip, so that strip
    // must lie on some screen; otherwise the window comes to the middle of
    // the primary screen.
    const QRect title(s.Left, s.Top, width(), 24);
    for (QScreen *sc : QGuiApplication::screens()) {
        const QRect visible = sc->availableGeometry().intersected(title);
        if (visible.width() >= 20 && visible.height() >= 10)
            return;
    }
    move(screen.center() - QPoint(width() / 2, height() / 2));
}

void ThlavnyFrm::SetRoundRegion(int radius) {
    QPainterPath path;
    const qreal r = radius / 2.0;
    path.addRoundedRect(QRectF(0, 0, width() + 1, height()), r, r);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

// ---------------------------------------------------------------------------
// Texts

// The check boxes and the decimals caption take the width their texts need,
// the fractions and the decimals packed to the right against the decimals
// field, so that a longer caption of another language never runs into its
// neighbour.
void ThlavnyFrm::LayoutOptionsRow() {
    const int y = Label4->y();
    const int h = Label4->height();
    const int labelWidth = Label4->fontMetrics().horizontalAdvance(Label4->text()) + 2;
    Label4->setGeometry(EditDesM->x() - 2 - labelWidth, y, labelWidth, h);
    const int fractionsWidth = CheckBoxZlomky->sizeHint().width();
    CheckBoxZlomky->setGeometry(Label4->x() - 2 - fractionsWidth, y, fractionsWidth, h);
    CheckBoxHyp->resize(CheckBoxHyp->sizeHint().width(), CheckBoxHyp->height());
}

void ThlavnyFrm::ApplyLanguage() {
    BtnCiarka->setText(QString(DecSep()));
    m_texts.Reset();
    const std::shared_ptr<const TIniFile> language = LanguageIni();
    if (!language) {
        m_texts.LanguageCode = QStringLiteral("e1");
        return;
    }
    m_menu->ApplyLanguage();

    const QString window = QStringLiteral("MainWindow");
    TranslateText(CheckBoxHyp, window, QStringLiteral("Hyperbolic"));
    TranslateText(CheckBoxZlomky, window, QStringLiteral("Fractions"));
    TranslateText(Label4, window, QStringLiteral("Decimals"));
    TranslateText(BtnSpat, window, QStringLiteral("Back"));
    TranslateText(StatusPanelHelp, window, QStringLiteral("Help"));
    FitFixedWidth(StatusPanelHelp, 11, 8);
    TranslateText(BtnTG, window, QStringLiteral("btnTan"));
    TranslateText(BtnCotg, window, QStringLiteral("btnCotan"));
    TranslateText(Btnarctg, window, QStringLiteral("btnArctan"));
    TranslateText(BtnArccotg, window, QStringLiteral("btnArccot"));
    LayoutOptionsRow();
    const QString common = QStringLiteral("Common");
    auto item = [](QAction *a, const QString &section, const char *key) {
        a->setText(LanguageText(section, QLatin1String(key), a->text()));
    };
    item(vystrihnut1, common, "Cut");
    item(kopirovat1, common, "Copy");
    item(prilepit, common, "Paste");
    item(odstranit1, common, "Delete");
    item(Vybravetko1, common, "SelectAll");
    item(kopirovat2, common, "Copy");
    item(UlozitDoPamate2, window, "SaveToMemory");
    item(vybratVsetko, common, "SelectAll");

    m_texts.Apply(*language);

    // The hints follow off the main thread, from this file's own object.
    m_hintThreads.removeAll(QPointer<QThread>());
    if (QThread *thread =
            StartHintTranslation(language, this, [this](const THint &hint) { SetHint(hint.Control, hint.Text); }))
        m_hintThreads.append(thread);
}

void ThlavnyFrm::SetToolWindows(TToolWindowsLink *tools, TBrowserLink *browser) {
    m_tools = tools;
    m_browser = browser;
    if (m_tools)
        m_tools->Attach(this);
    if (m_browser)
        m_browser->Attach(this);
    m_menu->SetToolWindows(m_tools, m_browser);
}

bool ThlavnyFrm::ApplyLanguageToAllForms(const QString &fileName) {
    if (!LoadLanguageFile(fileName))
        return false;
    ApplyLanguage();
    m_companions.ApplyLanguage();
    if (m_tools)
        m_tools->ApplyLanguage();
    if (m_browser)
        m_browser->ApplyLanguage();
    KProgramSettings::Instance().LanguageFile = fileName;
    return true;
}

TpremenneFrm *ThlavnyFrm::Premenne() const { return m_companions.Get<TpremenneFrm>(TCompanion::Variables); }

ThistoriaFrm *ThlavnyFrm::Historia() const { return m_companions.Get<ThistoriaFrm>(TCompanion::History); }

void ThlavnyFrm::ShowExpressionPreview(const QString &text) {
    auto *preview = m_companions.Get<TnahladVyrazuFrm>(TCompanion::Preview);
    if (!preview)
        return;
    // The syntax check reports into the window's one error record.
    preview->SetExpression(ExpressionPreviewText(text, m_model.LastError));
    preview->show();
    preview->raise();
    preview->Redraw();
}

// ---------------------------------------------------------------------------
// The "=" road

void ThlavnyFrm::SyncModelWithControls() {
    TpremenneFrm *premenne = Premenne();
    m_model.Premenne = premenne ? &premenne->Model() : nullptr;
    TkonstantyFrm *konstanty = m_companions.Get<TkonstantyFrm>(TCompanion::Constants);
    m_model.Konstanty = konstanty ? &konstanty->Model() : nullptr;
    m_model.NumberSet = sbKomplexne->isChecked() ? TNumberSet::Complex
                        : sbModulo->isChecked()  ? TNumberSet::Modulo
                                                 : TNumberSet::Real;
    m_model.Fractions = CheckBoxZlomky->isChecked();
    // A number typed into the decimals field counts before the field is left.
    UpDownDesM->TakeAssociateText();
    m_model.Decimals = quint8(UpDownDesM->Position());
    m_model.Modulus = quint16(UpDownModulo->Position());
}

void ThlavnyFrm::BtnRovnaSaClick() {
    Guarded([this] {
        LblChyba->clear();
        SyncModelWithControls();
        const QString input = vstupRdt->Text();
        const TVysledokVypoctu out = m_model.Calculate(input);
        if (!out.Ok) {
            ShowError(m_model.LastError);
            if (out.ShowVariables)
                ShowVariablesWindow(input, QString());
            return;
        }
        ShowResult(out.Shown);
        AddToHistory();
    });
}

void ThlavnyFrm::Calculate() { BtnRovnaSa->click(); }

void ThlavnyFrm::AddMissingVariables(const QString &expression, const QString &excludedName) {
    Guarded([&] {
        SyncModelWithControls();
        m_model.AddMissingVariables(expression, excludedName);
    });
}

void ThlavnyFrm::ValidateVariableValues(const QString &expression, TChyba &err, const QString &excludedName,
                                        TKontrola mode) {
    SyncModelWithControls();
    m_model.ValidateVariableValues(expression, err, excludedName, mode);
}

void ThlavnyFrm::ShowResult(const QString &text) {
    LblChyba->clear();
    if (text.isEmpty()) {
        HideResult();
        return;
    }
    const QString shown = QStringLiteral("  ") + text;
    // The result takes the font that lets it fit, down to the smallest
    // readable one; a result wider than that scrolls.
    QFont font = vysledokEdt->font();
    int width = 0;
    for (int pixels = ResultFontPixels; pixels >= ResultMinFontPixels; --pixels) {
        font.setPixelSize(pixels);
        // The field's own margins come on top of the text's width.
        width = QFontMetrics(font).horizontalAdvance(shown) + 8;
        if (width <= ResultMaxWidth)
            break;
    }
    Label3->setFont(font);
    Label3->setText(shown);
    vysledokEdt->setFont(font);
    const bool scrolls = width > ResultMaxWidth;
    const int w = scrolls ? ResultMaxWidth : width;
    const int bar = scrolls ? vysledokScr->horizontalScrollBar()->sizeHint().height() : 0;
    vysledokScr->setHorizontalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    vysledokScr->setGeometry(ResultRightEdge - w, 82, w, 28);
    vysledokEdt->setGeometry(0, 0, width, 28 - bar);
    vysledokEdt->setText(shown);
    vysledokEdt->setCursorPosition(0);
    vysledokEdt->show();
    vysledokScr->show();
    // The beginning of the number first: its highest digits and its sign.
    vysledokScr->horizontalScrollBar()->setValue(0);
    Shape1->update();
}

void ThlavnyFrm::ShowMemory(const QString &text) {
    // Up to the left end of the widest result, which may be shown beside it.
    const int left = 30;
    FitLabel(LabelPamat, text, QRect(left, 81, ResultRightEdge - ResultMaxWidth - 4 - left, 30), false, 12, 8);
    if (!LblChyba->text().isEmpty())
        PlaceErrorLabel(LblChyba->text());
}

void ThlavnyFrm::PlaceErrorLabel(const QString &text) {
    const int left = LabelPamat->x() + LabelPamat->width() + 8;
    FitLabel(LblChyba, text, QRect(left, 81, ResultRightEdge - left, 30), true, 13, 9);
}

void ThlavnyFrm::HideResult() {
    vysledokEdt->hide();
    vysledokScr->hide();
    Shape1->update();
}

void ThlavnyFrm::AddToHistory() {
    vstupRdt->setFocus();
    vstupRdt->SelectAll();
    vstupRdt->SetSelectionPlain();
    vstupRdt->SelectAll();
    KProgramState::Instance().JustEvaluated = true;
    const QString input = vstupRdt->Text();
    const QString entry = HistoryEntry(input, vysledokEdt->text(), m_model.BuildVariableList(input));
    if (ThistoriaFrm *historia = Historia())
        historia->PridajDoHistorie(entry);
}

void ThlavnyFrm::ShowError(const TChyba &err) {
    const QString text = ErrorMessage(err);
    vstupRdt->SelectAll();
    vstupRdt->SetSelectionPlain();
    ShowResult(QString());
    PlaceErrorLabel(text);
    vstupRdt->setFocus();
    vstupRdt->SetCaret(int(vstupRdt->Text().size()));
    if (err.SpanEnd != 0)
        vstupRdt->Select(err.SpanStart, err.SpanEnd - err.SpanStart);
    else
        vstupRdt->SelectAll();
}

void ThlavnyFrm::Shape1MouseDown() { vysledokEdt->deselect(); }

void ThlavnyFrm::ShowVariablesWindow(const QString &expression, const QString &excludedName) {
    TpremenneFrm *premenne = Premenne();
    if (!premenne)
        return;
    QStringList names;
    Guarded([&] { CollectVariableNames(expression, m_model.Context(), names, excludedName); });
    GiveFormStyle(premenne);
    premenne->show();
    premenne->raise();
    premenne->activateWindow();
    premenne->FocusEditor(names);
}

void ThlavnyFrm::ActivateInput() {
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    vstupRdt->setFocus(Qt::OtherFocusReason);
}

void ThlavnyFrm::TakeResult(long double value) {
    Guarded([&] {
        SyncModelWithControls();
        QString shown;
        if (m_model.TakeRealResult(value, shown))
            ShowResult(shown);
        else
            ShowError(m_model.LastError);
    });
}

// ---------------------------------------------------------------------------
// The tool keys

bool ThlavnyFrm::PrepareToolExpression(quint8 emptyCode, QString &expression) {
    LblChyba->clear();
    SyncModelWithControls();
    if (m_model.PrepareToolExpression(vstupRdt->Text(), emptyCode, expression))
        return true;
    ShowError(m_model.LastError);
    return false;
}

void ThlavnyFrm::grafBtnClick() {
    Guarded([this] {
        QString e;
        if (!PrepareToolExpression(33, e))
            return;
        // x is the graph's own variable: it needs no value.
        const QString x = QStringLiteral("x");
        AddMissingVariables(e, x);
        ValidateVariableValues(e, m_model.LastError, x, TKontrola::Realne);
        if (m_model.LastError.Code == TErrorCode::MissingValue) {
            ShowError(m_model.LastError);
            ShowVariablesWindow(e, x);
            return;
        }
        if (m_tools)
            m_tools->ShowGraph(e);
    });
}

void ThlavnyFrm::derivaciaBtnClick() {
    Guarded([this] {
        QString e;
        if (!PrepareToolExpression(33, e))
            return;
        // The derivative is symbolic: no variable needs a value.
        if (m_tools)
            m_tools->ShowDerivatives(e);
    });
}

void ThlavnyFrm::sumaBtnClick() {
    Guarded([this] {
        QString e;
        if (!PrepareToolExpression(34, e))
            return;
        // The sum window checks the variables itself when it calculates.
        if (m_tools)
            m_tools->ShowSum(e);
    });
}

// ---------------------------------------------------------------------------
// Modes

void ThlavnyFrm::MarkDown(const QList<QToolButton *> &group) {
    for (QToolButton *b : group)
        SetBold(b, b->isChecked());
}

void ThlavnyFrm::ApplyEnabling() {
    SyncModelWithControls();
    const TNumberSet set = m_model.NumberSet;
    const quint8 radix = m_model.Radix;
    setUpdatesEnabled(false);
    for (QObject *child : children()) {
        auto *w = qobject_cast<QWidget *>(child);
        if (!w)
            continue;
        const QVariant tag = w->property(TagProperty);
        if (tag.isValid())
            w->setEnabled(IsEnabledForMode(tag.toInt(), set, radix));
    }
    UpDownModulo->setEnabled(set == TNumberSet::Modulo);
    setUpdatesEnabled(true);
    update();
}

void ThlavnyFrm::SwitchNumberSet(TNumberSet numberSet) {
    MarkDown({sbRealne, sbKomplexne, sbModulo});
    ApplyEnabling();
    m_model.NumberSet = numberSet;
    RepaintChildControls();
}

void ThlavnyFrm::SwitchBase(quint8 base) {
    MarkDown({sbHex, sbDec, sbOct, sbBin});
    SyncModelWithControls();
    // The model converts from the old base and takes the new one, unless
    // the input cannot be written in it: then the old base's key goes down
    // again.
    const TPrepnutieSustavy out = m_model.SwitchBase(base, vstupRdt->Text(), vysledokEdt->text());
    if (m_model.Radix != base) {
        const std::pair<quint8, QToolButton *> keys[] = {{16, sbHex}, {10, sbDec}, {8, sbOct}, {2, sbBin}};
        for (const auto &[radix, key] : keys)
            if (radix == m_model.Radix)
                key->setChecked(true);
        MarkDown({sbHex, sbDec, sbOct, sbBin});
    }
    ApplyEnabling();
    if (out.InputConverted)
        vstupRdt->SetText(out.Input);
    if (out.ResultConverted) {
        if (out.Result.isEmpty())
            vysledokEdt->clear();
        ShowResult(out.Result);
    }
    if (m_model.LastError.Failed())
        ShowError(m_model.LastError);
    RepaintChildControls();
}

void ThlavnyFrm::UpdateAngleUnit() {
    const QToolButton *keys[3] = {sbDeg, sbRad, sbGrad};
    for (quint8 unit = 0; unit < 3; ++unit) {
        auto *b = const_cast<QToolButton *>(keys[unit]);
        SetBold(b, b->isChecked());
        if (b->isChecked())
            m_model.AngleUnit = TAngleUnit(unit);
    }
}

bool ThlavnyFrm::UpDownModuloChangingEx(int newValue, bool up) {
    Guarded([&] {
        const quint16 position = StepModulus(m_prvocisla, quint16(UpDownModulo->Position()), newValue, up);
        const QSignalBlocker quiet(UpDownModulo);
        UpDownModulo->SetPosition(position);
        sbModulo->setText(QStringLiteral("Z (") + QString::number(position) + QLatin1Char(')'));
    });
    return false;
}

// ---------------------------------------------------------------------------
// Companions

QString ThlavnyFrm::InputText() const { return vstupRdt->Text(); }

void ThlavnyFrm::SetInputText(const QString &text) {
    Guarded([&] { vstupRdt->SetText(text); });
}

void ThlavnyFrm::SetBackEnabled(bool enabled) { BtnSpat->setEnabled(enabled); }

void ThlavnyFrm::UseExpression(const QString &text) {
    QString expression = text;
    const qsizetype eq = expression.indexOf(QLatin1Char('='));
    if (eq >= 0)
        expression.remove(0, eq + 1);
    AddMissingVariables(expression, QString());
    if (TpremenneFrm *premenne = Premenne()) {
        GiveFormStyle(premenne);
        premenne->show();
    }
    SetInputText(expression);
    show();
    raise();
    activateWindow();
}

void ThlavnyFrm::GiveFormStyle(QWidget *window) const {
    if (!window)
        return;
    SetStaysOnTop(window, KProgramSettings::Instance().OnTop);
}

// ---------------------------------------------------------------------------
// Moving and closing

bool ThlavnyFrm::eventFilter(QObject *watched, QEvent *event) {
    if (watched == vstupRdt) {
        if (event->type() == QEvent::KeyPress) {
            auto *e = static_cast<QKeyEvent *>(event);
            Guarded([&] { vstupRdtKeyDown(e->key(), e->modifiers()); });
            // Alt and Meta chords are the menus' and the desktop's keys,
            // never characters for the expression: one that no shortcut
            // took is dropped.
            if (e->modifiers() & (Qt::AltModifier | Qt::MetaModifier))
                return true;
            // Backspace, Enter, Tab and the control keys go on to the
            // input's own handling.
            return TypeIntoInput(e->text(), !e->modifiers().testFlag(Qt::KeypadModifier));
        }
        if (event->type() == QEvent::InputMethod) {
            // Dead keys, compose sequences and input methods commit their
            // characters here, not as key presses: they take the same rules.
            auto *e = static_cast<QInputMethodEvent *>(event);
            if (e->commitString().isEmpty() && e->replacementLength() == 0)
                return false; // only the text being composed, shown by the input
            // The composition goes on to the input without the commit; a
            // replacement of the text around the caret is not taken, since
            // the input's text changes only by the rules.
            QInputMethodEvent composing(e->preeditString(), e->attributes());
            QCoreApplication::sendEvent(vstupRdt, &composing);
            TypeIntoInput(e->commitString(), true);
            return true;
        }
        if (event->type() == QEvent::KeyRelease) {
            auto *e = static_cast<QKeyEvent *>(event);
            vstupRdtKeyUp(e->key(), e->modifiers());
        }
    } else if (watched == vstupRdt->viewport()) {
        // After the input has taken the release: a click into a selection
        // clears it only then.
        if (event->type() == QEvent::MouseButtonRelease)
            QMetaObject::invokeMethod(
                this, [this] { Guarded([this] { vstupRdtMouseUp(); }); }, Qt::QueuedConnection);
    } else if (watched == pohybLbl) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto *e = static_cast<QMouseEvent *>(event);
            if (e->button() == Qt::LeftButton)
                pohybLblMouseDown(e->position().toPoint());
        } else if (event->type() == QEvent::MouseMove) {
            auto *e = static_cast<QMouseEvent *>(event);
            if (e->buttons().testFlag(Qt::LeftButton))
                pohybLblMouseMove(e->position().toPoint());
        }
    } else if (watched == zavrietImg || watched == minimalizovatImg || watched == nahladImg) {
        TitlePictureEvent(static_cast<TObrazok *>(watched), event);
    }
    if (auto *control = qobject_cast<QWidget *>(watched); control && control->property(HintGroupProperty).isValid()) {
        const bool keyGroup = control->property(HintGroupProperty).toBool();
        if (event->type() == QEvent::Enter || (keyGroup && event->type() == QEvent::MouseMove)) {
            if (keyGroup)
                ZmenHint(control);
            else
                CheckBoxHypMouseEnter(control);
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool ThlavnyFrm::TypeIntoInput(const QString &text, bool mainKeyboard) {
    // A typed character never reaches the input itself: the key rules put it
    // in or drop it.
    bool typed = false;
    TypedOnMainKeyboard = mainKeyboard;
    Guarded([&] {
        for (QChar c : text)
            if (c.unicode() >= 32 && c.unicode() != 127) {
                typed = true;
                vstupRdtKeyPress(c);
            }
    });
    TypedOnMainKeyboard = false;
    return typed;
}

bool ThlavnyFrm::SaveAtClose() {
    KProgramSettings &s = KProgramSettings::Instance();
    bool ok = true;
    // Each write is tried on its own, so that one failure loses nothing else.
    try {
        s.Memory = LabelPamat->text();
        s.Top = y();
        s.Left = x();
        ok = s.Save(&SettingsIni()) && ok;
    } catch (...) {
        ok = false;
    }
    try {
        if (ThistoriaFrm *historia = Historia(); s.SaveHistory && historia)
            ok = historia->SaveHistoryFile() && ok;
    } catch (...) {
        ok = false;
    }
    try {
        // Constants changed and not yet written would be lost with the window.
        if (auto *konstanty = m_companions.Get<TkonstantyFrm>(TCompanion::Constants))
            ok = konstanty->SaveConstants() && ok;
    } catch (...) {
        ok = false;
    }
    try {
        ok = WriteUserId(SettingsIni(), m_userId) && ok;
    } catch (...) {
        ok = false;
    }
    if (!ok)
        ShowWarningBox(m_texts.msgError, m_texts.msgCouldntSaveSettings, this);
    return ok;
}

void ThlavnyFrm::minimalizovatImgClick() {
    // A window in a modal loop is left alone, since hiding it would end the
    // loop; while one runs, this picture cannot be clicked anyway.
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window != this && IsProgramWindow(window) && window->isVisible() &&
            window->windowModality() == Qt::NonModal) {
            m_hiddenByMinimise.append(window);
            window->hide();
        }
    showMinimized();
    // Without a window manager nothing takes the main window off the screen:
    // then the others come back too, rather than being lost.
    QTimer::singleShot(MinimiseCheckMs, this, [this] {
        if (isMinimized() && windowHandle() && windowHandle()->isExposed())
            showNormal();
    });
}

void ThlavnyFrm::RestoreHiddenWindows() {
    const QList<QPointer<QWidget>> hidden = std::exchange(m_hiddenByMinimise, {});
    // They come back over the main window, as they were, while the keyboard
    // stays with the main window that the desktop has just restored.
    for (const QPointer<QWidget> &window : hidden)
        if (window) {
            const bool quiet = window->testAttribute(Qt::WA_ShowWithoutActivating);
            window->setAttribute(Qt::WA_ShowWithoutActivating);
            window->show();
            window->setAttribute(Qt::WA_ShowWithoutActivating, quiet);
        }
}

void ThlavnyFrm::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        RestoreHiddenWindows();
}

void ThlavnyFrm::closeEvent(QCloseEvent *event) {
    if (!m_closed) {
        m_closed = true;
        SaveAtClose();
        QCoreApplication::quit();
    }
    event->accept();
}

// ---------------------------------------------------------------------------
// Title area

void ThlavnyFrm::pohybLblMouseDown(const QPoint &at) { m_dragFrom = at; }

void ThlavnyFrm::pohybLblMouseMove(const QPoint &at) {
    QScreen *primary = QGuiApplication::primaryScreen();
    const QRect screen = primary ? primary->virtualGeometry() : QRect(0, 0, 1024, 768);
    const QRect outer = frameGeometry();
    const QPoint target = DragPosition(outer, at - m_dragFrom, screen);
    if (target == outer.topLeft())
        return;
    MoveTouchingCompanions(outer, target, m_companions.Docked());
    move(target);
}

void ThlavnyFrm::TitlePictureEvent(TObrazok *picture, QEvent *event) {
    const bool close = picture == zavrietImg;
    // Only the close and minimise pictures have a highlighted look.
    const bool lights = picture != nahladImg;
    const char *const pressed = "stlaceny";
    switch (event->type()) {
    case QEvent::Enter:
        if (lights)
            picture->SetImage((close ? pomZavrietaAktImg : pomMinimalizovatAktImg)->Image());
        break;
    case QEvent::Leave:
        if (lights)
            picture->SetImage((close ? pomZavrietImg : pomMinimalizovatImg)->Image());
        break;
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && !picture->property(pressed).toBool()) {
            picture->setProperty(pressed, true);
            picture->move(picture->pos() + QPoint(1, 1));
        }
        break;
    case QEvent::MouseButtonRelease:
        if (picture->property(pressed).toBool()) {
            picture->setProperty(pressed, false);
            picture->move(picture->pos() - QPoint(1, 1));
        }
        break;
    default: break;
    }
}

void ThlavnyFrm::RepaintChildControls() {
    for (QObject *child : children())
        if (auto *w = qobject_cast<QWidget *>(child); w && !w->isWindow())
            w->repaint();
}

// ---------------------------------------------------------------------------
// Status-bar hints

void ThlavnyFrm::InstallHints() {
    // Controls that show their hint when the mouse enters them; the keys
    // show it also as the mouse moves over them.
    static const QStringList enterControls = {QStringLiteral("Shape1"),         QStringLiteral("LabelPamat"),
                                              QStringLiteral("nahladImg"),      QStringLiteral("CheckBoxHyp"),
                                              QStringLiteral("CheckBoxZlomky"), QStringLiteral("vstupRdt"),
                                              QStringLiteral("EditDesM"),       QStringLiteral("UpDownDesM"),
                                              QStringLiteral("UpDownModulo"),   QStringLiteral("vysledokEdt")};
    for (const THintRow &row : HintRows()) {
        const QString name = QLatin1String(row.Control);
        QWidget *control = findChild<QWidget *>(name);
        if (!control)
            continue;
        control->setStatusTip(QString::fromUtf8(row.BuiltIn));
        control->setProperty(HintGroupProperty, !enterControls.contains(name));
        control->installEventFilter(this);
    }
}

void ThlavnyFrm::SetHint(const QString &control, const QString &text) {
    QWidget *w = findChild<QWidget *>(control);
    if (!w)
        return;
    w->setStatusTip(text);
    // A language switch while the panel shows this control's hint: the new
    // language at once, not at the next move of the mouse.
    if (w == m_hintShown)
        ZmenHint(w);
}

void ThlavnyFrm::ZmenHint(QWidget *control) {
    if (!control)
        return;
    m_hintShown = control;
    StatusPanelHint->setText(QLatin1Char(' ') + control->statusTip());
}

void ThlavnyFrm::CheckBoxHypMouseEnter(QWidget *control) {
    // Every control bound to this handler is of a kind that shows a hint.
    ZmenHint(control);
}

void ThlavnyFrm::ObnovHint() {
    m_hintShown = nullptr;
    StatusPanelHint->clear();
}

void ThlavnyFrm::mouseMoveEvent(QMouseEvent *event) {
    // Only over the window's own background: a control under the mouse
    // that passed the move on keeps its hint.
    if (!childAt(event->position().toPoint()))
        ObnovHint();
    QWidget::mouseMoveEvent(event);
}

// ---------------------------------------------------------------------------
// Help menu and the update check

void ThlavnyFrm::ZobrazitNavodActExecute() {
    const QString path = ManualPath(ProgramDir(), m_texts.ManualFile);
    if (!path.isEmpty()) {
        OpenAddress(QUrl::fromLocalFile(path), this);
        return;
    }
    ShowWarningBox(m_texts.msgError, m_texts.msgCouldntFindManual, this);
}

TUpdateCheck *ThlavnyFrm::StartUpdateCheck(bool automatic) {
    auto *check = new TUpdateCheck(UpdateUrl(AppContext().UpdateInfoUrl, m_userId, m_texts.LanguageCode, automatic),
                                   UpdateTimeoutMs, this);
    connect(check, &TUpdateCheck::Finished, check, &QObject::deleteLater);
    return check;
}

bool ThlavnyFrm::UpdateCheckRunning() const {
    return (m_menuCheck && m_menuCheck->IsRunning()) || (m_startCheck && m_startCheck->IsRunning());
}

void ThlavnyFrm::ZistitNovsiuVerziuActExecute() {
    if (m_menuCheck && m_menuCheck->IsRunning())
        return; // the one already asked for answers
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_menuCheck = StartUpdateCheck(false);
    connect(m_menuCheck, &TUpdateCheck::Finished, this, [this](TUpdateResult result) {
        QApplication::restoreOverrideCursor();
        switch (result) {
        case TUpdateResult::Newer: OfferDownload(); break;
        case TUpdateResult::Latest: ShowInfoBox(m_texts.msgUpdateCheck, m_texts.msgUsingLatestVersion, this); break;
        case TUpdateResult::Failed: ShowWarningBox(m_texts.msgUpdateCheck, m_texts.msgUnableToFindUpdates, this); break;
        }
    });
    m_menuCheck->Start();
}

void ThlavnyFrm::TimerZaciatokTimer() {
    TimerZaciatok->stop();
    if (!KProgramSettings::Instance().CheckUpdatesAtStart || m_startCheck)
        return; // once per start
    m_startCheck = StartUpdateCheck(true);
    // Only a newer build is worth a word at start.
    connect(m_startCheck, &TUpdateCheck::Finished, this, [this](TUpdateResult result) {
        if (result == TUpdateResult::Newer)
            OfferDownload();
    });
    m_startCheck->Start();
}

void ThlavnyFrm::OfferDownload() {
    const TAnswer answer = AppContext().Prompter().Show(this, TMessageKind::InformationQuestion, m_texts.msgUpdateCheck,
                                                        m_texts.msgNewVersionFound);
    if (answer == TAnswer::Yes)
        OpenAddress(QUrl(m_texts.DownloadPage), this);
}
