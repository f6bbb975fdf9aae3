// The browser window over a temporary library folder, with a stand-in main
// window.
#pragma once

#include "LibraryTestSupport.h"
#include "dPrehliadacVyrazov.h"
#include "fPrehliadacVyrazov.h"
#include "fUpravyKniznice.h"
#include "fUpravyVyrazu.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

class BrowserTest : public LibraryTest {
protected:
    TFakeMainWindow Main;
    std::unique_ptr<TPrehliadacVyrazovFrm> Owned;
    TPrehliadacVyrazovFrm *W = nullptr; // the window the helpers look at

    void TearDown() override {
        Owned.reset();
        LibraryTest::TearDown();
    }

    TPrehliadacVyrazovFrm &Open() {
        Owned = std::make_unique<TPrehliadacVyrazovFrm>(&Main);
        return *(W = Owned.get());
    }
    QTreeWidget *Tree() { return Find<QTreeWidget>(*W, "stromVyrazovTrv"); }
    QAction *Item(const char *name) { return W->findChild<QAction *>(name); }
    // The texts of the named controls (edits, memos, labels, buttons,
    // actions), "a|b" for "a|b".
    QString Texts(const QString &names) {
        QStringList texts;
        for (const QString &name : names.split('|')) {
            QObject *o = W->findChild<QObject *>(name);
            const QVariant text =
                o ? o->property(qobject_cast<QPlainTextEdit *>(o) ? "plainText" : "text") : QVariant();
            EXPECT_TRUE(text.isValid()) << S(name);
            texts.append(text.toString());
        }
        return texts.join('|');
    }

    // The tree as text: "A(B(C),D),E".
    static QString Dump(QTreeWidgetItem *parent) {
        QStringList parts;
        for (int i = 0; i < parent->childCount(); ++i) {
            QTreeWidgetItem *c = parent->child(i);
            parts.append(c->text(0) + (c->childCount() ? "(" + Dump(c) + ")" : QString()));
        }
        return parts.join(',');
    }
    QString TreeText() { return Dump(Tree()->invisibleRootItem()); }

    // The node of "Sample/Mechanics/Work", found by its last caption, which
    // must name one node only.
    QTreeWidgetItem *Node(const QString &path) {
        const auto found = Tree()->findItems(path.section('/', -1), Qt::MatchExactly | Qt::MatchRecursive);
        EXPECT_EQ(found.size(), 1) << S(path);
        return found.value(0);
    }
    void Select(const QString &path) { Tree()->setCurrentItem(Node(path)); }
    // The variable rows of the details as "name=description;..."
    QString Variables() {
        QAbstractItemModel *m = Find<QTableView>(*W, "premenneVle")->model();
        QStringList rows;
        for (int r = 0; r < m->rowCount(); ++r)
            rows.append(m->index(r, 0).data().toString() + "=" + m->index(r, 1).data().toString());
        return rows.join(';');
    }
};
