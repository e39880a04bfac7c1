#pragma once

#include "PictureWriter.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QAction;
class QWidget;
class UserDialogs;

// "Save picture..." and "Print picture..." for one view: the file's format follows the
// extension chosen (PNG, SVG or PDF), its size is asked with the view's size proposed, and
// every question goes through UserDialogs so that tests can answer it.
class PictureActions : public QObject {
    Q_OBJECT

public:
    // `view` is the widget drawn, `draw` draws it into any size; `suggest` names the file
    // proposed (without an extension).
    PictureActions(QWidget* view, PictureWriter::Painter draw, std::function<QString()> suggest,
                   QObject* parent = nullptr);
    ~PictureActions() override;

    QAction* SaveAction() const { return save_; }
    QAction* PrintAction() const { return print_; }
    // Tests answer the questions; the real dialogs otherwise.
    void SetDialogs(UserDialogs& dialogs) { dialogs_ = &dialogs; }
    // What the actions do; an error message or empty.
    QString Save();
    QString Print();

private:
    QWidget* view_;
    PictureWriter::Painter draw_;
    std::function<QString()> suggest_;
    std::unique_ptr<UserDialogs> own_;
    UserDialogs* dialogs_;
    QAction* save_;
    QAction* print_;
};
