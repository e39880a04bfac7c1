#include "MemoryBudget.h"

#include <QByteArray>
#include <QFile>
#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

QByteArray ReadText(const char* path) {
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(1 << 16);
}

// A number of bytes written as digits, or -1.
double Bytes(const char* text) {
    if (!text || *text < '0' || *text > '9')
        return -1;
    return std::strtod(text, nullptr);
}

} // namespace

double MemoryBudget::FromTexts(const char* meminfo, const char* limit, const char* current) {
    double available = 0;
    if (meminfo) {
        if (const char* at = std::strstr(meminfo, "MemAvailable:")) {
            at += std::strlen("MemAvailable:");
            while (*at == ' ' || *at == '\t')
                ++at;
            const double kib = Bytes(at);
            if (kib > 0)
                available = kib * 1024.0;
        }
    }
    const double most = Bytes(limit), used = Bytes(current);
    if (most > 0) {
        const double left = std::max(0.0, most - std::max(0.0, used));
        available = available > 0 ? std::min(available, left) : left;
    }
    return available;
}

double MemoryBudget::AvailableBytes() {
    const QByteArray meminfo = ReadText("/proc/meminfo");
    const QByteArray limit = ReadText("/sys/fs/cgroup/memory.max");
    const QByteArray current = ReadText("/sys/fs/cgroup/memory.current");
    return FromTexts(meminfo.isEmpty() ? nullptr : meminfo.constData(),
                     limit.isEmpty() ? nullptr : limit.constData(),
                     current.isEmpty() ? nullptr : current.constData());
}
