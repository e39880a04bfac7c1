#include "ModelPreviewRun.h"

#include "ModelPreview.h"
#include "PackageResults.h"
#include "ProgramRunner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Reads a model file whole and deletes it once it could be opened, so that no model of this
// run is left for the next.
QByteArray TakeFile(const QString& path) {
    QFile file(path);
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
    if (!fileName.isEmpty())
        runner_.RunProgram(form, QStringLiteral("TOLVIK"), {fileName, QStringLiteral("XYZ")},
                           ProgramRunner::Shown);
    const QByteArray xyz = TakeFile(packageDir_.FilePath(QStringLiteral("XYZ")));
    const QByteArray j1j2 = TakeFile(packageDir_.FilePath(QStringLiteral("J1J2")));
    const QByteArray marks = TakeFile(packageDir_.FilePath(QStringLiteral("MARKS")));
    return ModelPreview::Draw(ModelPreview::Read(xyz, j1j2, marks), problem, frame);
}

void ModelPreviewRun::DeleteResultFiles(const QString& vanishedFile) {
    PackageResults::RemoveResultsOf(vanishedFile);
}
