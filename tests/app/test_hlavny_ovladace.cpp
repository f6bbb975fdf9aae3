// The main window's controls as built from their tables: each found by a
// name of its own, inside the window, and no two usable controls over each
// other, in the built-in texts and in a loaded language.
#include "HlavnyTestSupport.h"

#include <QAbstractButton>

using OvladaceTest = HlavnyTest;

TEST_F(OvladaceTest, ControlsHaveOwnNamesAndOwnPlacesInsideTheWindow) {
    WriteBytes(Path("lang/english.txt"),
               ReadBytes(QStringLiteral(TARBELON_SOURCE_DIR) + "/resources/lang/english.txt"));
    for (const QString &language : {QString(), QStringLiteral("lang\\english.txt")}) {
        if (!language.isEmpty()) {
            ASSERT_TRUE(W->ApplyLanguageToAllForms(language));
        }
        QSet<QString> names;
        QList<QWidget *> usable; // what takes a click or typed text
        for (QWidget *w : W->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            EXPECT_FALSE(names.contains(w->objectName())) << S(w->objectName());
            names.insert(w->objectName());
            if (w->isHidden())
                continue;
            EXPECT_TRUE(W->rect().contains(w->geometry())) << S(w->objectName());
            if (qobject_cast<QAbstractButton *>(w) || qobject_cast<QLineEdit *>(w) || qobject_cast<TUpDown *>(w))
                usable.append(w);
        }
        EXPECT_GT(usable.size(), 70);
        for (int i = 0; i < usable.size(); ++i)
            for (int j = i + 1; j < usable.size(); ++j)
                EXPECT_FALSE(usable[i]->geometry().intersects(usable[j]->geometry()))
                    << S(usable[i]->objectName()) << " " << S(usable[j]->objectName()) << " " << S(language);
    }
}
