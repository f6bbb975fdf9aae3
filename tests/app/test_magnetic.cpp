// Snapping companion windows: the geometry rules and the window class.
#include "AppTestSupport.h"
#include "uMagneticForm.h"

TEST(SnapGeometry, EachAxisSnapsToTheMasterEdgesOnItsOwn) {
    const QRect master(100, 100, 300, 200); // right edge 400, bottom edge 300
    struct Case {
        QRect window;
        int distance;
        QPoint expected;
    };
    const Case cases[] = {
        {{394, 5000, 200, 100}, 5, {394, 5000}},   {{395, 5000, 200, 100}, 5, {400, 5000}}, // left onto right edge
        {{405, 5000, 200, 100}, 5, {400, 5000}},   {{406, 5000, 200, 100}, 5, {406, 5000}},
        {{-105, 5000, 200, 100}, 5, {-100, 5000}}, {{-94, 5000, 200, 100}, 5, {-94, 5000}}, // right onto left
        {{102, 5000, 200, 100}, 5, {102, 5000}},                                            // left to left: no snap
        {{2000, 295, 100, 50}, 5, {2000, 300}},    {{2000, 306, 100, 50}, 5, {2000, 306}},  // top onto bottom edge
        {{2000, -5, 100, 100}, 5, {2000, 0}},      {{2000, 6, 100, 100}, 5, {2000, 6}},     // bottom onto top
        {{2000, 102, 100, 50}, 5, {2000, 102}},                                             // top to top: no snap
        {{401, 5000, 100, 100}, 0, {401, 5000}},                                            // distance 0: only exactly
    };
    for (const Case &c : cases)
        EXPECT_EQ(SnapPosition(c.window, master, c.distance), c.expected) << c.window.x() << "," << c.window.y();
}

TEST(SnapGeometry, TouchesComparesOneCoordinateOnly) {
    const QRect main(100, 100, 300, 200);
    struct Case {
        QRect window;
        bool expected;
    };
    const Case cases[] = {
        {QRect(401, 100, 50, 50), false}, // one pixel away from the right edge
        {QRect(400, 9000, 50, 50), true}, // no overlap needed on the other axis
        {QRect(150, 50, 50, 50), true},   // above
        {QRect(150, 150, 50, 50), false}, // inside
    };
    for (const Case &c : cases)
        EXPECT_EQ(TouchesRect(c.window, main), c.expected) << c.window.x() << "," << c.window.y();
}

TEST(SnapGeometry, OnScreenOrBackToTheCentre) {
    const QSize screen(1024, 768);
    struct Case {
        QRect window;
        QPoint expected;
    };
    const Case cases[] = {
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
    struct Case {
        QRect master;
        bool placed;
        QPoint expected;
    };
    const Case cases[] = {
        {QRect(100, 50, 300, 400), true, QPoint(400, 50)}, // room on the right
        {QRect(700, 60, 300, 400), true, QPoint(395, 60)}, // at the right screen edge: left
        {QRect(719, 60, 300, 400), true, QPoint(414, 60)}, // right edge 1019 is not < 1024 - 305
        {QRect(200, 60, 700, 400), false, QPoint()},       // neither side has room
        {QRect(305, 60, 450, 400), false, QPoint()},       // left 305 is not > 305
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
    EXPECT_FALSE(form.TouchesForm(&main));
    // Activated off every screen, it comes back (where to is OnScreenPosition's).
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
