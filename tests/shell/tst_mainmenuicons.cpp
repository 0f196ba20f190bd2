#include "pictures.h"

#include <QImageReader>
#include <QSet>
#include <QtTest>

using namespace pv;

namespace {

// Opaque and fully transparent pixels both present: a shape, not a filled square.
bool hasShape(const QImage& image) {
    QSet<int> alphas;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) alphas.insert(qAlpha(image.pixel(x, y)));
    }
    return alphas.contains(255) && alphas.contains(0);
}

}  // namespace

class IconsTest : public QObject {
    Q_OBJECT
private slots:
    void shippedIconFilesHoldEverySize_data() {
        QTest::addColumn<QString>("name");
        for (const QString& name : pictures::screenIconNames())
            QTest::newRow(qPrintable(name)) << name;
    }

    // The files in images/ are made from the same drawings: a stale file shows here.
    void shippedIconFilesHoldEverySize() {
        QFETCH(QString, name);
        const QString path = QStringLiteral(PV_APPDIR "/images/") + name + QStringLiteral(".ico");
        QImageReader reader(path);
        QVERIFY2(reader.canRead(), qPrintable(path));
        QList<int> sizes;
        for (int i = 0; i < reader.imageCount(); ++i) {
            QVERIFY(reader.jumpToImage(i));
            const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
            sizes.append(image.width());
            QVERIFY(hasShape(image));
            QCOMPARE(image, pictures::screenIconImage(name, image.width()));
        }
        QCOMPARE(sizes, QList<int>({16, 24, 32, 48}));
    }

    void sideBarIconsAreEightDifferentPictures() {
        QList<QImage> seen;
        for (int i = 0; i < 8; ++i) {
            const QImage image = pictures::menuImage(i, 16);
            QVERIFY(hasShape(image) && !seen.contains(image));
            seen.append(image);
        }
        QVERIFY(pictures::menuImage(8, 16).isNull());
        QVERIFY(pictures::screenIconImage(QStringLiteral("new"), 16).isNull());
        QVERIFY(hasShape(pictures::appImage(48)));
        QVERIFY(hasShape(pictures::splashPicture(104, 104)));
    }
};

QTEST_MAIN(IconsTest)
#include "tst_mainmenuicons.moc"
