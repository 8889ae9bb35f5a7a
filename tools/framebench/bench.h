#pragma once
// framebench --bench: timings of the preview's frame source on one clip, in
// one JSON line (see bench.cpp for what is measured).

#include <QJsonObject>
#include <QSize>
#include <QString>

struct BenchOptions
{
    QString path;
    QSize pictureSize;
    quint32 seed = 1;
    int tickMs = 100;       // requests come at most once per refresh tick
    int fillWaitMs = 10000; // longest wait for the background decoder
    bool timings = true;    // the step, jump and seek timings
    bool walk = false;      // memory while stepping through the whole clip
    bool background = true; // the background decoder runs
};

// Fills `report`; false when the clip cannot be measured.
bool runBench(const BenchOptions &options, QJsonObject &report);
