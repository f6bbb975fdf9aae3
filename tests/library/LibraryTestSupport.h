// Shared set-up of the library tests: a temporary program folder with a
// "lib" folder, and small library files written into it.
#pragma once

#include "../app/AppTestSupport.h"
#include "uPrehliadacVyrazov.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QRegularExpression>

// A header with every field filled.
inline TInfoKniznice SampleInfo(const QString &fileName) {
    return {"Physics", fileName, "1.2.0", "5. 12. 2026", "Ann", "example.org", "ann@example.org", "one|two"};
}

// Every field of a header but the file, joined with "|".
inline QString Header(const TInfoKniznice &i) {
    return QStringList{i.Name, i.Version, i.Date, i.Author, i.AuthorWeb, i.AuthorEmail, i.Description}.join('|');
}

// The element reached from root by the names of named elements, one per
// level ("Mechanics/Work"); null when a step is missing.
inline QDomElement ElementAt(QDomElement at, const QString &path) {
    for (const QString &name : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        at = at.firstChildElement();
        while (!at.isNull() && at.attribute(QStringLiteral("name")) != name)
            at = at.nextSiblingElement();
    }
    return at;
}

// A compact picture of an element's structure: the tag's first letter and
// the name of every element, children in brackets, e.g. "l:L[c:C[e:x],e:y]"
// for a library L holding a category C with an expression x, then y.
inline QString Outline(const QDomElement &e) {
    QString s = e.tagName().left(1) + (e.hasAttribute("name") ? ":" + e.attribute("name") : QString());
    QStringList children;
    for (QDomElement c = e.firstChildElement(); !c.isNull(); c = c.nextSiblingElement())
        children.append(Outline(c));
    return children.isEmpty() ? s : s + "[" + children.join(',') + "]";
}

class LibraryTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_TRUE(QDir(Dir.path()).mkpath(QStringLiteral("lib")));
    }
    QString LibPath(const QString &name) const { return Path(QStringLiteral("lib/") + name); }
    void WriteLibrary(const QString &name, const QByteArray &xml) { WriteBytes(LibPath(name), xml); }
    // The message boxes shown since the last call, "caption|text;...".
    std::string Boxes() {
        QStringList boxes;
        for (const auto &box : Prompter->Shown)
            boxes.append(box.Caption + "|" + box.Text);
        Prompter->Shown.clear();
        return S(boxes.join(';'));
    }
};

// A small library: a description, a category with a sub-category and an
// expression, and an expression at the top.
inline const QByteArray kSampleLibrary = R"(<?xml version="1.0" encoding="UTF-8"?>
<library name="Sample" version="1.0" date="1.1.2025" author="Bob" author-web="bob.example" author-email="bob@example.org">
  <desc>First line|Second line</desc>
  <expr name="Top" notation="f=x+1"/>
  <category name="Mechanics">
    <expr name="Work" notation="W=F*s">
      <desc>Constant force</desc>
      <var name="F" description="force"/>
      <var name="s" description="path"/>
    </expr>
    <category name="Inner"/>
  </category>
</library>
)";
