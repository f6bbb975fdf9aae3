#include "dPrehliadacVyrazov.h"

#include "uDisk.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QWidget>

namespace {

QPixmap Canvas() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A closed book with a dark spine.
QIcon LibraryIcon() {
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(20, 40, 110));
    p.setBrush(QColor(70, 110, 200));
    p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1.5, 1.5);
    p.fillRect(QRectF(3, 2, 2.5, 12), QColor(20, 40, 110));
    p.setPen(QPen(QColor(235, 240, 255), 1));
    p.drawLine(QPointF(7, 5.5), QPointF(12, 5.5));
    p.drawLine(QPointF(7, 8.5), QPointF(11, 8.5));
    return QIcon(pixmap);
}

// A folder.
QIcon CategoryIcon() {
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(150, 110, 20));
    p.setBrush(QColor(240, 200, 80));
    QPainterPath path;
    path.moveTo(1.5, 3.5);
    path.lineTo(6, 3.5);
    path.lineTo(7.5, 5);
    path.lineTo(14.5, 5);
    path.lineTo(14.5, 13.5);
    path.lineTo(1.5, 13.5);
    path.closeSubpath();
    p.drawPath(path);
    p.setPen(QColor(255, 235, 160));
    p.drawLine(QPointF(2.5, 6.5), QPointF(13.5, 6.5));
    return QIcon(pixmap);
}

// A sheet with "f(x)" on it.
QIcon ExpressionIcon() {
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setPen(QColor(90, 90, 90));
    p.setBrush(Qt::white);
    p.drawRect(QRect(1, 1, 13, 14));
    QFont f = QApplication::font();
    f.setPixelSize(8);
    f.setItalic(true);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(30, 110, 50));
    p.drawText(QRect(1, 1, 14, 15), Qt::AlignCenter, QStringLiteral("f(x)"));
    return QIcon(pixmap);
}

// A pencil.
QIcon ModifyIcon() {
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(8, 8);
    p.rotate(-45);
    p.setPen(QColor(90, 60, 10));
    p.setBrush(QColor(240, 180, 60));
    p.drawRect(QRectF(-5, -2, 9, 4));
    QPainterPath tip;
    tip.moveTo(4, -2);
    tip.lineTo(7, 0);
    tip.lineTo(4, 2);
    tip.closeSubpath();
    p.setBrush(QColor(60, 60, 60));
    p.drawPath(tip);
    return QIcon(pixmap);
}

QAction *Item(QMenu *menu, const char *name, const QString &caption, const QIcon &icon) {
    QAction *action = menu->addAction(icon, caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

TPrehliadacVyrazovDta::TPrehliadacVyrazovDta(QWidget *owner) : QObject(owner) {
    setObjectName(QStringLiteral("PrehliadacVyrazovDta"));
    QStyle *style = owner ? owner->style() : QApplication::style();
    ImageList1 = {QIcon(),
                  CategoryIcon(),
                  ExpressionIcon(),
                  LibraryIcon(),
                  style->standardIcon(QStyle::SP_TrashIcon),
                  style->standardIcon(QStyle::SP_BrowserReload),
                  style->standardIcon(QStyle::SP_DialogSaveButton),
                  ModifyIcon()};

    stromVyrazovPmn = new QMenu(owner);
    stromVyrazovPmn->setObjectName(QStringLiteral("stromVyrazovPmn"));
    reloadMni = Item(stromVyrazovPmn, "reloadMni", QStringLiteral("Reload"), Picture(ReloadPicture));
    saveMni = Item(stromVyrazovPmn, "saveMni", QStringLiteral("Save"), Picture(SavePicture));
    stromVyrazovPmn->addSeparator();
    novaKniznicaMni = Item(stromVyrazovPmn, "novaKniznicaMni", QStringLiteral("New library"), Picture(LibraryPicture));
    novaKategoriaMni =
        Item(stromVyrazovPmn, "novaKategoriaMni", QStringLiteral("New category"), Picture(CategoryPicture));
    novyVyrazMni = Item(stromVyrazovPmn, "novyVyrazMni", QStringLiteral("New expression"), Picture(ExpressionPicture));
    stromVyrazovPmn->addSeparator();
    premenovatMni = Item(stromVyrazovPmn, "premenovatMni", QStringLiteral("Rename"), QIcon());
    odstranitMni = Item(stromVyrazovPmn, "odstranitMni", QStringLiteral("Delete"), Picture(DeletePicture));
    upravitMni = Item(stromVyrazovPmn, "upravitMni", QStringLiteral("Modify"), Picture(ModifyPicture));
    ApplyLanguage();
}

QIcon TPrehliadacVyrazovDta::PictureOf(TNodeKind kind) const {
    switch (kind) {
    case LibraryKind: return Picture(LibraryPicture);
    case CategoryKind: return Picture(CategoryPicture);
    case ExpressionKind: return Picture(ExpressionPicture);
    default: return QIcon();
    }
}

void TPrehliadacVyrazovDta::ApplyLanguage() {
    if (!LanguageIni())
        return;
    const QString common = QStringLiteral("Common");
    const QString browser = QStringLiteral("ExpressionBrowser");
    const struct {
        QAction *item;
        const QString &section;
        const char *key;
    } texts[] = {{reloadMni, common, "Reload"},
                 {saveMni, common, "Save"},
                 {novaKniznicaMni, browser, "NewLibrary"},
                 {novaKategoriaMni, browser, "NewCategory"},
                 {novyVyrazMni, browser, "NewExpression"},
                 {premenovatMni, browser, "Rename"},
                 {odstranitMni, common, "Remove"},
                 {upravitMni, common, "Modify"}};
    for (const auto &t : texts)
        t.item->setText(LanguageText(t.section, QLatin1String(t.key), t.item->text()));
}

void TPrehliadacVyrazovDta::EnableItems(const TEditEnabling &enabling, bool anyModified) {
    reloadMni->setEnabled(true);
    novaKniznicaMni->setEnabled(true);
    saveMni->setEnabled(anyModified);
    novaKategoriaMni->setEnabled(enabling.NewChild);
    novyVyrazMni->setEnabled(enabling.NewChild);
    premenovatMni->setEnabled(enabling.Rename);
    odstranitMni->setEnabled(enabling.Delete);
    upravitMni->setEnabled(enabling.Modify);
}
