// The printed page: where the window's picture goes, and the paper it goes on.

#include "print_doubles.h"
#include "printhelp/print_page.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

class tst_print_page : public QObject
{
    Q_OBJECT
private slots:
    void pageWindowCoversThePrintableArea();
    void placement_data();
    void placement();
    void paintPutsThePictureWhereThePlacementSays();
    void paintLeavesThePainterAsItWas();
    void pdfIsLandscapeJisB5();
    void pdfPlacesThePictureOnThePage_data();
    void pdfPlacesThePictureOnThePage();
    void pdfRefusesEmptyPictureAndUnwritablePath();
};

void tst_print_page::pageWindowCoversThePrintableArea()
{
    const QRect w = printpage::pageWindow();
    QCOMPARE(w.x(), -19);
    QCOMPARE(w.y(), -25);
    QCOMPARE(w.x() + w.width(), 178);
    QCOMPARE(w.y() + w.height(), 261);
}

void tst_print_page::placement_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QRectF>("expected");

    // 150 units wide whatever the size; 300 x height / width units high.
    QTest::newRow("4:3 window") << QSize(640, 480) << QRectF(0, 0, 150, 225);
    QTest::newRow("large 4:3 window") << QSize(1280, 960) << QRectF(0, 0, 150, 225);
    QTest::newRow("2:1 window") << QSize(1000, 500) << QRectF(0, 0, 150, 150);
    QTest::newRow("just fits") << QSize(300, 261) << QRectF(0, 0, 150, 261);
    // Taller than the page allows: shrunk to the bottom edge, same proportions.
    QTest::newRow("square window") << QSize(400, 400) << QRectF(0, 0, 130.5, 261);
    QTest::newRow("no width") << QSize(0, 300) << QRectF();
    QTest::newRow("no height") << QSize(300, 0) << QRectF();
}

void tst_print_page::placement()
{
    QFETCH(QSize, picture);
    QFETCH(QRectF, expected);
    const QRectF got = printpage::picturePlacement(picture);
    QCOMPARE(got.x(), expected.x());
    QCOMPARE(got.y(), expected.y());
    QCOMPARE(got.width(), expected.width());
    QCOMPARE(got.height(), expected.height());
}

void tst_print_page::paintPutsThePictureWhereThePlacementSays()
{
    // A device area of 1970 x 1430 pixels at (50, 30): 10 pixels per x unit,
    // 5 per y unit, as unequal as on the landscape sheet.
    QImage device(2100, 1500, QImage::Format_RGB32);
    device.fill(Qt::white);
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(Qt::red);
    {
        QPainter painter(&device);
        printpage::paintPrintPage(painter, QRect(50, 30, 1970, 1430), picture);
    }
    // Page x 0..150 -> 50 + (19 .. 169) * 10; page y 0..225 -> 30 + (25 .. 250) * 5.
    const QRect expected(QPoint(240, 155), QPoint(1739, 1279));
    const QColor red(Qt::red);
    QCOMPARE(device.pixelColor(expected.topLeft() + QPoint(2, 2)), red);
    QCOMPARE(device.pixelColor(expected.bottomRight() - QPoint(2, 2)), red);
    QCOMPARE(device.pixelColor(expected.center()), red);
    const QColor white(Qt::white);
    QCOMPARE(device.pixelColor(expected.left() - 3, expected.center().y()), white);
    QCOMPARE(device.pixelColor(expected.right() + 3, expected.center().y()), white);
    QCOMPARE(device.pixelColor(expected.center().x(), expected.top() - 3), white);
    QCOMPARE(device.pixelColor(expected.center().x(), expected.bottom() + 3), white);
}

void tst_print_page::paintLeavesThePainterAsItWas()
{
    QImage device(200, 100, QImage::Format_RGB32);
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QPainter painter(&device);
    const QRect window = painter.window();
    printpage::paintPrintPage(painter, QRect(10, 10, 100, 50), picture);
    QCOMPARE(painter.window(), window);
    QCOMPARE(painter.viewport(), window);
}

void tst_print_page::pdfIsLandscapeJisB5()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.pdf"));
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(Qt::green);
    QVERIFY(printpage::writePrintPagePdf(path, picture));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == "%PDF-");

    // 257 x 182 mm, wider than high.
    const QSizeF points = pdfMediaBoxPoints(path);
    QVERIFY(points.isValid());
    QCOMPARE(qRound(points.width() * 25.4 / 72.0), 257);
    QCOMPARE(qRound(points.height() * 25.4 / 72.0), 182);

    const QPageLayout layout = printpage::pageLayout();
    QCOMPARE(layout.pageSize().id(), QPageSize::JisB5);
    QCOMPARE(layout.orientation(), QPageLayout::Landscape);
    QCOMPARE(layout.fullRect(QPageLayout::Millimeter).size().toSize(), QSize(257, 182));
}

void tst_print_page::pdfPlacesThePictureOnThePage_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::newRow("4:3 window") << QSize(640, 480);
    QTest::newRow("wide window") << QSize(900, 300);
    QTest::newRow("square window") << QSize(300, 300);
}

void tst_print_page::pdfPlacesThePictureOnThePage()
{
    QFETCH(QSize, picture);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.pdf"));
    QImage image(picture, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(printpage::writePrintPagePdf(path, image));

    // The page's units spread over the sheet inside the PDF margins.
    const QMarginsF m = printpage::pdfMarginsMm();
    const QRectF printable(m.left(), m.top(), 257.0 - m.left() - m.right(),
                           182.0 - m.top() - m.bottom());
    const QRect units = printpage::pageWindow();
    const double xScale = printable.width() / units.width();
    const double yScale = printable.height() / units.height();
    const QRectF placed = printpage::picturePlacement(picture);
    const QRectF expected(printable.left() + (placed.left() - units.left()) * xScale,
                          printable.top() + (placed.top() - units.top()) * yScale,
                          placed.width() * xScale, placed.height() * yScale);

    const QRectF got = pdfPictureRectMm(path);
    QVERIFY2(!got.isEmpty(), "no picture drawn in the PDF");
    // Qt keeps the sheet and its margins in whole points (0.35 mm).
    const double tolerance = 0.6; // mm
    QVERIFY2(qAbs(got.left() - expected.left()) < tolerance,
             qPrintable(QString::number(got.left())));
    QVERIFY2(qAbs(got.top() - expected.top()) < tolerance, qPrintable(QString::number(got.top())));
    QVERIFY2(qAbs(got.width() - expected.width()) < tolerance,
             qPrintable(QString::number(got.width())));
    QVERIFY2(qAbs(got.height() - expected.height()) < tolerance,
             qPrintable(QString::number(got.height())));
}

void tst_print_page::pdfRefusesEmptyPictureAndUnwritablePath()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("empty.pdf"));
    QVERIFY(!printpage::writePrintPagePdf(path, QImage()));
    QVERIFY(!QFile::exists(path));

    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QVERIFY(!printpage::writePrintPagePdf(dir.filePath(QStringLiteral("no/such/folder/p.pdf")),
                                          picture));
}

QTEST_GUILESS_MAIN(tst_print_page)
#include "tst_print_page.moc"
