#include "uKniznica.h"

#include "uPremenne.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <vector>

namespace {

const QString kLibrary = QStringLiteral("library");
const QString kCategory = QStringLiteral("category");
const QString kExpr = QStringLiteral("expr");
const QString kVar = QStringLiteral("var");
const QString kDesc = QStringLiteral("desc");
const QString kName = QStringLiteral("name");
const QString kNotation = QStringLiteral("notation");
const QString kDescription = QStringLiteral("description");
const QString kVersion = QStringLiteral("version");
const QString kDate = QStringLiteral("date");
const QString kAuthor = QStringLiteral("author");
const QString kAuthorWeb = QStringLiteral("author-web");
const QString kAuthorEmail = QStringLiteral("author-email");

// Replaces the element's content by one text (none when text is empty).
void SetElementText(QDomElement element, const QString &text) {
    while (!element.firstChild().isNull())
        element.removeChild(element.firstChild());
    if (!text.isEmpty())
        element.appendChild(element.ownerDocument().createTextNode(text));
}

// The text of owner's description: an existing description element takes
// it; a new one is made only for a text that is not empty, as owner's first
// child or else as its last.
void SetDescription(QDomElement owner, const QString &text, bool asFirstChild) {
    QDomElement desc = owner.firstChildElement(kDesc);
    if (desc.isNull()) {
        if (text.isEmpty())
            return;
        desc = owner.ownerDocument().createElement(kDesc);
        if (asFirstChild)
            owner.insertBefore(desc, owner.firstChild());
        else
            owner.appendChild(desc);
    }
    SetElementText(desc, text);
}

void AppendVariables(QDomDocument &document, QDomElement expr, const QStringList &vars) {
    for (const QString &line : vars) {
        if (line == QLatin1String("="))
            continue; // an empty row of the value list
        // A "name=description" line of a value list.
        QString name, description;
        TPremenne::SplitLine(line, name, description);
        QDomElement var = document.createElement(kVar);
        var.setAttribute(kName, name);
        var.setAttribute(kDescription, description);
        expr.appendChild(var);
    }
}

// The characters XML 1.0 cannot carry (C0 controls other than tab, line
// feed and carriage return, U+FFFE, U+FFFF, lone surrogates) are dropped:
// written as they are they would make the whole file unreadable.
QString XmlSafe(const QString &text) {
    auto bad = [](const QString &s, qsizetype i) {
        const char16_t c = s.at(i).unicode();
        if (c < 0x20)
            return c != 0x09 && c != 0x0A && c != 0x0D;
        if (c == 0xFFFE || c == 0xFFFF)
            return true;
        if (QChar::isHighSurrogate(c))
            return i + 1 >= s.size() || !QChar::isLowSurrogate(s.at(i + 1).unicode());
        if (QChar::isLowSurrogate(c))
            return i == 0 || !QChar::isHighSurrogate(s.at(i - 1).unicode());
        return false;
    };
    qsizetype i = 0;
    while (i < text.size() && !bad(text, i))
        ++i;
    if (i == text.size())
        return text;
    QString out = text.left(i);
    for (; i < text.size(); ++i)
        if (!bad(text, i))
            out.append(text.at(i));
    return out;
}

// The attributes of the known elements in the order they are written; any
// other attribute follows them, sorted by name.
const QStringList &AttributeOrder(const QString &tag) {
    static const QStringList library{kName, kVersion, kDate, kAuthor, kAuthorWeb, kAuthorEmail};
    static const QStringList expr{kName, kNotation};
    static const QStringList var{kName, kDescription};
    static const QStringList named{kName};
    if (tag == kLibrary)
        return library;
    if (tag == kExpr)
        return expr;
    if (tag == kVar)
        return var;
    return named;
}

// Writes a document or one element with its subtree. The walk keeps its own
// stack of open nodes instead of recursing, so that the depth of a library
// never reaches the depth of the call stack.
class TLibraryWriter {
public:
    explicit TLibraryWriter(QByteArray *out) : m_w(out) {
        m_w.setAutoFormatting(true);
        m_w.setAutoFormattingIndent(2);
    }

    void WriteDocument(const QDomDocument &document) {
        m_w.writeStartDocument();
        for (QDomNode n = document.firstChild(); !n.isNull(); n = n.nextSibling())
            WriteTree(n);
        m_w.writeEndDocument();
    }

    void WriteTree(const QDomNode &top) {
        m_open.clear();
        Begin(top);
        while (!m_open.empty()) {
            TOpenNode &open = m_open.back();
            QDomNode child;
            if (!open.First.isNull()) {
                child = open.First;
                open.First = QDomNode();
            } else {
                if (open.Next == open.Skip)
                    open.Next = open.Next.nextSibling();
                child = open.Next;
                if (!child.isNull())
                    open.Next = child.nextSibling();
            }
            if (!child.isNull()) {
                Begin(child); // may push: open is not used after this
                continue;
            }
            if (open.IsElement)
                m_w.writeEndElement();
            m_open.pop_back();
        }
    }

private:
    // An element or entity reference whose children are being written.
    struct TOpenNode {
        QDomNode Next;  // the next child in document order
        QDomNode First; // a child written before all others (a library's description)
        QDomNode Skip;  // that child again, not written a second time
        bool IsElement; // an end tag closes it
    };

    // Writes a node that has no children to walk, or opens one that has.
    void Begin(const QDomNode &node) {
        switch (node.nodeType()) {
        case QDomNode::ElementNode: {
            const QDomElement element = node.toElement();
            WriteStartTag(element);
            TOpenNode open{element.firstChild(), QDomNode(), QDomNode(), true};
            // A library's description is its first child.
            if (element.tagName() == kLibrary)
                open.First = open.Skip = element.firstChildElement(kDesc);
            m_open.push_back(open);
            break;
        }
        case QDomNode::TextNode:
        case QDomNode::CDATASectionNode: WriteText(node.nodeValue()); break;
        case QDomNode::CommentNode: {
            // "--" may not stand in a comment, nor "-" at its end.
            QString text = XmlSafe(node.nodeValue());
            while (text.contains(QLatin1String("--")))
                text.replace(QLatin1String("--"), QLatin1String("- -"));
            if (text.endsWith(QLatin1Char('-')))
                text.append(QLatin1Char(' '));
            m_w.writeComment(text);
            break;
        }
        case QDomNode::ProcessingInstructionNode: {
            // The declaration is our own: a file read with another encoding
            // is written in UTF-8 and must not claim otherwise.
            const QDomProcessingInstruction pi = node.toProcessingInstruction();
            if (pi.target().compare(QLatin1String("xml"), Qt::CaseInsensitive) != 0)
                m_w.writeProcessingInstruction(pi.target(),
                                               XmlSafe(pi.data()).replace(QLatin1String("?>"), QLatin1String("? >")));
            break;
        }
        case QDomNode::EntityReferenceNode: m_open.push_back({node.firstChild(), QDomNode(), QDomNode(), false}); break;
        default: break; // document type and the like: not part of a library
        }
    }

    void WriteStartTag(const QDomElement &element) {
        const QString tag = element.tagName();
        m_w.writeStartElement(tag);
        const QStringList &order = AttributeOrder(tag);
        for (const QString &name : order)
            if (element.hasAttribute(name))
                m_w.writeAttribute(name, XmlSafe(element.attribute(name)));
        const QDomNamedNodeMap attributes = element.attributes();
        QStringList others;
        for (int i = 0; i < attributes.count(); ++i) {
            const QString name = attributes.item(i).nodeName();
            if (!order.contains(name))
                others.append(name);
        }
        others.sort();
        for (const QString &name : std::as_const(others))
            m_w.writeAttribute(name, XmlSafe(element.attribute(name)));
    }

    // A carriage return is written as a reference, since a parser turns a
    // literal one into a line feed.
    void WriteText(const QString &raw) {
        const QString text = XmlSafe(raw);
        const QStringList parts = text.split(QLatin1Char('\r'));
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i > 0)
                m_w.writeEntityReference(QStringLiteral("#13"));
            if (!parts.at(i).isEmpty())
                m_w.writeCharacters(parts.at(i));
        }
    }

    QXmlStreamWriter m_w;
    std::vector<TOpenNode> m_open;
};

// Whether the XML nests elements deeper than kMaxLibraryDepth. A streaming
// read stops at the first level too many, before the DOM is built.
template <class Text>
bool NestsTooDeep(const Text &xml) {
    QXmlStreamReader reader(xml);
    int depth = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++depth > kMaxLibraryDepth)
                return true;
            break;
        case QXmlStreamReader::EndElement: --depth; break;
        default: break;
        }
    }
    return false;
}

// The encoding an XML declaration at the start of bytes names, or empty.
QByteArray DeclaredEncoding(const QByteArray &bytes) {
    static const QRegularExpression declaration(
        QStringLiteral(R"(^\s*<\?xml[^>]*\bencoding\s*=\s*["']([A-Za-z0-9._:-]+)["'])"));
    const QRegularExpressionMatch m = declaration.match(QString::fromLatin1(bytes.left(256)));
    return m.hasMatch() ? m.captured(1).toLatin1() : QByteArray();
}

} // namespace

int ElementDepth(const QDomNode &node) {
    int depth = 0;
    for (QDomNode n = node; !n.isNull() && n.isElement(); n = n.parentNode())
        ++depth;
    return depth;
}

int SubtreeHeight(const QDomElement &element) {
    // Depth first without recursion: from each element to its first child
    // element, else to the next sibling of it or of the nearest ancestor
    // that has one.
    if (element.isNull())
        return 0;
    int height = 1, depth = 1;
    QDomElement e = element;
    for (;;) {
        // An expression keeps a level for the description and variables
        // that an edit may give it.
        if (e.tagName() == kExpr)
            height = qMax(height, depth + 1);
        const QDomElement child = e.firstChildElement();
        if (!child.isNull()) {
            e = child;
            height = qMax(height, ++depth);
            continue;
        }
        while (e != element && e.nextSiblingElement().isNull()) {
            e = e.parentNode().toElement();
            --depth;
        }
        if (e == element)
            return height;
        e = e.nextSiblingElement();
    }
}

TKniznicaVyrazov::TKniznicaVyrazov() = default;

bool TKniznicaVyrazov::LoadFromFile(const QString &path) {
    FileName = path;
    Modified = false;
    Document = QDomDocument();
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    bool parsed;
    const QByteArray encoding = DeclaredEncoding(bytes);
    if (!encoding.isEmpty() && !QStringDecoder(encoding.constData()).isValid()) {
        // An encoding the parser does not know: read the bytes as the
        // program's other text files are read (UTF-8, else Windows-1250).
        const QString text = DecodeFileText(bytes);
        parsed = !NestsTooDeep(text) && bool(Document.setContent(text));
    } else {
        parsed = !NestsTooDeep(bytes) && bool(Document.setContent(bytes));
    }
    if (!parsed || GetRoot().tagName() != kLibrary) {
        Document = QDomDocument();
        return false;
    }
    m_storedPath = path;
    return true;
}

void TKniznicaVyrazov::CreateNew(const TInfoKniznice &info) {
    Document = QDomDocument();
    SetLibraryInfo(info); // makes the root of the empty document
}

void TKniznicaVyrazov::GetLibraryInfo(TInfoKniznice &info) const {
    const QDomElement root = GetRoot();
    info.Name = root.attribute(kName); // a root without a name reads as empty
    info.FileName = FileName;
    const struct {
        const QString &attribute;
        QString TInfoKniznice::*field;
    } optional[] = {{kVersion, &TInfoKniznice::Version},
                    {kAuthor, &TInfoKniznice::Author},
                    {kAuthorWeb, &TInfoKniznice::AuthorWeb},
                    {kAuthorEmail, &TInfoKniznice::AuthorEmail},
                    {kDate, &TInfoKniznice::Date}};
    for (const auto &o : optional)
        if (root.hasAttribute(o.attribute))
            info.*o.field = root.attribute(o.attribute);
    info.Description = root.firstChildElement(kDesc).text();
}

void TKniznicaVyrazov::SetLibraryInfo(const TInfoKniznice &info) {
    QDomElement root = GetRoot();
    if (root.isNull()) {
        root = Document.createElement(kLibrary);
        Document.appendChild(root);
    }
    root.setAttribute(kName, info.Name);
    FileName = info.FileName;
    root.setAttribute(kVersion, info.Version);
    root.setAttribute(kDate, info.Date);
    root.setAttribute(kAuthor, info.Author);
    root.setAttribute(kAuthorWeb, info.AuthorWeb);
    root.setAttribute(kAuthorEmail, info.AuthorEmail);
    SetDescription(root, info.Description, true);
    Modified = true;
}

void TKniznicaVyrazov::ReadExpression(const QDomElement &node, QString &name, QString &notation, QString &desc,
                                      QStringList &vars) const {
    notation.clear();
    desc.clear();
    vars.clear();
    if (node.tagName() != kExpr)
        return;
    name = node.attribute(kName);
    notation = node.attribute(kNotation);
    for (QDomElement child = node.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
        if (child.tagName() == kVar)
            vars.append(child.attribute(kName) + QLatin1Char('=') + child.attribute(kDescription));
        else if (child.tagName() == kDesc)
            desc = child.text();
    }
}

void TKniznicaVyrazov::AddCategory(QDomElement parent, const QString &name, QDomElement &newNode) {
    newNode = QDomElement();
    if (parent.isNull() || !FitsUnder(parent, 1))
        return;
    QDomElement category = Document.createElement(kCategory);
    category.setAttribute(kName, name);
    parent.appendChild(category);
    Modified = true;
    newNode = category;
}

void TKniznicaVyrazov::AddExpression(QDomElement parent, const QString &name, const QString &notation,
                                     const QString &desc, const QStringList &vars, QDomElement &newNode) {
    newNode = QDomElement();
    if (parent.isNull())
        return;
    // The element is built whole before it joins the document.
    QDomElement expr = Document.createElement(kExpr);
    expr.setAttribute(kName, name);
    expr.setAttribute(kNotation, notation);
    if (!FitsUnder(parent, SubtreeHeight(expr)))
        return;
    SetDescription(expr, desc, false);
    AppendVariables(Document, expr, vars);
    parent.appendChild(expr);
    Modified = true;
    newNode = expr;
}

void TKniznicaVyrazov::ModifyExpression(QDomElement node, const QString &name, const QString &notation,
                                        const QString &desc, const QStringList &vars) {
    if (node.tagName() != kExpr)
        return;
    node.setAttribute(kName, name);
    node.setAttribute(kNotation, notation);
    SetDescription(node, desc, false);
    for (QDomElement var = node.firstChildElement(kVar); !var.isNull(); var = node.firstChildElement(kVar))
        node.removeChild(var);
    AppendVariables(Document, node, vars);
    Modified = true;
}

void TKniznicaVyrazov::RenameNode(QDomElement node, const QString &name) {
    if (node.isNull())
        return;
    node.setAttribute(kName, name);
    Modified = true;
}

void TKniznicaVyrazov::DeleteNode(QDomElement node) {
    if (node.isNull() || node == GetRoot() || node.parentNode().isNull())
        return;
    node.parentNode().removeChild(node);
    Modified = true;
}

QDomElement TKniznicaVyrazov::InsertNode(QDomElement parent, const QDomElement &node, int index) {
    if (parent.isNull() || node.isNull() || !FitsUnder(parent, SubtreeHeight(node)))
        return QDomElement();
    QDomElement element = node;
    if (element.ownerDocument() != Document)
        element = Document.importNode(node, true).toElement();
    const QDomNodeList children = parent.childNodes();
    if (index < 0 || index >= children.count())
        parent.appendChild(element);
    else
        parent.insertBefore(element, children.at(index));
    Modified = true;
    return element;
}

void TKniznicaVyrazov::SetDeleteOnSave(bool value) {
    DeleteOnSave = value;
    Modified = true;
}

TNodeKind TKniznicaVyrazov::GetNodeKind(const QDomElement &node) {
    const QString tag = node.tagName();
    if (tag == kLibrary)
        return LibraryKind;
    if (tag == kCategory)
        return CategoryKind;
    if (tag == kExpr)
        return ExpressionKind;
    return OtherKind;
}

TWriteResult TKniznicaVyrazov::Save() {
    TWriteResult result;
    if (!Modified) {
        result.Ok = true;
        return result;
    }
    if (DeleteOnSave) {
        // Only the library's own file goes: a library that was never saved
        // has none, whatever file its name may point at.
        if (!m_storedPath.isEmpty() && QFileInfo::exists(m_storedPath)) {
            QFile file(m_storedPath);
            if (!file.remove()) {
                result.Error = file.errorString();
                return result;
            }
        }
        m_storedPath.clear();
        Modified = false;
        result.Ok = true;
        return result;
    }
    if (FileName.isEmpty()) {
        result.Error = QStringLiteral("No file name");
        return result;
    }
    result = WriteFileBytes(FileName, ToXml());
    if (result.Ok) {
        m_storedPath = FileName;
        Modified = false;
    }
    return result;
}

QByteArray TKniznicaVyrazov::ToXml() const {
    QByteArray out;
    TLibraryWriter writer(&out);
    writer.WriteDocument(Document);
    return out;
}

QByteArray ElementToXml(const QDomElement &element) {
    QByteArray out;
    if (element.isNull())
        return out;
    TLibraryWriter writer(&out);
    writer.WriteTree(element);
    return out;
}

void KNodeClipboard::Copy(const QDomElement &node) {
    m_xml = ElementToXml(node);
    m_tagName = node.tagName();
    m_height = SubtreeHeight(node);
}

QDomElement KNodeClipboard::GetCopy(QDomDocument &into) const {
    if (m_xml.isEmpty())
        return QDomElement();
    QDomDocument stored;
    if (!stored.setContent(m_xml))
        return QDomElement();
    return into.importNode(stored.documentElement(), true).toElement();
}
