#include "frame_number_pattern.h"

#include <QPainter>
#include <array>

namespace framenumber {
namespace {

constexpr int Columns = 4;
constexpr int Rows = 4;
constexpr int DataBits = 11;
// Grid cells (row * 4 + column) holding bit 0..10, then the parity bit.
constexpr std::array<int, DataBits + 1> DataCells = {1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14};
constexpr int BlackCorner = 0;
constexpr std::array<int, 3> WhiteCorners = {3, 12, 15};

int parityOf(int number)
{
    int bits = 0;
    for (int i = 0; i < DataBits; ++i)
        bits += (number >> i) & 1;
    return bits & 1;
}

QRect cellRect(int cell, QSize size)
{
    const int column = cell % Columns;
    const int row = cell / Columns;
    const int left = column * size.width() / Columns;
    const int top = row * size.height() / Rows;
    const int right = (column + 1) * size.width() / Columns;
    const int bottom = (row + 1) * size.height() / Rows;
    return QRect(left, top, right - left, bottom - top);
}

// 1 for black, 0 for white, -1 for a cell that is neither.
int cellValue(const QImage &image, int cell)
{
    const QRect whole = cellRect(cell, image.size());
    // The middle half of the cell, away from compression ringing at edges.
    const QRect middle(whole.left() + whole.width() / 4, whole.top() + whole.height() / 4,
                       std::max(1, whole.width() / 2), std::max(1, whole.height() / 2));
    qint64 sum = 0;
    int count = 0;
    for (int y = middle.top(); y <= middle.bottom(); ++y) {
        for (int x = middle.left(); x <= middle.right(); ++x) {
            sum += qGray(image.pixel(x, y));
            ++count;
        }
    }
    const double mean = double(sum) / count;
    if (mean < 80)
        return 1;
    if (mean > 175)
        return 0;
    return -1;
}

} // namespace

QImage pattern(int number, QSize size)
{
    QImage image(size, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    auto paintBlack = [&](int cell) { painter.fillRect(cellRect(cell, size), Qt::black); };
    paintBlack(BlackCorner);
    for (int bit = 0; bit < DataBits; ++bit) {
        if ((number >> bit) & 1)
            paintBlack(DataCells[bit]);
    }
    if (parityOf(number))
        paintBlack(DataCells[DataBits]);
    return image;
}

int read(const QImage &image)
{
    if (image.width() < Columns * 2 || image.height() < Rows * 2)
        return -1;
    if (cellValue(image, BlackCorner) != 1)
        return -1;
    for (int cell : WhiteCorners) {
        if (cellValue(image, cell) != 0)
            return -1;
    }
    int number = 0;
    for (int bit = 0; bit < DataBits; ++bit) {
        const int value = cellValue(image, DataCells[bit]);
        if (value < 0)
            return -1;
        number |= value << bit;
    }
    if (cellValue(image, DataCells[DataBits]) != parityOf(number))
        return -1;
    return number;
}

} // namespace framenumber
