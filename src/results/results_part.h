#pragma once
// The main window's three result commands: the checks, a picture of the
// preview with every point on it, and a fresh result window each time.

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

class DigitizingPart;
class LengthPart;
class PreviewWidget;
class QAbstractButton;
class QAction;
class QLineEdit;
class QWidget;
struct WindowState;

struct ResultsControls
{
    QWidget *window = nullptr; // the result windows' owner
    PreviewWidget *preview = nullptr;
    QLineEdit *lengthValue = nullptr;
    QAction *speedCommand = nullptr;
    QAction *distanceCommand = nullptr;
    QAbstractButton *speedButton = nullptr;
    QAbstractButton *distanceButton = nullptr;
    QAction *componentsCommand = nullptr;
    QAbstractButton *componentsButton = nullptr;
    QAction *momentumCommand = nullptr;
    QAbstractButton *momentumButton = nullptr;
    QAction *positionCommand = nullptr;
    QAbstractButton *positionButton = nullptr;
};

class ResultsPart : public QObject
{
    Q_OBJECT
public:
    ResultsPart(WindowState &state, DigitizingPart &digitizing, LengthPart &length,
                const ResultsControls &controls, QObject *parent = nullptr);

    void showSpeed();      // "時間と速さの結果表示(&S)" and "速さ"
    void showDistance();   // "時間と移動距離の結果表示(&D)" and "距離"
    void showComponents(); // "速度の成分と加速度(&A)" and "成分"
    void showMomentum();   // "運動量(&M)" and "運動量"
    // Another object was chosen: the windows of one object show it, or close
    // when it cannot be shown (too few points).
    void objectChosen();
    void showPosition(); // "位置と時間(&P)" and "位置"
    enum class Window
    {
        Speed,
        Distance,
        Components,
        Momentum,
        Position,
    };
    // The windows of `order` that are open, closed in that order: quitting
    // and switching camera-shake correction close the speed window first,
    // erasing every point the distance window first; the components and the
    // position window close last, then the momentum window.
    void closeWindows(const QList<Window> &order);
    static QList<Window> speedFirst()
    {
        return {Window::Speed, Window::Distance, Window::Components, Window::Position,
                Window::Momentum};
    }
    static QList<Window> distanceFirst()
    {
        return {Window::Distance, Window::Speed, Window::Components, Window::Position,
                Window::Momentum};
    }

    // The frame the main window shows (none without a video), marked in
    // every open result window and in each one opened later.
    void showCurrentFrame(std::optional<qint32> frame);

    QPointer<QWidget> &speedWindow() { return m_speed; }
    QPointer<QWidget> &distanceWindow() { return m_distance; }
    QPointer<QWidget> &componentsWindow() { return m_components; }
    QPointer<QWidget> &momentumWindow() { return m_momentum; }
    QPointer<QWidget> &positionWindow() { return m_position; }

signals:
    void changed();
    // A result window asks for the frame of one of its points.
    void frameChosen(qint32 frame);

private:
    QPointer<QWidget> &window(Window which);
    QString openingProblem() const;
    // `raiseTwips`: how much higher up the main window the window's picture
    // of the video is taken.
    template <typename Form>
    Form *open(QPointer<QWidget> &slot, int raiseTwips, const QString &problem);

    WindowState &m_state;
    DigitizingPart &m_digitizing;
    LengthPart &m_length;
    ResultsControls m_c;
    QPointer<QWidget> m_speed;
    QPointer<QWidget> m_distance;
    QPointer<QWidget> m_components;
    QPointer<QWidget> m_momentum;
    std::optional<qint32> m_currentFrame;
    QPointer<QWidget> m_position;
};
