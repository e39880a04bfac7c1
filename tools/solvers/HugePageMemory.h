#pragma once

#include <QByteArray>

// A large run touches hundreds of megabytes of fresh memory. In 4 KiB pages the kernel's page
// faults alone took a third of the time of a 100,000-node frame; in 2 MiB pages they vanish.
// Where the kernel gives huge pages only on request, glibc makes that request for its heap when
// its tunable says so, and it reads its tunables only as a program starts. A solver therefore
// starts itself once more, in place, with the tunable set.
class HugePageMemory {
public:
    // The GLIBC_TUNABLES value that adds the request to `current` (may be null); empty when the
    // user has already chosen, either way.
    static QByteArray Tunables(const char* current);
    // Whether the kernel, by the text of its transparent_hugepage/enabled switch, gives huge
    // pages only to memory that asks for them.
    static bool OnRequestOnly(const QByteArray& kernelSetting);
    // Whether an argument names a data file large enough for its model to take the memory
    // that huge pages speed up. A small run would only pay for loading its libraries twice
    // (half a second, and seconds under a sanitizer, for every solver a test starts).
    static bool NamesLargeFile(char* argv[]);
    // Starts this program again in the same process (same arguments, files and process id)
    // with huge pages requested, where that helps; returns when it did not.
    static void Request(char* argv[]);
};
