// The expression browser's popup menu and pictures: the menu's items with
// their texts and enabling, and the pictures of the tree's nodes.
#pragma once

#include "uPrehliadacVyrazov.h"

#include <QIcon>
#include <QList>
#include <QObject>

class QAction;
class QMenu;
class QWidget;

// Picture numbers of ImageList1.
enum TPicture : int {
    CategoryPicture = 1,
    ExpressionPicture = 2,
    LibraryPicture = 3,
    DeletePicture = 4,
    ReloadPicture = 5,
    SavePicture = 6,
    ModifyPicture = 7,
};

class TPrehliadacVyrazovDta : public QObject {
    Q_OBJECT
public:
    // The menu is a child of owner (the browser window).
    explicit TPrehliadacVyrazovDta(QWidget *owner);

    // The picture with the given number; a null icon for any other number.
    QIcon Picture(int index) const { return ImageList1.value(index); }
    // The picture of an element's tree node, by its kind; none for an
    // element of another kind.
    QIcon PictureOf(TNodeKind kind) const;

    // Texts from the loaded language file (nothing without one).
    void ApplyLanguage();
    // The items as the selection and the libraries allow them.
    void EnableItems(const TEditEnabling &enabling, bool anyModified);

    QList<QIcon> ImageList1;
    QMenu *stromVyrazovPmn;
    QAction *reloadMni;
    QAction *saveMni;
    QAction *novaKniznicaMni;
    QAction *novaKategoriaMni;
    QAction *novyVyrazMni;
    QAction *premenovatMni;
    QAction *odstranitMni;
    QAction *upravitMni;
};
