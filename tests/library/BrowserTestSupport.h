// The browser window over a temporary library folder, with a stand-in main
// window.
#pragma once

#include "LibraryTestSupport.h"
#include "dPrehliadacVyrazov.h"
#include "fPrehliadacVyrazov.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>
#include <memory>

class BrowserTest : public LibraryTest {
protected:
    TFakeMainWindow Main;
    std::unique_ptr<TPrehliadacVyrazovFrm> W;

    void TearDown() override {
        W.reset();
        LibraryTest::TearDown();
    }

    TPrehliadacVyrazovFrm &Open() {
        W = std::make_unique<TPrehliadacVyrazovFrm>(&Main);
        return *W;
    }
    QTreeWidget *Tree() { return Find<QTreeWidget>(*W, "stromVyrazovTrv"); }
    QAction *Item(const char *name) { return W->findChild<QAction *>(name); }
    template <class T = QLineEdit> QString Text(const char *name) {
        if constexpr (std::is_same_v<T, QPlainTextEdit>)
            return Find<QPlainTextEdit>(*W, name)->toPlainText();
        else
            return Find<T>(*W, name)->text();
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

    // The node reached by captions, "Sample/Mechanics/Work"; fails when
    // there is none.
    QTreeWidgetItem *Node(const QString &path) {
        QTreeWidgetItem *at = Tree()->invisibleRootItem();
        for (const QString &caption : path.split('/')) {
            QTreeWidgetItem *next = nullptr;
            for (int i = 0; i < at->childCount() && !next; ++i)
                if (at->child(i)->text(0) == caption)
                    next = at->child(i);
            if (!next) {
                ADD_FAILURE() << "no node " << S(path);
                return nullptr;
            }
            at = next;
        }
        return at;
    }
    void Select(const QString &path) {
        if (QTreeWidgetItem *node = Node(path))
            Tree()->setCurrentItem(node);
    }
    // The variable rows of the details as "name=description;..."
    QString Variables() {
        QAbstractItemModel *m = Find<QTableView>(*W, "premenneVle")->model();
        QStringList rows;
        for (int r = 0; r < m->rowCount(); ++r)
            rows.append(m->index(r, 0).data().toString() + "=" + m->index(r, 1).data().toString());
        return rows.join(';');
    }
};
