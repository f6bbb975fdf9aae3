#include "uAppContext.h"

#include "uAktualizacia.h"
#include "uIniFile.h"
#include "uQtPreklady.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QMutexLocker>
#include <QThread>

TAnswer TMessageBoxPrompter::Show(QWidget *parent, TMessageKind kind, const QString &caption, const QString &text) {
    QMessageBox box(parent);
    box.setWindowTitle(caption);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    switch (kind) {
    case TMessageKind::Warning:
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case TMessageKind::Information:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case TMessageKind::Question:
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case TMessageKind::InformationQuestion:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case TMessageKind::QuestionWithCancel:
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return TAnswer::Yes;
    case QMessageBox::No: return TAnswer::No;
    case QMessageBox::Cancel: return TAnswer::Cancel;
    default:
        return kind == TMessageKind::Question || kind == TMessageKind::InformationQuestion ? TAnswer::No
               : kind == TMessageKind::QuestionWithCancel                                  ? TAnswer::Cancel
                                                                                           : TAnswer::Ok;
    }
}

TAnswer TRecordingPrompter::Show(QWidget *, TMessageKind kind, const QString &caption, const QString &text) {
    Shown.append({kind, caption, text});
    if (kind == TMessageKind::Warning || kind == TMessageKind::Information)
        return TAnswer::Ok;
    if (!Answers.isEmpty())
        return Answers.takeFirst();
    return DefaultAnswer;
}

// ---------------------------------------------------------------------------

static QString RunFileDialog(QWidget *parent, const TFileDialogRequest &request, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.Title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(request.Filter);
    dialog.setDefaultSuffix(request.DefaultSuffix);
    if (!request.FileName.isEmpty())
        dialog.selectFile(request.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

TAppContext::TAppContext() { Reset(); }

TAppContext::~TAppContext() = default;

void TAppContext::Reset(const QString &programDir) {
    QString dir = programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir;
    if (dir.isEmpty())
        dir = QDir::currentPath();
    dir = QDir::fromNativeSeparators(dir);
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    ProgramDir = dir;

    UtcNow = [] { return QDateTime::currentDateTimeUtc(); };
    KeyDown = [](int virtualKey) {
        const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
        switch (virtualKey) {
        case VK_SHIFT: return mods.testFlag(Qt::ShiftModifier);
        case VK_CONTROL: return mods.testFlag(Qt::ControlModifier);
        case VK_MENU: return mods.testFlag(Qt::AltModifier);
        default: return false;
        }
    };
    SaveFileName = [](QWidget *parent, const TFileDialogRequest &r) {
        return RunFileDialog(parent, r, QFileDialog::AcceptSave);
    };
    OpenFileName = [](QWidget *parent, const TFileDialogRequest &r) {
        return RunFileDialog(parent, r, QFileDialog::AcceptOpen);
    };
    OpenUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    UpdateInfoUrl = QUrl(QLatin1String(UpdateInfoAddress));
    Beep = [] { QApplication::beep(); };
    QtTranslationsDir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    m_prompter = std::make_unique<TMessageBoxPrompter>();
    m_settingsIni = std::make_unique<TIniFile>(ProgramDir + QStringLiteral("settings.ini"));
    SetLanguageIni(nullptr);
}

TRecordingPrompter &TAppContext::UseRecordingPrompter() {
    auto recording = std::make_unique<TRecordingPrompter>();
    TRecordingPrompter &ref = *recording;
    m_prompter = std::move(recording);
    return ref;
}

std::shared_ptr<const TIniFile> TAppContext::LanguageIni() const {
    QMutexLocker lock(&m_languageLock);
    return m_languageIni;
}

void TAppContext::SetLanguageIni(std::shared_ptr<const TIniFile> ini) {
    // Translators belong to the application's thread (and need the
    // application, which the first context is made before).
    const QCoreApplication *app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread())
        UseQtTexts(QtTextsLanguage(ini.get(), QtTranslationsDir), QtTranslationsDir);
    QMutexLocker lock(&m_languageLock);
    m_languageIni = std::move(ini);
}

TAppContext &AppContext() {
    static TAppContext context;
    return context;
}

QChar SystemDecimalSeparator() {
    const QString sep = QLocale::system().decimalPoint();
    return sep == QLatin1String(",") ? QLatin1Char(',') : QLatin1Char('.');
}

namespace {
QChar &ProgramSeparator() {
    static QChar separator = SystemDecimalSeparator();
    return separator;
}
} // namespace

QChar DecSep() { return ProgramSeparator(); }
void SetDecSep(QChar separator) { ProgramSeparator() = separator; }
