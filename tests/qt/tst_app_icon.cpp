#include "qt/app_icon.h"

#include <QImage>
#include <QPixmap>
#include <QTest>

// The icon built into the executable, which the window and its message boxes show.
class tst_AppIcon : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everySizeIsDrawnOnATransparentGround_data();
    void everySizeIsDrawnOnATransparentGround();
};

void tst_AppIcon::everySizeIsDrawnOnATransparentGround_data()
{
    QTest::addColumn<int>("size");

    for (const int size : {16, 32, 48, 64}) {
        QTest::addRow("%dx%d", size, size) << size;
    }
}

void tst_AppIcon::everySizeIsDrawnOnATransparentGround()
{
    QFETCH(int, size);

    const QIcon icon = orvanta::applicationIcon();
    QVERIFY(icon.availableSizes().contains(QSize(size, size)));
    const QImage image = icon.pixmap(QSize(size, size)).toImage();
    QCOMPARE(image.size(), QSize(size, size));
    // A round dial: the corners show what lies behind the icon, the hub is solid.
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(size - 1, size - 1)), 0);
    QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
}

QTEST_MAIN(tst_AppIcon)
#include "tst_app_icon.moc"
