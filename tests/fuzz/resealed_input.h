#pragma once
// The recovery file and the measurement file end in a digest of everything
// before it, which nearly every change to an input breaks. A fuzz target of
// theirs checks each input as it is and once more with its digest made
// anew, so that the checks behind the digest are reached.

#include <QByteArray>
#include <QCryptographicHash>
#include <cstddef>
#include <cstdint>

template <typename Check>
int checkAsIsAndResealed(const uint8_t *bytes, size_t size, qint64 maxBytes, Check check)
{
    if (size > size_t(maxBytes))
        return 0;
    const QByteArray input(reinterpret_cast<const char *>(bytes), qsizetype(size));
    check(input);
    const qsizetype digest = input.lastIndexOf("sha256 ");
    const QByteArray body = input.left(digest < 0 ? input.size() : digest);
    check(body + "sha256 " + QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex() +
          '\n');
    return 0;
}
