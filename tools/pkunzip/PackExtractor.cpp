#include "PackExtractor.h"

#include "PackEntryNames.h"
#include "StagedInstall.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <array>
#include <memory>
#include <vector>
#include <zip.h>

namespace {

using Entry = PackEntryNames::Entry;

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

struct EntryCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using EntryFile = std::unique_ptr<zip_file_t, EntryCloser>;

QString ArchiveError(zip_t* archive) {
    return QString::fromLocal8Bit(zip_error_strerror(zip_get_error(archive)));
}

PackExtractor::Result Failure(const QString& message) {
    return {false, message, {}};
}

// Reads the pack's directory: names, sizes and checksums, nothing of the data yet.
QString ListEntries(zip_t* archive, const QString& packPath, std::vector<Entry>& entries) {
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t index = 0; index < count; ++index) {
        zip_stat_t stat;
        if (zip_stat_index(archive, zip_uint64_t(index), 0, &stat) != 0 ||
            !(stat.valid & ZIP_STAT_NAME) || !(stat.valid & ZIP_STAT_SIZE))
            return QStringLiteral("damaged pack %1: %2").arg(packPath, ArchiveError(archive));
        Entry entry;
        entry.Name = QString::fromUtf8(stat.name);
        entry.IsDirectory = entry.Name.endsWith(u'/') || entry.Name.endsWith(u'\\');
        entry.Size = stat.size;
        entry.Crc = (stat.valid & ZIP_STAT_CRC) ? stat.crc : 0;
        entries.push_back(entry);
    }
    return {};
}

// Everything that can be told from the directory alone.
QString CheckEntries(std::vector<Entry>& entries, quint64 sizeLimit,
                     const QString& targetDirectory) {
    quint64 total = 0;
    for (Entry& entry : entries) {
        entry.Path = PackEntryNames::RelativePath(entry.Name);
        if (!PackEntryNames::IsSafeEntryName(entry.Name) || entry.Path.isEmpty())
            return QStringLiteral("entry \"%1\" would land outside %2")
                .arg(entry.Name, targetDirectory);
        if (entry.Size > sizeLimit)
            return QStringLiteral("entry \"%1\" would unpack to %2 bytes, more than the %3 a "
                                  "pack may hold")
                .arg(entry.Name)
                .arg(entry.Size)
                .arg(sizeLimit);
        // Each term is at most the limit, so the sum cannot wrap.
        total += entry.Size;
        if (total > sizeLimit)
            return QStringLiteral("its entries would unpack to more than the %1 bytes a pack "
                                  "may hold")
                .arg(sizeLimit);
    }
    return PackEntryNames::FindClash(entries);
}

// Streams one entry into `path`, never holding more than a buffer of it. A size other than
// the header's is reported as such rather than as whatever the decompressor makes of it.
QString Unpack(zip_t* archive, zip_int64_t index, const Entry& entry, const QString& path,
               const QString& packPath) {
    const QString damaged = QStringLiteral("damaged pack %1: ").arg(packPath);
    EntryFile in(zip_fopen_index(archive, zip_uint64_t(index), 0));
    if (!in)
        return damaged + QStringLiteral("entry \"%1\": %2").arg(entry.Name, ArchiveError(archive));
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write %1: %2").arg(path, out.errorString());
    std::array<char, 64 * 1024> buffer;
    quint64 done = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(in.get(), buffer.data(), buffer.size());
        if (got < 0) {
            const QString reason =
                QString::fromLocal8Bit(zip_error_strerror(zip_file_get_error(in.get())));
            if (done < entry.Size)
                return damaged +
                       QStringLiteral("entry \"%1\" ends after %2 of the %3 bytes its header "
                                      "gives (%4)")
                           .arg(entry.Name)
                           .arg(done)
                           .arg(entry.Size)
                           .arg(reason);
            return damaged + QStringLiteral("entry \"%1\": %2").arg(entry.Name, reason);
        }
        if (got == 0)
            break;
        done += quint64(got);
        if (done > entry.Size)
            return damaged +
                   QStringLiteral("entry \"%1\" holds more than the %2 bytes its header gives")
                       .arg(entry.Name)
                       .arg(entry.Size);
        if (out.write(buffer.data(), got) != got)
            return QStringLiteral("cannot write %1: %2").arg(path, out.errorString());
    }
    if (done != entry.Size)
        return damaged + QStringLiteral("entry \"%1\" holds %2 bytes, but its header gives %3")
                             .arg(entry.Name)
                             .arg(done)
                             .arg(entry.Size);
    if (!out.flush())
        return QStringLiteral("cannot write %1: %2").arg(path, out.errorString());
    return {};
}

} // namespace

bool PackExtractor::IsSafeEntryName(const QString& name) {
    return PackEntryNames::IsSafeEntryName(name);
}

PackExtractor::Result PackExtractor::Extract(const QString& packPath,
                                             const QString& targetDirectory, quint64 sizeLimit) {
    int code = 0;
    Archive archive(zip_open(QFile::encodeName(packPath).constData(), ZIP_RDONLY, &code));
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const QString reason = QString::fromLocal8Bit(zip_error_strerror(&error));
        zip_error_fini(&error);
        return Failure(QStringLiteral("cannot read pack %1: %2").arg(packPath, reason));
    }

    std::vector<Entry> entries;
    if (QString error = ListEntries(archive.get(), packPath, entries); !error.isEmpty())
        return Failure(error);
    if (QString error = CheckEntries(entries, sizeLimit, targetDirectory); !error.isEmpty())
        return Failure(QStringLiteral("refused pack %1: %2").arg(packPath, error));

    // The temporary folder lies in the target folder itself, so the moves stay on one file
    // system and never copy.
    QTemporaryDir work(QDir(targetDirectory).filePath(QStringLiteral(".PKUNZIP-XXXXXX")));
    const QDir workDir(work.path());
    if (!work.isValid() || !workDir.mkdir(QStringLiteral("new")) ||
        !workDir.mkdir(QStringLiteral("old")))
        return Failure(QStringLiteral("cannot create a temporary folder in %1: %2")
                           .arg(targetDirectory, work.errorString()));
    StagedInstall install(targetDirectory, workDir.filePath(QStringLiteral("new")),
                          workDir.filePath(QStringLiteral("old")));
    if (QString error = install.CheckTarget(entries); !error.isEmpty())
        return Failure(QStringLiteral("refused pack %1: %2").arg(packPath, error));

    const QDir staging(workDir.filePath(QStringLiteral("new")));
    for (size_t index = 0; index < entries.size(); ++index) {
        const Entry& entry = entries[index];
        const QString path = staging.filePath(entry.Path);
        const QString folder = entry.IsDirectory ? path : QFileInfo(path).path();
        if (!QDir().mkpath(folder))
            return Failure(QStringLiteral("cannot create folder %1").arg(folder));
        if (entry.IsDirectory)
            continue;
        if (QString error = Unpack(archive.get(), zip_int64_t(index), entry, path, packPath);
            !error.isEmpty())
            return Failure(error);
    }

    if (QString error = install.Commit(entries); !error.isEmpty())
        return Failure(error);
    Result result;
    result.Ok = true;
    for (const Entry& entry : entries)
        if (!entry.IsDirectory)
            result.Extracted << entry.Name;
    return result;
}
