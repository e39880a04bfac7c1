#pragma once

#include <QString>

class QDir;

// The result files that the package's solvers leave beside a data file: the data file's
// name up to and including its last "." followed by "bin" or "bi0", starting with the
// eight bytes "QVRESULT". Tidying them must never touch a file that merely shares the
// pattern, such as a bibliography "refs.bib" or a firmware image "firmware.bin".
class PackageResults {
public:
    // Whether the file starts with the package's result header.
    static bool IsPackageResult(const QString& path);
    // The name up to and including its last "."; empty for a name without one.
    static QString BaseOf(const QString& fileName);
    // Whether `directory` holds a data file of that base: base + "d" or "p" and two more
    // characters (x.d05, x.p07, x.dat).
    static bool HasDataFile(const QDir& directory, const QString& base);

    // Deletes every package result file in `directory` whose data file is gone. Failures
    // to delete are ignored. Returns how many files went.
    static int RemoveOrphans(const QString& directory);
    // Deletes the package result files of a data file that has vanished, unless another
    // data file of the same base is still there.
    static int RemoveResultsOf(const QString& vanishedDataFile);
};
