#pragma once

#include "ModelPreviewRun.h"

#include <QFileDialog>
#include <QGroupBox>

class LauncherSettings;
struct FileDialogRequest;

// The group box beside the file list that shows the selected file's wire frame with its
// springs, foundations, imposed displacements and member loads. The picture stays until the
// next selection.
class PreviewPanel : public QGroupBox {
    Q_OBJECT

public:
    explicit PreviewPanel(QWidget* parent);
    // The area the model is fitted into: the panel shrunk on every side by the height of
    // its title.
    QRect Frame() const;
    void SetPicture(ModelPreview::Picture picture);
    const QVector<QLine>& Lines() const { return picture_.Lines; }
    const ModelPreview::Picture& Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ModelPreview::Picture picture_;
};

// The one open dialog of the launcher: a file dialog with a "Preview" panel that draws the
// wire frame of the selected data file, tidies the result files of data files deleted while
// it is open, and keeps the file list's view between uses.
class TPreviewDlg : public QFileDialog {
    Q_OBJECT

public:
    TPreviewDlg(const ModelPreviewRun& preview, const LauncherSettings& settings,
                QWidget* mainWindow, QWidget* parent = nullptr);

    // Sets the dialog up from `request`, runs it and returns the chosen path (empty when
    // cancelled).
    QString Run(const FileDialogRequest& request);

    // A size that shows the file list's columns, the path and the filter names beside the
    // preview, until the user leaves the dialog at another size.
    static constexpr QSize DefaultSize{980, 580};

    PreviewPanel* PreviewArea() const { return previewArea_; }
    const QString& LastPreviewFile() const { return lastPreviewFile_; }

    void PreviewDialogInit();
    void PreviewDialogSelectionChange(const QString& selection);
    void PreviewDialogCanClose();

protected:
    void showEvent(QShowEvent* event) override;
    void accept() override;
    void done(int result) override;

private:
    QSize InitialSize() const;
    void HideCompleterPopups();

    const ModelPreviewRun& preview_;
    const LauncherSettings& settings_;
    QWidget* mainWindow_;
    PreviewPanel* previewArea_ = nullptr;
    bool firstSelection_ = false;
    QString lastPreviewFile_;
};
