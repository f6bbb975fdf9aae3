// Dragging the borderless main window: what stays on the screen and which
// edges snap.
#include "AppTestSupport.h"
#include "uPohybOkna.h"

TEST(DragRules, PartOfTheWindowStaysOnTheScreenAndNearEdgesSnap) {
    const QRect screen(0, 0, 1280, 1024);
    struct Case {
        QPoint from, delta, to;
    };
    const Case cases[] = {
        {{100, 100}, {50, 30}, {150, 130}},        // free
        {{100, 100}, {-91, 0}, {0, 100}},          // left edge within 9 pixels snaps to 0
        {{100, 100}, {-110, 0}, {-10, 100}},       // 10 pixels out stays
        {{100, 100}, {-2000, 0}, {20 - 630, 100}}, // 20 pixels stay on the left
        {{100, 100}, {5000, 0}, {1280 - 20, 100}}, // and on the right
        {{100, 100}, {559, 0}, {1280 - 630, 100}}, // 9 pixels over snaps back
        {{100, 100}, {560, 0}, {660, 100}},        // 10 pixels over stays
        {{100, 100}, {0, -300}, {100, 0}},         // the title never leaves the top
        {{100, 100}, {0, 5000}, {100, 1024 - 50}}, // nor goes lower than 50 above the bottom
        {{100, 100}, {0, 570}, {100, 1024 - 351}}, // bottom edge within 10 snaps
        {{100, 100}, {0, -95}, {100, 0}},          // top edge within 9 snaps
    };
    for (const Case &c : cases)
        EXPECT_EQ(DragPosition(QRect(c.from, QSize(630, 351)), c.delta, screen), c.to)
            << c.delta.x() << "," << c.delta.y();
    // A screen whose origin is not at 0 works in its own coordinates.
    EXPECT_EQ(DragPosition(QRect(-1000, 0, 630, 351), QPoint(-275, 15), QRect(-1280, 0, 1280, 1024)),
              QPoint(-1280, 15));
}
