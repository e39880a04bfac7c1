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
    if (loaded.DosEncoded) {
        loaded.Text = DosCodePage::Decode(bytes);
    } else {
        QStringDecoder decoder(CodePage);
        loaded.Text = decoder(bytes);
    }
    loaded.Text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    loaded.Text.replace(u'\r', u'\n');
    return loaded;
}

namespace {

// The Windows Cyrillic bytes of `text`; `failedAt` as for the DOS code page.
QByteArray EncodeWindows(const QString& text, qsizetype& failedAt) {
    QStringEncoder encoder(CodePage);
    QByteArray bytes = encoder.encode(text);
    failedAt = -1;
    // The encoder puts a substitute in place of a character the code page lacks; reading the
    // bytes back shows whether anything was lost, and where.
    QStringDecoder decoder(CodePage);
    const QString back = decoder(bytes);
    if (!encoder.hasError() && back == text)
        return bytes;
    failedAt = 0;
    while (failedAt < text.size() && failedAt < back.size() && text[failedAt] == back[failedAt])
        ++failedAt;
    return bytes;
}

} // namespace

QByteArray DataFileText::Encode(const QString& text, bool dosEncoded) {
    QString lines = text;
    if (!lines.isEmpty() && !lines.endsWith(u'\n'))
        lines += u'\n';
    qsizetype failedAt = -1;
    const QByteArray bytes =
        dosEncoded ? DosCodePage::Encode(lines, failedAt) : EncodeWindows(lines, failedAt);
    if (failedAt >= 0)
        throw VormError(
            QStringLiteral("Line %1 holds a character that the %2 code page cannot "
                           "store")
                .arg(lines.left(failedAt).count(u'\n') + 1)
                .arg(dosEncoded ? QStringLiteral("DOS") : QStringLiteral("Windows Cyrillic")));
    QByteArray withCrLf;
    withCrLf.reserve(bytes.size() + bytes.count('\n'));
    for (const char c : bytes) {
        if (c == '\n')
            withCrLf += '\r';
        withCrLf += c;
    }
    return withCrLf;
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
