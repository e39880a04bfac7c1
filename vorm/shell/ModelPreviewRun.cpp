#include "ModelPreviewRun.h"

#include "FileLookup.h"
#include "ModelPreview.h"
#include "PackageResults.h"
#include "ProgramRunner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Reads a model file the checker left in its run's folder whole.
QByteArray TakeFile(const QString& runDirectory, const QString& name) {
    QFile file(FileLookup::FindNoCase(runDirectory, name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    file.close();
    file.remove();
    return bytes;
}

} // namespace

ModelPreviewRun::ModelPreviewRun(PackageDir packageDir, const ProgramRunner& runner)
    : packageDir_(std::move(packageDir)), runner_(runner) {}

ModelPreview::Picture ModelPreviewRun::DrawModelPreview(QWidget* form, const QString& fileName,
                                                        const QRect& frame) const {
    const int problem = ModelPreview::ProblemNumber(fileName);
    if (!ModelPreview::IsPreviewed(problem))
        return {};
    QByteArray xyz;
    QByteArray j1j2;
    QByteArray marks;
    if (!fileName.isEmpty())
        runner_.RunProgram(form, QStringLiteral("TOLVIK"), {fileName, QStringLiteral("XYZ")},
                           ProgramRunner::Shown, QString(), [&](const QString& runDirectory) {
                               xyz = TakeFile(runDirectory, QStringLiteral("XYZ"));
                               j1j2 = TakeFile(runDirectory, QStringLiteral("J1J2"));
                               marks = TakeFile(runDirectory, QStringLiteral("MARKS"));
                           });
    return ModelPreview::Draw(ModelPreview::Read(xyz, j1j2, marks), problem, frame);
}

void ModelPreviewRun::DeleteResultFiles(const QString& vanishedFile) {
    PackageResults::RemoveResultsOf(vanishedFile);
}
