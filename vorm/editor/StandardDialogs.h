#pragma once

#include <QBuffer>
#include <QString>
#include <memory>

class QWidget;

// The profile and material choosers of the dialog library, behind an interface so that tests
// can answer them. Arguments and results are those of the library's calls.
class StandardDialogs {
public:
    virtual ~StandardDialogs() = default;
    virtual bool Profiles(QWidget* owner, const QString& tablePath, int problem, int count,
                          std::unique_ptr<QBuffer>& stream, int lengthUnit) = 0;
    virtual bool Materials(QWidget* owner, const QString& tablePath, int count,
                           std::unique_ptr<QBuffer>& stream, int lengthUnit, int forceUnit) = 0;
};

// The calls into the dialog library that the launcher links.
class LibraryDialogs : public StandardDialogs {
public:
    bool Profiles(QWidget* owner, const QString& tablePath, int problem, int count,
                  std::unique_ptr<QBuffer>& stream, int lengthUnit) override;
    bool Materials(QWidget* owner, const QString& tablePath, int count,
                   std::unique_ptr<QBuffer>& stream, int lengthUnit, int forceUnit) override;
};
