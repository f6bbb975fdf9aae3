#include "uPrehliadacVyrazov.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>
#include <atomic>

static const QString kListBreak = QStringLiteral("\n\r");

QString JoinStrings(const QStringList &list, QChar sep) { return list.join(sep); }

QStringList SplitString(const QString &s, QChar sep) { return s.split(sep, Qt::KeepEmptyParts); }

QStringList MemoLines(const QString &text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    while (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

namespace {

// Runs work(0) .. work(count - 1) on a few threads and waits for them. Each
// library is a document of its own, so they can be parsed and freed side by
// side; a folder of many large libraries loads in a fraction of the time.
template <class F>
void ForEachInParallel(int count, const F &work) {
    const int threads = qMin(count, QThread::idealThreadCount());
    if (threads <= 1) {
        for (int i = 0; i < count; ++i)
            work(i);
        return;
    }
    QThreadPool pool;
    pool.setMaxThreadCount(threads);
    std::atomic<int> next{0};
    for (int t = 0; t < threads; ++t)
        pool.start([&] {
            for (int i = next++; i < count; i = next++)
                work(i);
        });
    pool.waitForDone();
}

// True when node is ancestor itself or lies in its subtree.
bool IsSelfOrDescendant(const QDomElement &node, const QDomElement &ancestor) {
    if (node.isNull() || ancestor.isNull())
        return false;
    for (QDomNode n = node; !n.isNull(); n = n.parentNode())
        if (n == ancestor)
            return true;
    return false;
}

// The position of node among its parent's children (0-based), -1 without a
// parent.
int ChildIndex(const QDomNode &node) {
    const QDomNode parent = node.parentNode();
    if (parent.isNull())
        return -1;
    int index = 0;
    for (QDomNode n = parent.firstChild(); !n.isNull(); n = n.nextSibling(), ++index)
        if (n == node)
            return index;
    return -1;
}

// Frees libraries that nothing refers to any more on a worker thread, so
// that a reload does not wait for the old documents to be taken apart.
void FreeInBackground(std::vector<std::unique_ptr<TKniznicaVyrazov>> &&libraries) {
    if (libraries.empty())
        return;
    auto doomed = std::make_shared<std::vector<std::unique_ptr<TKniznicaVyrazov>>>(std::move(libraries));
    QThreadPool::globalInstance()->start([doomed] { doomed->clear(); });
}

} // namespace

KExpressionViewer::KExpressionViewer() = default;

KExpressionViewer::~KExpressionViewer() { Clear(); }

void KExpressionViewer::Clear() {
    std::vector<std::unique_ptr<TKniznicaVyrazov>> old;
    old.swap(m_libraries);
    ForEachInParallel(int(old.size()), [&](int i) { old[size_t(i)].reset(); });
}

void KExpressionViewer::LoadFolder(const QString &folder, QString &errors) {
    FreeInBackground(std::move(m_libraries));
    m_libraries.clear();
    errors.clear();
    QString path = QDir::fromNativeSeparators(folder);
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    // Every kind of entry is listed, so that a folder named "*.xml" is
    // reported rather than passed over.
    const QDir dir(path);
    const QStringList names = dir.entryList(
        {QStringLiteral("*.xml")}, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDir::Name | QDir::IgnoreCase);
    std::vector<std::unique_ptr<TKniznicaVyrazov>> loaded(size_t(names.size()));
    std::vector<char> ok(size_t(names.size()), 0);
    ForEachInParallel(int(names.size()), [&](int i) {
        loaded[size_t(i)] = std::make_unique<TKniznicaVyrazov>();
        ok[size_t(i)] = loaded[size_t(i)]->LoadFromFile(path + names.at(i));
    });
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (ok[size_t(i)])
            m_libraries.push_back(std::move(loaded[size_t(i)]));
        else
            errors += kListBreak + names.at(i);
    }
}

bool KExpressionViewer::AnyModified() const {
    for (const auto &library : m_libraries)
        if (library->Modified)
            return true;
    return false;
}

QString KExpressionViewer::GetModifiedList() const {
    QString s;
    for (const auto &library : m_libraries) {
        if (!library->Modified)
            continue;
        TInfoKniznice info;
        library->GetLibraryInfo(info);
        s += kListBreak + QStringLiteral("- ") + info.Name;
    }
    return s;
}

TKniznicaVyrazov *KExpressionViewer::AddLibrary(const TInfoKniznice &info) {
    m_libraries.push_back(std::make_unique<TKniznicaVyrazov>());
    TKniznicaVyrazov *library = m_libraries.back().get();
    library->CreateNew(info);
    return library;
}

QString KExpressionViewer::SaveAll() {
    QString failures;
    for (const auto &library : m_libraries) {
        const TWriteResult result = library->Save();
        if (result.Ok)
            continue;
        TInfoKniznice info;
        library->GetLibraryInfo(info);
        const QString file = library->DeleteOnSave ? library->StoredPath() : library->FileName;
        failures += kListBreak + QStringLiteral("- ") + info.Name + QStringLiteral(" (") +
                    QDir::toNativeSeparators(file) + QStringLiteral("): ") + result.Error;
    }
    return failures;
}

// ---------------------------------------------------------------------------

TEditEnabling EditEnabling(bool selected, TNodeKind kind) {
    TEditEnabling e;
    if (!selected)
        return e;
    e.Delete = true;
    e.NewChild = kind != ExpressionKind;
    e.Rename = kind != ExpressionKind;
    e.Modify = kind != CategoryKind;
    return e;
}

bool CanDropOn(const QDomElement &dragged, const QDomElement &target, bool shift) {
    if (dragged.isNull() || target.isNull())
        return false;
    if (IsSelfOrDescendant(target, dragged))
        return false;
    if (TKniznicaVyrazov::GetNodeKind(dragged) == LibraryKind)
        return false;
    const TNodeKind kind = TKniznicaVyrazov::GetNodeKind(target);
    const bool into = !shift && (kind == LibraryKind || kind == CategoryKind);
    if (!FitsUnder(into ? QDomNode(target) : target.parentNode(), SubtreeHeight(dragged)))
        return false;
    if (shift)
        return kind != LibraryKind && !target.parentNode().isNull();
    return kind != OtherKind;
}

QDomElement MoveElement(const QDomElement &dragged, TKniznicaVyrazov &from, const QDomElement &target,
                        TKniznicaVyrazov &to, bool shift, TDropPlace &place) {
    if (!CanDropOn(dragged, target, shift))
        return QDomElement();
    const TNodeKind kind = TKniznicaVyrazov::GetNodeKind(target);
    const QDomElement clone = dragged.cloneNode(true).toElement();
    QDomElement moved;
    if (!shift && (kind == LibraryKind || kind == CategoryKind)) {
        // Into the target, after its first child: a library's description
        // stays its first child.
        moved = to.InsertNode(target, clone, 1);
        place = TDropPlace::Into;
    } else {
        moved = to.InsertNode(target.parentNode().toElement(), clone, ChildIndex(target));
        place = TDropPlace::Before;
    }
    from.DeleteNode(dragged);
    return moved;
}

TPasteResult PasteBefore(const KNodeClipboard &clipboard, const QDomElement &target, TKniznicaVyrazov &library,
                         QDomElement &pasted) {
    pasted = QDomElement();
    if (clipboard.IsEmpty() || target.isNull())
        return TPasteResult::Nothing;
    const bool copyIsLibrary = clipboard.CopiedTagName() == QLatin1String("library");
    const bool targetIsLibrary = TKniznicaVyrazov::GetNodeKind(target) == LibraryKind;
    if (copyIsLibrary)
        return targetIsLibrary ? TPasteResult::Nothing : TPasteResult::Refused;
    if (targetIsLibrary || target.parentNode().isNull() || !FitsUnder(target.parentNode(), clipboard.CopiedHeight()))
        return TPasteResult::Refused;
    const QDomElement clone = clipboard.GetCopy(library.Document);
    if (clone.isNull())
        return TPasteResult::Nothing;
    pasted = library.InsertNode(target.parentNode().toElement(), clone, ChildIndex(target));
    return TPasteResult::Inserted;
}
