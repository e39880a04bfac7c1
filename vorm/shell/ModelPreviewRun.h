#pragma once

#include "ModelPreview.h"
#include "PackageDir.h"

#include <QLine>
#include <QRect>
#include <QString>
#include <QVector>

class ProgramRunner;
class QWidget;

// One preview of a data file: the input checker exports the file's wire frame and marks into
// its run's own folder, the frame is read from there and fitted into the panel, and the
// checker's model files go with the folder, whatever happened.
class ModelPreviewRun {
public:
    ModelPreviewRun(PackageDir packageDir, const ProgramRunner& runner);

    // The lines and marks to draw for `fileName` inside `frame`; empty when the file is not
    // previewed or its model cannot be drawn. With an empty file name the checker is not run
    // and nothing is drawn: no run left model files for it.
    ModelPreview::Picture DrawModelPreview(QWidget* form, const QString& fileName,
                                           const QRect& frame) const;

    // Deletes the package's result files ("<base>bin", "<base>bi0") of a data file that has
    // vanished, base being its name up to its last "." within its own directory; files
    // that only share the pattern, and results still used by another data file of that
    // base, stay.
    static void DeleteResultFiles(const QString& vanishedFile);

private:
    PackageDir packageDir_;
    const ProgramRunner& runner_;
};
