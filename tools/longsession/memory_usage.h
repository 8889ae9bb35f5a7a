#pragma once
// The process's memory as the session reports it: the resident set from
// /proc and the bytes the C heap has handed out and not taken back.

#include <QString>

struct MemoryUsage
{
    long residentKb = 0; // VmRSS
    long heapKb = 0;     // in use on the malloc heap

    static MemoryUsage now();
};

// One report line: "<label>  VmRSS <n> kB  heap <n> kB".
QString memoryLine(const QString &label, const MemoryUsage &usage);
