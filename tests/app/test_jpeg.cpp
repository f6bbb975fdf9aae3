// The JPEG decoder of the interface's pictures.
#include "AppTestSupport.h"
#include "uJpeg.h"

#include <QFile>

namespace {

QByteArray Background() { return ReadBytes(QStringLiteral(TARBELON_SOURCE_DIR) + "/resources/pictures/pozadie.jpg"); }

bool Near(QRgb a, QColor b, int tolerance = 6) {
    return std::abs(qRed(a) - b.red()) <= tolerance && std::abs(qGreen(a) - b.green()) <= tolerance &&
           std::abs(qBlue(a) - b.blue()) <= tolerance;
}

} // namespace

TEST(Jpeg, DecodesTheBackgroundPicture) {
    const QByteArray bytes = Background();
    ASSERT_FALSE(bytes.isEmpty());
    QString error = "?";
    const QImage image = DecodeJpeg(bytes, &error);
    ASSERT_FALSE(image.isNull()) << S(error);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(image.size(), QSize(630, 351));
    // A lavender title band, then a vertical gradient from a light top to a
    // darker bottom.
    EXPECT_TRUE(Near(image.pixel(10, 1), QColor(0xeb, 0xe4, 0xf5)));
    EXPECT_TRUE(Near(image.pixel(10, 26), QColor(0xf7, 0xf8, 0xfc)));
    EXPECT_TRUE(Near(image.pixel(10, 350), QColor(0xd9, 0xdf, 0xec)));
    EXPECT_EQ(image.pixel(5, 100), image.pixel(600, 100));
}

TEST(Jpeg, ThePictureIsBuiltIntoTheProgram) {
    QFile resource(QStringLiteral(":/pictures/pozadie.jpg"));
    ASSERT_TRUE(resource.open(QIODevice::ReadOnly));
    EXPECT_EQ(resource.readAll(), Background());
}

TEST(Jpeg, BrokenDataGivesNoPictureAndNoCrash) {
    const QByteArray good = Background();
    struct Case { const char *what; QByteArray bytes; };
    const Case cases[] = {
        {"empty", QByteArray()},
        {"not a JPEG", QByteArray("GIF89a this is no JPEG at all")},
        {"header only", good.left(2)},
        {"garbled header", good.left(20) + QByteArray(200, '\xff') + good.mid(220)},
    };
    for (const Case &c : cases) {
        QString error;
        const QImage image = DecodeJpeg(c.bytes, &error);
        EXPECT_TRUE(image.isNull()) << c.what;
        EXPECT_FALSE(error.isEmpty()) << c.what;
    }
    // A cut-off picture is still decoded (its missing end is filled in).
    const QImage cut = DecodeJpeg(good.left(good.size() / 2));
    EXPECT_EQ(cut.size(), QSize(630, 351));
}

TEST_F(AppTest, LoadJpegFileReportsAMissingFile) {
    QString error;
    EXPECT_TRUE(LoadJpegFile(Path("none.jpg"), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
    WriteBytes(Path("p.jpg"), Background());
    EXPECT_EQ(LoadJpegFile(Path("p.jpg")).size(), QSize(630, 351));
}
