#include "results/results_part.h"

#include "base/measurement_state.h"
#include "base/window_state.h"
#include "digitize/digitizing_part.h"
#include "digitize/length_part.h"
#include "platform/frame_source.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "results/frmMomentum.h"
#include "results/frmResult1.h"
#include "results/frmResult2.h"
#include "results/frmResult3.h"
#include "results/frmResult4.h"
#include "results/momentum_results.h"
#include "results/preview_picture.h"
#include "results/result_opening.h"
#include "video/preview_widget.h"

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <type_traits>

ResultsPart::ResultsPart(WindowState &state, DigitizingPart &digitizing, LengthPart &length,
                         const ResultsControls &controls, QObject *parent)
    : QObject(parent), m_state(state), m_digitizing(digitizing), m_length(length), m_c(controls)
{
    connect(m_c.speedCommand, &QAction::triggered, this, &ResultsPart::showSpeed);
    connect(m_c.distanceCommand, &QAction::triggered, this, &ResultsPart::showDistance);
    connect(m_c.speedButton, &QAbstractButton::clicked, this, &ResultsPart::showSpeed);
    connect(m_c.distanceButton, &QAbstractButton::clicked, this, &ResultsPart::showDistance);
    connect(m_c.componentsCommand, &QAction::triggered, this, &ResultsPart::showComponents);
    connect(m_c.componentsButton, &QAbstractButton::clicked, this, &ResultsPart::showComponents);
    connect(m_c.momentumCommand, &QAction::triggered, this, &ResultsPart::showMomentum);
    connect(m_c.momentumButton, &QAbstractButton::clicked, this, &ResultsPart::showMomentum);
    connect(&m_digitizing, &DigitizingPart::objectChosen, this, &ResultsPart::objectChosen);
    connect(m_c.positionCommand, &QAction::triggered, this, &ResultsPart::showPosition);
    connect(m_c.positionButton, &QAbstractButton::clicked, this, &ResultsPart::showPosition);
    connect(&m_digitizing, &DigitizingPart::resultsOutdated, this, [this](MeasurementGone how) {
        closeWindows(how == MeasurementGone::AllPointsErased ? distanceFirst() : speedFirst());
    });
}

void ResultsPart::showSpeed()
{
    open<frmResult1>(m_speed, 0, openingProblem());
    emit changed();
}

void ResultsPart::showDistance()
{
    open<frmResult2>(m_distance, 150, openingProblem());
    emit changed();
}

void ResultsPart::showComponents()
{
    open<frmResult3>(m_components, 0, openingProblem());
    emit changed();
}

void ResultsPart::showMomentum()
{
    const QString problem =
        results::momentumProblemMessage(results::momentumOpeningProblem(measurementState()));
    if (frmMomentum *window = open<frmMomentum>(m_momentum, 0, problem))
        connect(window, &frmMomentum::massesChanged, this, &ResultsPart::changed);
    emit changed();
}

QString ResultsPart::openingProblem() const
{
    return results::resultOpeningProblem(m_c.lengthValue->text(), measurementState());
}

void ResultsPart::objectChosen()
{
    for (QPointer<QWidget> *slot : {&m_speed, &m_distance, &m_components, &m_position}) {
        auto *window = qobject_cast<ResultWindow *>(slot->data());
        if (window && !window->reloadQuietly())
            window->close();
    }
}

void ResultsPart::showCurrentFrame(std::optional<qint32> frame)
{
    m_currentFrame = frame;
    // Every result window there is, whichever command opened it.
    for (ResultWindow *window :
         m_c.window->findChildren<ResultWindow *>(Qt::FindDirectChildrenOnly))
        window->showCurrentFrame(frame);
}

void ResultsPart::showPosition()
{
    open<frmResult4>(m_position, 0, openingProblem());
    emit changed();
}

void ResultsPart::closeWindows(const QList<Window> &order)
{
    for (Window which : order) {
        if (const QPointer<QWidget> &open = window(which))
            open->close();
    }
}

QPointer<QWidget> &ResultsPart::window(Window which)
{
    switch (which) {
    case Window::Speed:
        return m_speed;
    case Window::Distance:
        return m_distance;
    case Window::Components:
        return m_components;
    case Window::Position:
        return m_position;
    case Window::Momentum:
        break;
    }
    return m_momentum;
}

template <typename Form>
Form *ResultsPart::open(QPointer<QWidget> &slot, int raiseTwips, const QString &problem)
{
    // Every command starts from a new window.
    if (slot)
        slot->close();

    if (!problem.isEmpty()) {
        platform().prompts->message(problem);
        return nullptr;
    }

    // The picture is taken with every plotted point on it, and with "基準"
    // where the window now puts it.
    if (m_state.DataOpened) {
        m_digitizing.showAllMarkers();
        emit changed();
    }
    const QImage picture =
        results::previewPicture(m_c.preview->renderedPicture(), previewBox(), raiseTwips / 15,
                                m_c.window->palette().color(QPalette::Window));
    m_length.clearDrawing();

    auto *window = new Form(m_c.window);
    window->setPreview(picture);
    if constexpr (!std::is_same_v<Form, frmMomentum>) {
        QPointer<QLineEdit> lengthBox(m_c.lengthValue);
        window->setOpeningCheck([lengthBox] {
            const QString text =
                lengthBox ? lengthBox->text() : QString::number(measurementState().RefLengthValue);
            return results::resultOpeningProblem(text, measurementState());
        });
    }
    window->showCurrentFrame(m_currentFrame);
    const results::DataCheck check = window->load();
    if (!check.ok()) {
        platform().prompts->message(results::dataProblemMessage(check));
        delete window;
        return nullptr;
    }
    connect(window, &ResultWindow::frameChosen, this, &ResultsPart::frameChosen);
    window->show();
    slot = window;
    return window;
}
