#pragma once
// What the tracked object looks like, anchored to how it was clicked: the
// start patch (also turned, for an object that turns as it goes: a sticker
// on a wheel, a rolling disc), key patches of frames that were confirmed
// with a clear margin (a look that changed: blur, a bent leg), and the
// running patch of the last such frame. Only confident frames teach it, and
// each of them must have matched the start patch or a key patch first: a
// look that slides off the object a little at a time is never learnt.
//
// Pictures are 8-bit B G R X frames; positions are full-resolution pixels.

#include <opencv2/core.hpp>

#include <map>
#include <vector>

class ObjectLook
{
public:
    // Key patches kept besides the start patch.
    static constexpr size_t MaxKeys = 6;

    // `turns`: the object may turn (not symmetric about the point clicked).
    void start(const cv::Mat &bgra, cv::Point2d at, int half, bool turns, double frame);
    int half() const { return m_half; }
    const cv::Mat &running() const { return m_running; }
    // A larger running patch (a blob smeared by motion blur).
    void resize(const cv::Mat &bgra, cv::Point2d at, int half);

    // The angles to try on `frame`, degrees, around the turn predicted.
    std::vector<double> anglesFor(double frame) const;
    // The start patch turned by `angle` about the point clicked.
    const cv::Mat &turned(double angle);

    // Per place of `region`, the best of the running patch and the start
    // patch at each angle to try (pictures shrunk by `shrink` first, the map
    // of full size); as matchMap().
    cv::Mat candidateMap(const cv::Mat &region, int shrink, double frame);

    struct Anchor
    {
        cv::Point2d centre;
        double score = -1;
        double angle = 0;
    };
    // Where the start patch, turned, matches best within `reach` of `near`.
    Anchor anchorNear(const cv::Mat &bgra, cv::Point2d near, double reach, double frame);
    // How well the picture at `centre` (within a pixel) matches the object as
    // it was clicked or confidently seen: the start patch turned as
    // predicted, and every key patch.
    double anchoredScore(const cv::Mat &bgra, cv::Point2d centre, double frame);

    // How well the inner half of the start patch, turned by `angle`, matches
    // at `centre` (within a pixel): the look right at the point clicked,
    // which slides first when the object changes shape around it.
    double innerScore(const cv::Mat &bgra, cv::Point2d centre, double angle);

    // A frame confirmed at `centre`; `angle` as found (turning objects) and
    // `confident`: confirmed with a clear margin, its look may be learnt.
    void confirm(const cv::Mat &bgra, cv::Point2d centre, double frame, const Anchor *anchor,
                 bool confident);

private:
    int m_half = 0;
    bool m_turns = false;
    cv::Mat m_wide; // the start patch with room to turn it
    cv::Mat m_start, m_running;
    std::vector<cv::Mat> m_keys;
    std::map<int, cv::Mat> m_turned; // by tenths of a degree
    // The turn: the angle found on the last confirmed frame and per frame.
    double m_angle = 0, m_spin = 0, m_angleFrame = 0;
    int m_angles = 0; // frames the angle was found on
};
