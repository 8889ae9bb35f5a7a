#pragma once
// Where a file's video stream begins on the container's own clock. MPEG
// program streams start it above zero (half a second or so), and a media
// player that reports positions on that clock must have it subtracted to
// count from the first picture.

#include <QString>

// Seconds; 0 when the file has no video stream, no start time or cannot be read.
double videoStartSeconds(const QString &path);
