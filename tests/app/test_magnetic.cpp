// Snapping companion windows: the geometry rules and the window class.
#include "AppTestSupport.h"
#include "uMagneticForm.h"

TEST(SnapGeometry, HorizontalSnapToTheMasterEdges) {
    const QRect master(100, 100, 300, 200); // right edge 400
    struct Case { int x; int width; int expected; };
    const Case cases[] = {
        {394, 200, 394}, {395, 200, 400}, {405, 200, 400}, {406, 200, 406},
        // right edge onto the master's left edge at 100
        {-105, 200, -100}, {-94, 200, -94},
        // left to left does not snap
        {102, 200, 102},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SnapPosition(QRect(c.x, 700, c.width, 100), master, 5).x(), c.expected) << c.x;
}

TEST(SnapGeometry, VerticalSnapIndependentOfTheHorizontal) {
    const QRect master(100, 100, 300, 200); // bottom edge 300
    struct Case { int y; int height; int expected; };
    const Case cases[] = {
        {295, 50, 300}, {306, 50, 306}, {294, 50, 294},
        {-5, 100, 0}, {6, 100, 6}, // bottom edge onto the top at 100
        {100, 50, 100},                        // top to top does not snap
    };
    for (const Case &c : cases)
        EXPECT_EQ(SnapPosition(QRect(2000, c.y, 100, c.height), master, 5).y(), c.expected) << c.y;
    // Far below the master, the left edge still snaps to its right edge.
    EXPECT_EQ(SnapPosition(QRect(403, 5000, 100, 100), master, 5), QPoint(400, 5000));
    // Distance zero snaps only exactly.
    EXPECT_EQ(SnapPosition(QRect(401, 5000, 100, 100), master, 0), QPoint(401, 5000));
}

TEST(SnapGeometry, TouchesComparesOneCoordinateOnly) {
    const QRect main(100, 100, 300, 200);
    struct Case { QRect window; bool expected; };
    const Case cases[] = {
        {QRect(400, 100, 50, 50), true},   // docked at the right edge
        {QRect(401, 100, 50, 50), false},  // one pixel away
        {QRect(400, 9000, 50, 50), true},  // no overlap needed on the other axis
        {QRect(150, 50, 50, 50), true},    // above
        {QRect(150, 150, 50, 50), false},  // inside
    };
    for (const Case &c : cases)
        EXPECT_EQ(TouchesRect(c.window, main), c.expected) << c.window.x() << "," << c.window.y();
}

TEST(SnapGeometry, OnScreenOrBackToTheCentre) {
    const QSize screen(1024, 768);
    struct Case { QRect window; QPoint expected; };
    const Case cases[] = {
        {QRect(-500, 100, 300, 200), QPoint(362, 284)},
        {QRect(-299, 100, 300, 200), QPoint(-299, 100)}, // one pixel visible
        {QRect(-300, 100, 300, 200), QPoint(362, 284)},
        {QRect(1024, 0, 300, 200), QPoint(362, 284)},
        {QRect(0, -200, 300, 200), QPoint(362, 284)},
        {QRect(5000, 5000, 1101, 901), QPoint(-38, -66)}, // truncated toward zero
    };
    for (const Case &c : cases)
        EXPECT_EQ(OnScreenPosition(c.window, screen), c.expected) << c.window.x() << "," << c.window.y();
}

TEST(SnapGeometry, PlaceBesideTheMainWindow) {
    const QSize window(305, 230);
    struct Case { QRect master; bool placed; QPoint expected; };
    const Case cases[] = {
        {QRect(100, 50, 300, 400), true, QPoint(400, 50)},   // room on the right
        {QRect(700, 60, 300, 400), true, QPoint(395, 60)},   // at the right screen edge: left
        {QRect(719, 60, 300, 400), true, QPoint(414, 60)},   // right edge 1019 is not < 1024 - 305
        {QRect(200, 60, 700, 400), false, QPoint()},          // neither side has room
        {QRect(305, 60, 450, 400), false, QPoint()},          // left 305 is not > 305
    };
    for (const Case &c : cases) {
        QPoint at;
        EXPECT_EQ(PlaceBeside(c.master, window, 1024, at), c.placed) << c.master.x();
        if (c.placed) {
            EXPECT_EQ(at, c.expected) << c.master.x();
        }
    }
}

class MagneticFormTest : public AppTest {};

TEST_F(MagneticFormTest, SnapsWhileMovedAndMovesBesideWithoutSnapping) {
    QWidget main;
    main.setGeometry(100, 100, 300, 200);
    TMagneticForm form;
    form.resize(200, 100);
    form.show();
    form.MoveTo(QPoint(600, 600));
    EXPECT_EQ(form.frameGeometry().topLeft(), QPoint(600, 600)); // no master: no snap
    form.SetMaster(&main);
    form.SetSnapDistance(5);
    const QRect m = main.frameGeometry();
    form.MoveTo(QPoint(m.x() + m.width() + 3, 600));
    EXPECT_EQ(form.frameGeometry().x(), m.x() + m.width());
    EXPECT_TRUE(form.TouchesForm(&main));
    // A plain move (as a drag) is snapped as well.
    form.move(m.x() + m.width() - 4, 650);
    EXPECT_EQ(form.frameGeometry().x(), m.x() + m.width());
    // MoveBy is never snapped and keeps the master.
    form.MoveBy(2, 0);
    EXPECT_EQ(form.frameGeometry().x(), m.x() + m.width() + 2);
    EXPECT_EQ(form.Master(), &main);
    EXPECT_FALSE(form.TouchesForm(&main));
    // Activated off every screen, it comes back.
    form.move(-5000, 100);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&form, &activate);
    EXPECT_TRUE(QRect(QPoint(), PrimaryScreenSize()).contains(form.frameGeometry().topLeft()));
}

TEST_F(MagneticFormTest, CompanionsThatTouchMoveWithTheMainWindow) {
    QWidget main;
    main.setGeometry(100, 100, 300, 200);
    const QRect m = main.frameGeometry();
    TMagneticForm docked, away;
    docked.resize(100, 100);
    away.resize(100, 100);
    docked.move(m.x() + m.width(), 120);
    away.move(m.x() + m.width() + 1, 120);
    MoveTouchingCompanions(m, m.topLeft() + QPoint(30, -20), {&docked, &away, nullptr});
    EXPECT_EQ(docked.frameGeometry().topLeft(), QPoint(m.x() + m.width() + 30, 100));
    EXPECT_EQ(away.frameGeometry().topLeft(), QPoint(m.x() + m.width() + 1, 120));
}

