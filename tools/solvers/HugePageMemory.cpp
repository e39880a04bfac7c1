#include "HugePageMemory.h"

#include <QFile>
#include <QFileInfo>
#include <cstdlib>
#include <unistd.h>

namespace {

constexpr char Variable[] = "GLIBC_TUNABLES";
constexpr char Tunable[] = "glibc.malloc.hugetlb";
// About 20,000 nodes with their elements: from here a model's matrices take hundreds of
// megabytes.
constexpr qint64 LargeFile = 1 << 20;

} // namespace

QByteArray HugePageMemory::Tunables(const char* current) {
    const QByteArray existing(current ? current : "");
    if (existing.contains(Tunable))
        return {};
    const QByteArray request = QByteArray(Tunable) + "=1";
    return existing.isEmpty() ? request : existing + ':' + request;
}

bool HugePageMemory::OnRequestOnly(const QByteArray& kernelSetting) {
    return kernelSetting.contains("[madvise]");
}

bool HugePageMemory::NamesLargeFile(char* argv[]) {
    for (int i = 1; argv && argv[i]; ++i) {
        const QFileInfo file(QString::fromLocal8Bit(argv[i]));
        if (file.isFile() && file.size() >= LargeFile)
            return true;
    }
    return false;
}

void HugePageMemory::Request(char* argv[]) {
#if defined(__linux__) && defined(__GLIBC__)
    QFile setting(QStringLiteral("/sys/kernel/mm/transparent_hugepage/enabled"));
    if (!setting.open(QIODevice::ReadOnly) || !OnRequestOnly(setting.readAll()))
        return;
    const QByteArray tunables = Tunables(std::getenv(Variable));
    if (tunables.isEmpty() || setenv(Variable, tunables.constData(), 1) != 0)
        return;
    execv("/proc/self/exe", argv);
    // Not restarted: the run goes on in small pages, as it would have without this.
#else
    Q_UNUSED(argv);
#endif
}
