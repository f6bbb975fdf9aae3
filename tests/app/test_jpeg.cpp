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
    EXPECT_TRUE(Near(image.pixel(10, 350), QColor(0xd9, 0xdf, 0xec)));
}

TEST(Jpeg, BrokenDataGivesNoPictureAndNoCrash) {
    const QByteArray good = Background();
    struct Case {
        const char *what;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"empty", QByteArray()},
        {"not a JPEG", QByteArray("GIF89a this is no JPEG at all")},
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

// The background with the size in its frame header replaced.
static QByteArray WithDeclaredSize(int width, int height) {
    QByteArray bytes = Background();
    // The start-of-frame segment: FF C0..C2, length, precision, height, width.
    for (qsizetype i = 2; i + 9 < bytes.size(); ++i)
        if (uchar(bytes[i]) == 0xFF && uchar(bytes[i + 1]) >= 0xC0 && uchar(bytes[i + 1]) <= 0xC2) {
            bytes[i + 5] = char(height >> 8);
            bytes[i + 6] = char(height & 0xFF);
            bytes[i + 7] = char(width >> 8);
            bytes[i + 8] = char(width & 0xFF);
            return bytes;
        }
    ADD_FAILURE() << "no frame header";
    return bytes;
}

TEST(Jpeg, APictureDeclaringMoreThan8192PixelsASideIsRefused) {
    struct Case {
        int width, height;
    };
    const Case cases[] = {{60000, 38000}, {8193, 10}};
    for (const Case &c : cases) {
        QString error;
        EXPECT_TRUE(DecodeJpeg(WithDeclaredSize(c.width, c.height), &error).isNull()) << c.width << "x" << c.height;
        EXPECT_TRUE(error.contains("8192")) << S(error);
    }
    // The same bytes with the true size still decode.
    EXPECT_EQ(DecodeJpeg(WithDeclaredSize(630, 351)).size(), QSize(630, 351));
}
