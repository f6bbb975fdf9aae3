// One expression library: an XML file with a header, nested categories and
// named expressions with their notation, description and variable notes.
//
//   <library name=".." version=".." date=".." author=".." author-web=".." author-email="..">
//     <desc>line|line</desc>
//     <category name="..">
//       <expr name=".." notation="..">
//         <desc>..</desc>
//         <var name="x" description=".."/>
//       </expr>
//     </category>
//   </library>
//
// The file is parsed with QtXml and held as a QDomDocument; every change of
// the browser goes through the operations here and stays in memory until
// Save. Saving writes the document with our own walk, so that attributes
// keep their fixed order and the output is always well-formed UTF-8. The
// unit has no window and shows no message.
#pragma once

#include "uTextCodec.h"

#include <QDomDocument>
#include <QDomElement>
#include <QString>
#include <QStringList>

// The kind of an element, by its name (compared case-sensitively).
enum TNodeKind : quint8 {
    LibraryKind = 0,    // "library"
    CategoryKind = 1,   // "category"
    ExpressionKind = 2, // "expr"
    OtherKind = 3,      // any other name
};

// The deepest nesting of elements a library may have, the root counting as
// the first level. A deeper file is refused when it is loaded, and no edit
// makes one: Qt's DOM takes nested elements apart recursively and grows
// slow with depth, so a file of thousands of levels would hang or crash the
// program, and one the browser saved would not load again.
constexpr int kMaxLibraryDepth = 256;

// The level of node in its document: 1 for the root, 0 for a null node or
// one outside any element.
int ElementDepth(const QDomNode &node);
// The levels that element and its descendant elements span: 1 for an
// element without child elements, 0 for a null one; an "expr" spans at
// least 2, room for the description and variables an edit may give it.
int SubtreeHeight(const QDomElement &element);
// Whether a subtree of the given height may become a child of parent.
inline bool FitsUnder(const QDomNode &parent, int height) { return ElementDepth(parent) + height <= kMaxLibraryDepth; }

// The library header as the browser and the library dialog exchange it.
struct TInfoKniznice {
    QString Name;
    QString FileName; // full path of the file; not stored in the file
    QString Version;
    QString Date;
    QString Author;
    QString AuthorWeb;
    QString AuthorEmail;
    QString Description; // lines joined with "|"
};

class TKniznicaVyrazov {
public:
    TKniznicaVyrazov();

    QDomDocument Document;
    // Unsaved changes exist.
    bool Modified = false;
    // The next save deletes the library's file instead of writing it.
    bool DeleteOnSave = false;
    // Full path of the file that the next save writes.
    QString FileName;

    // The root element; null for an empty document.
    QDomElement GetRoot() const { return Document.documentElement(); }

    // Parses the file; true only when it is well-formed XML whose root is
    // "library" and whose elements nest no deeper than kMaxLibraryDepth.
    // The library is clean afterwards.
    bool LoadFromFile(const QString &path);
    // Replaces the document by one holding only a root filled from info;
    // the library is modified (a new library is written at the next save).
    void CreateNew(const TInfoKniznice &info);
    // The header; a missing attribute leaves the field as info had it.
    void GetLibraryInfo(TInfoKniznice &info) const;
    // Writes info into the root and FileName.
    void SetLibraryInfo(const TInfoKniznice &info);

    // Reads one "expr": its name and notation, its description and its
    // variables as "name=description" lines. For another element only the
    // outputs other than name are cleared.
    void ReadExpression(const QDomElement &node, QString &name, QString &notation, QString &desc,
                        QStringList &vars) const;
    // A new element that would nest deeper than kMaxLibraryDepth is not
    // added: newNode is null and nothing changes.
    void AddCategory(QDomElement parent, const QString &name, QDomElement &newNode);
    // Vars are "name=description" lines; a line that is exactly "=" (an
    // empty row of a value list) is skipped.
    void AddExpression(QDomElement parent, const QString &name, const QString &notation, const QString &desc,
                       const QStringList &vars, QDomElement &newNode);
    // Rewrites an "expr" (anything else is left alone); its "desc" stays
    // before its "var" children.
    void ModifyExpression(QDomElement node, const QString &name, const QString &notation, const QString &desc,
                          const QStringList &vars);
    void RenameNode(QDomElement node, const QString &name);
    // Removes the element with its subtree; the root is never removed.
    void DeleteNode(QDomElement node);
    // Inserts node into parent's children at index (0-based; appended when
    // index is past the end). A node of another document is imported as a
    // deep copy; the inserted element is returned. A node that would nest
    // deeper than kMaxLibraryDepth is not inserted (null is returned).
    QDomElement InsertNode(QDomElement parent, const QDomElement &node, int index);
    void SetDeleteOnSave(bool value);

    static TNodeKind GetNodeKind(const QDomElement &node);

    // When modified: deletes the file the library was last loaded from or
    // saved to (when marked for deletion), or writes the document to
    // FileName. A failure is reported and leaves the library modified.
    TWriteResult Save();

    // The bytes that Save writes.
    QByteArray ToXml() const;

    // The file the library was last loaded from or saved to; empty for a
    // library that exists only in memory.
    const QString &StoredPath() const { return m_storedPath; }

private:
    QString m_storedPath;
};

// The XML text of one element and its subtree, as Save writes it (no
// declaration).
QByteArray ElementToXml(const QDomElement &element);

// The browser's own clipboard of elements. It keeps the copied element as
// text, so a copy never depends on the document it came from: it can be
// pasted after that document is gone, any number of times.
class KNodeClipboard {
public:
    void Copy(const QDomElement &node);
    // A new deep copy of the stored element, owned by the document into
    // (null when the clipboard is empty).
    QDomElement GetCopy(QDomDocument &into) const;
    bool IsEmpty() const { return m_xml.isEmpty(); }
    void Clear() { m_xml.clear(); }
    // The name of the stored element ("library", "expr", ...).
    QString CopiedTagName() const { return m_tagName; }
    // The levels the stored element spans (see SubtreeHeight).
    int CopiedHeight() const { return m_height; }

private:
    QByteArray m_xml;
    QString m_tagName;
    int m_height = 0;
};
