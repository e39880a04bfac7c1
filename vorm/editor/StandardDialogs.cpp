#include "StandardDialogs.h"

#include "Dialog.h"

bool LibraryDialogs::Profiles(QWidget* owner, const QString& tablePath, int problem, int count,
                              std::unique_ptr<QBuffer>& stream, int lengthUnit) {
    const QByteArray path = tablePath.toLocal8Bit();
    return ProfilesDlg(owner, path.constData(), problem, count, stream, lengthUnit);
}

bool LibraryDialogs::Materials(QWidget* owner, const QString& tablePath, int count,
                               std::unique_ptr<QBuffer>& stream, int lengthUnit, int forceUnit) {
    const QByteArray path = tablePath.toLocal8Bit();
    return MaterialDlg(owner, path.constData(), count, stream, lengthUnit, forceUnit);
}
