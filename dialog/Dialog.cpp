#include "Dialog.h"

#include "ProfileValues.h"
#include "QtUserDialogs.h"
#include "TMaterialsForm.h"
#include "TProfilesForm.h"
#include "TextLines.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <stdexcept>

namespace {

QStringList ReadBlock(QBuffer& stream) {
    QStringDecoder decode("windows-1251");
    return TextLines::Split(QString(decode(stream.data())));
}

void WriteBlock(std::unique_ptr<QBuffer>& stream, const QStringList& lines) {
    QStringEncoder encode("windows-1251");
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += QByteArray(encode(line)) + "\r\n";
    stream = std::make_unique<QBuffer>();
    stream->setData(bytes);
    stream->open(QIODevice::ReadWrite);
    stream->seek(bytes.size());
}

std::optional<StandardTable> LoadTable(UserDialogs& dialogs, QWidget* owner,
                                       const char* tablePath) {
    try {
        return StandardTable::Read(QString::fromLocal8Bit(tablePath));
    } catch (const std::exception& error) {
        dialogs.ShowError(owner, QString::fromUtf8(error.what()));
        return std::nullopt;
    }
}

} // namespace

bool ProfilesDlg(QWidget* owner, const char* tablePath, int problem, int count,
                 std::unique_ptr<QBuffer>& stream, int lengthUnit) {
    (void)count; // the block itself tells how many items it holds
    QtUserDialogs dialogs;
    if (ProfileValues::Columns(problem).isEmpty()) {
        dialogs.ShowInformation(owner, QStringLiteral("The sections of this problem type are "
                                                      "thicknesses: there are no standard "
                                                      "profiles for them."));
        return false;
    }
    const auto table = LoadTable(dialogs, owner, tablePath);
    if (!table || !stream)
        return false;
    TProfilesForm form(dialogs, *table, problem, UnitScale(lengthUnit), ReadBlock(*stream), owner);
    if (form.exec() != QDialog::Accepted)
        return false;
    WriteBlock(stream, form.Block().Lines());
    return true;
}

bool MaterialDlg(QWidget* owner, const char* tablePath, int count, std::unique_ptr<QBuffer>& stream,
                 int lengthUnit, int forceUnit) {
    (void)count;
    QtUserDialogs dialogs;
    const auto table = LoadTable(dialogs, owner, tablePath);
    if (!table || !stream)
        return false;
    TMaterialsForm form(*table, UnitScale(lengthUnit, forceUnit), ReadBlock(*stream), owner);
    if (form.exec() != QDialog::Accepted)
        return false;
    WriteBlock(stream, form.Block().Lines());
    return true;
}
