#pragma once
// Picture buttons whose disabled look matches the disabled captions of the
// text buttons beside them: the picture's shape filled with the palette's
// disabled text colour, drawn at whatever size and screen scale is asked for.
// (The style's own disabled picture keeps most of the picture's darkness, so
// a disabled picture button still looks usable.)

#include <QIcon>

QIcon withPlainDisabledLook(const QIcon &icon);
