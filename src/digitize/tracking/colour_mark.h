#pragma once
// The object's own colour where it stands out from what is around it (a
// green sticker on a black tyre, a red dot on a blue cart): what stays when
// the object turns, blurs or passes in front of a pattern. On each frame the
// patches of that colour and of about the object's size are found; the
// point clicked is carried along on its patch, turned as the patch turned.
//
// Pictures are 8-bit B G R regions; positions are pixels of the region.

#include <opencv2/core.hpp>

#include <vector>

class ColourMark
{
public:
    // From the colour at the point clicked `core` and the colour around it
    // `around`; false when they are too alike for the colour to single the
    // object out, or no patch of it lies at `at`.
    bool start(const cv::Mat &bgr, cv::Point2d at, const cv::Scalar &core,
               const cv::Scalar &around);
    bool usable() const { return m_usable; }

    struct Spot
    {
        cv::Point2d point;  // where the point clicked lies on it
        cv::Point2d centre; // of the patch of colour
        double turn = 0;    // degrees since the start (elongated patches)
    };
    // The patches of the colour in `bgr`, clear of its edge, of about the
    // object's size.
    std::vector<Spot> spots(const cv::Mat &bgr) const;
    // The spot confirmed: its turn is the one later turns follow on from.
    void confirm(const Spot &spot) { m_turn = spot.turn; }

private:
    bool m_usable = false;
    cv::Vec3d m_colour;
    double m_tolerance = 0;
    double m_area = 0;
    bool m_elongated = false;
    double m_axis = 0;    // degrees, of the patch at the start
    double m_turn = 0;    // degrees, when last confirmed
    cv::Point2d m_offset; // the point clicked from the patch's centre
};
