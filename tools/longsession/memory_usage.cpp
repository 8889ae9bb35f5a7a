#include "memory_usage.h"

#include <QFile>
#include <malloc.h>

MemoryUsage MemoryUsage::now()
{
    MemoryUsage usage;
    // Freed heap pages go back to the system first, so the resident figure
    // is not inflated by memory that is already free.
    malloc_trim(0);
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> lines = status.readAll().split('\n');
        for (const QByteArray &line : lines) {
            if (line.startsWith("VmRSS:"))
                usage.residentKb = line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
    const struct mallinfo2 info = mallinfo2();
    usage.heapKb = long((info.uordblks + info.hblkhd) / 1024);
#endif
    return usage;
}

QString memoryLine(const QString &label, const MemoryUsage &usage)
{
    // Under AddressSanitizer the C heap is not glibc's and reports nothing.
    const QString heap = usage.heapKb > 0 ? QString::number(usage.heapKb) : QStringLiteral("-");
    return QStringLiteral("%1 VmRSS %2 kB  heap %3 kB")
        .arg(label, -34)
        .arg(usage.residentKb, 7)
        .arg(heap, 7);
}
