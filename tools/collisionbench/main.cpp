// The collision lesson measured through the real main window (offscreen):
// for each generated collision clip, carts Ａ and Ｂ are plotted by clicks on
// their marks (the whole pixel under each true centre) or by automatic
// tracking from one click, the masses are typed into the momentum window,
// and its totals before and after the collision are printed beside the
// truth. For the kinetic energy it also prints the bound that clicks to the
// nearest pixel allow: every velocity may be off by one pixel over its
// interval.
//
//   collisionbench <elastic clip> <inelastic clip> [picture folder]
//
// With a folder, the momentum window of the tracked elastic clip is saved
// there as result_momentum.png (the README's picture).

#include "app/frmMain.h"
#include "app/japanese_qt_texts.h"
#include "base/app_paths.h"
#include "base/measurement_objects.h"
#include "base/measurement_state.h"
#include "collision_scene.h"
#include "platform/platform.h"
#include "platform/qt_platform.h"
#include "printhelp/print_page.h"
#include "results/frmMomentum.h"
#include "results/results_part.h"
#include "video/preview_widget.h"
#include "video/video_part.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <cmath>

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

bool settle(frmMain &main)
{
    return QTest::qWaitFor([&main] { return main.state().InputPauseOver; }, 5000);
}

void click(frmMain &main, QPointF at)
{
    QTest::mouseClick(main.picPreview, Qt::LeftButton, {},
                      QPoint(int(std::floor(at.x())), int(std::floor(at.y()))));
}

bool plotCart(frmMain &main, int cart, bool elastic, bool tracked)
{
    main.cmbObject->setCurrentIndex(cart);
    emit main.cmbObject->activated(cart);
    for (int f = 0; f < CollisionScene::Frames; ++f) {
        main.ctrlSlider->setValue(f);
        if (!settle(main))
            return false;
        click(main, CollisionScene::markCentre(cart, f, elastic));
        if (tracked) {
            main.cmdTrack->click();
            QTest::qWaitFor([&main] { return !main.state().Tracking; }, 120000);
            break;
        }
    }
    return measurementState().PointCount > 1;
}

struct Truth
{
    double momentum, energyBefore, energyAfter;
};

Truth truthOf(bool elastic)
{
    const double mA = CollisionScene::MassA, mB = CollisionScene::MassB;
    const double vA = CollisionScene::speedAfter(0, elastic);
    const double vB = CollisionScene::speedAfter(1, elastic);
    return {mA * CollisionScene::SpeedA, mA * CollisionScene::SpeedA * CollisionScene::SpeedA / 2,
            (mA * vA * vA + mB * vB * vB) / 2};
}

// How far the mean energy of rows [begin, end) can be from the truth when
// every velocity is off by up to a pixel over its interval.
double energyBound(const results::MomentumResults &r, int begin, int end, double pixelSpeed)
{
    double sum = 0;
    for (int k = begin; k < end; ++k)
        for (size_t i = 0; i < r.objects.size(); ++i) {
            const double v = std::hypot(r.rows[k].vx[i], r.rows[k].vy[i]);
            sum += r.masses[i] * (v * pixelSpeed + pixelSpeed * pixelSpeed / 2);
        }
    return end > begin ? sum / (end - begin) : 0;
}

bool measure(const QString &clip, bool elastic, bool tracked, const QString &pictures)
{
    resetMeasurementState();
    frmMain main;
    main.show();
    if (!QTest::qWaitForWindowExposed(&main) || !main.video().openVideoFile(clip) || !settle(main))
        return false;
    measurementState().ClickAction = 0;
    // The ruler's 0 and 100 cm marks.
    const double y = CollisionScene::TrackY + 40;
    main.cmdLength->click();
    click(main, {CollisionScene::RulerLeft + 0.5, y});
    click(main, {CollisionScene::RulerLeft + CollisionScene::PixelsPerMetre + 0.5, y});
    main.txtLengthValue->setText(QStringLiteral("100"));
    main.cmdLength->click();
    if (!plotCart(main, 0, elastic, tracked) || !plotCart(main, 1, elastic, tracked))
        return false;

    if (!pictures.isEmpty() && elastic && tracked)
        main.grab().save(QDir(pictures).filePath(QStringLiteral("main_window_objects.png")));
    main.cmdMomentum->click();
    auto *window = qobject_cast<frmMomentum *>(main.results().momentumWindow().data());
    if (!window)
        return false;
    for (const auto &[box, grams] : {std::pair{0, "500"}, std::pair{1, "250"}}) {
        window->txtMass[box]->setText(QString::fromLatin1(grams));
        window->txtMass[box]->setModified(true);
        emit window->txtMass[box]->editingFinished();
    }
    const results::MomentumResults &r = window->results();
    const Truth truth = truthOf(elastic);
    const int n = int(r.rows.size());
    const int k = r.collision;
    // One pixel over one frame, in m/s.
    const double pixelSpeed = CollisionScene::FramesPerSecond / CollisionScene::PixelsPerMetre;
    out() << (elastic ? "elastic  " : "inelastic") << (tracked ? " tracked" : " clicked")
          << ": points " << objects::pointCount(measurementState(), 0) << " + "
          << objects::pointCount(measurementState(), 1) << ", shared intervals " << n
          << ", left out " << r.leftOut << ", collision at " << r.collisionTime << " s (truth "
          << CollisionScene::CollisionTime << ")\n";
    out() << "  momentum before " << r.sums.beforeX << " after " << r.sums.afterX
          << " kg m/s (truth " << truth.momentum << " both)\n";
    out() << "  energy before " << r.sums.energyBefore << " after " << r.sums.energyAfter
          << " J (truth " << truth.energyBefore << " / " << truth.energyAfter << "); bound "
          << energyBound(r, 0, std::max(k - 1, 1), pixelSpeed) << " / "
          << energyBound(r, std::min(k + 1, n - 1), n, pixelSpeed) << " J\n";
    out() << "  summary: "
          << window->summary().replace(QStringLiteral("\r\n"), QStringLiteral(" | ")) << "\n";
    if (!pictures.isEmpty() && elastic && tracked) {
        QTest::qWait(300);
        window->grab().save(QDir(pictures).filePath(QStringLiteral("result_momentum.png")));
    }
    out().flush();
    window->close();
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("キネモ"));
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPointSize(10);
    QApplication::setFont(font);
    installJapaneseQtTexts(app);
    if (argc != 3 && argc != 4) {
        QTextStream(stderr)
            << "usage: collisionbench <elastic clip> <inelastic clip> [picture folder]\n";
        return 2;
    }
    QTemporaryDir programFolder;
    setProgramFolder(programFolder.path());
    setUserConfigFolder(programFolder.filePath(QStringLiteral("config")));
    setUserDataFolder(programFolder.filePath(QStringLiteral("data")));
    installPlatform(makeQtPlatform(printpage::drawing()));
    const QString pictures = argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString();
    bool ok = true;
    for (bool tracked : {false, true})
        for (bool elastic : {true, false})
            ok = measure(QString::fromLocal8Bit(argv[elastic ? 1 : 2]), elastic, tracked,
                         pictures) &&
                 ok;
    return ok ? 0 : 1;
}
