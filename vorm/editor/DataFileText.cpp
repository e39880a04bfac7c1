#include "DataFileText.h"

#include "DosCodePage.h"
#include "VormError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

const char* const CodePage = "windows-1251";

QString SaveFailure(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot save %1: %2").arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

std::optional<DataFileText::Loaded> DataFileText::Load(const QString& path) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return Decode(bytes);
}

DataFileText::Loaded DataFileText::Decode(const QByteArray& bytes) {
    Loaded loaded;
    loaded.DosEncoded = DosCodePage::IsDosEncoded(bytes);
    QStringDecoder decoder(CodePage);
    loaded.Text = decoder(loaded.DosEncoded ? DosCodePage::FromDos(bytes) : bytes);
    loaded.Text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    loaded.Text.replace(u'\r', u'\n');
    return loaded;
}

QByteArray DataFileText::Encode(const QString& text, bool dosEncoded) {
    QString lines = text;
    if (!lines.isEmpty() && !lines.endsWith(u'\n'))
        lines += u'\n';
    lines.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    QStringEncoder encoder(CodePage);
    QByteArray bytes = encoder.encode(lines);
    // The encoder puts a substitute in place of a character the code page lacks; reading the
    // bytes back shows whether anything was lost.
    QStringDecoder decoder(CodePage);
    if (encoder.hasError() || QString(decoder(bytes)) != lines) {
        const QStringList all = text.split(u'\n');
        for (qsizetype i = 0; i < all.size(); ++i) {
            QStringEncoder lineEncoder(CodePage);
            QStringDecoder lineDecoder(CodePage);
            if (QString(lineDecoder(QByteArray(lineEncoder.encode(all[i])))) != all[i])
                throw VormError(QStringLiteral("Line %1 holds a character that the Windows "
                                               "Cyrillic code page cannot store")
                                    .arg(i + 1));
        }
        throw VormError(QStringLiteral("The text cannot be stored in the Windows Cyrillic code "
                                       "page"));
    }
    return dosEncoded ? DosCodePage::ToDos(bytes) : bytes;
}

void DataFileText::Save(const QString& path, const QString& text, bool dosEncoded) {
    const QByteArray bytes = Encode(text, dosEncoded);
    const QFileInfo info(path);
    // Replacing the file through a temporary one would get past a read-only file; a file
    // without any write permission counts as read-only even for the superuser.
    const auto writeBits =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (info.exists() && (info.isDir() || !info.isWritable() || !(info.permissions() & writeBits)))
        throw VormError(SaveFailure(path, QStringLiteral("File access denied")));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw VormError(SaveFailure(path, file.errorString()));
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw VormError(SaveFailure(path, reason));
    }
    if (!file.commit())
        throw VormError(SaveFailure(path, file.errorString()));
}
