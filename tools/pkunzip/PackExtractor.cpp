#include "PackExtractor.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <memory>
#include <vector>
#include <zip.h>

namespace {

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

struct EntryCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using Entry = std::unique_ptr<zip_file_t, EntryCloser>;

struct PackFile {
    QString Name;
    bool IsDirectory = false;
    QByteArray Data;
};

QString ArchiveError(zip_t* archive) {
    return QString::fromLocal8Bit(zip_error_strerror(zip_get_error(archive)));
}

PackExtractor::Result Failure(const QString& message) {
    return {false, message, {}};
}

} // namespace

bool PackExtractor::IsSafeEntryName(const QString& name) {
    if (name.isEmpty() || name.startsWith(u'/') || name.startsWith(u'\\'))
        return false;
    if (name.size() >= 2 && name[1] == u':')
        return false;
    const QStringList parts = QString(name).replace(u'\\', u'/').split(u'/');
    for (const QString& part : parts)
        if (part == QStringLiteral(".."))
            return false;
    return true;
}

PackExtractor::Result PackExtractor::Extract(const QString& packPath,
                                             const QString& targetDirectory) {
    int code = 0;
    Archive archive(zip_open(QFile::encodeName(packPath).constData(), ZIP_RDONLY, &code));
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const QString reason = QString::fromLocal8Bit(zip_error_strerror(&error));
        zip_error_fini(&error);
        return Failure(QStringLiteral("cannot read pack %1: %2").arg(packPath, reason));
    }

    // Check and read everything first.
    std::vector<PackFile> files;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t index = 0; index < count; ++index) {
        zip_stat_t stat;
        if (zip_stat_index(archive.get(), zip_uint64_t(index), 0, &stat) != 0 ||
            !(stat.valid & ZIP_STAT_NAME) || !(stat.valid & ZIP_STAT_SIZE))
            return Failure(
                QStringLiteral("damaged pack %1: %2").arg(packPath, ArchiveError(archive.get())));
        PackFile file;
        file.Name = QString::fromUtf8(stat.name);
        if (!IsSafeEntryName(file.Name))
            return Failure(QStringLiteral("refused pack %1: entry \"%2\" would land outside %3")
                               .arg(packPath, file.Name, targetDirectory));
        file.IsDirectory = file.Name.endsWith(u'/');
        if (!file.IsDirectory) {
            Entry entry(zip_fopen_index(archive.get(), zip_uint64_t(index), 0));
            if (!entry)
                return Failure(QStringLiteral("damaged pack %1: %2: %3")
                                   .arg(packPath, file.Name, ArchiveError(archive.get())));
            file.Data.resize(qsizetype(stat.size));
            zip_int64_t done = 0;
            while (done < zip_int64_t(stat.size)) {
                const zip_int64_t got = zip_fread(entry.get(), file.Data.data() + done,
                                                  zip_uint64_t(stat.size) - zip_uint64_t(done));
                if (got <= 0)
                    break;
                done += got;
            }
            // Reading past the end makes libzip check the entry's checksum.
            char probe = 0;
            if (done != zip_int64_t(stat.size) || zip_fread(entry.get(), &probe, 1) != 0)
                return Failure(QStringLiteral("damaged pack %1: %2: %3")
                                   .arg(packPath, file.Name,
                                        QString::fromLocal8Bit(
                                            zip_error_strerror(zip_file_get_error(entry.get())))));
        }
        files.push_back(std::move(file));
    }

    Result result;
    const QDir target(targetDirectory);
    for (const PackFile& file : files) {
        const QString path = target.filePath(file.Name);
        if (file.IsDirectory) {
            if (!target.mkpath(file.Name))
                return Failure(QStringLiteral("cannot create directory %1").arg(path));
            continue;
        }
        if (!QFileInfo(path).absoluteDir().mkpath(QStringLiteral(".")))
            return Failure(QStringLiteral("cannot create directory for %1").arg(path));
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(file.Data) != file.Data.size() ||
            !out.commit())
            return Failure(QStringLiteral("cannot write %1: %2").arg(path, out.errorString()));
        result.Extracted << file.Name;
    }
    result.Ok = true;
    return result;
}
