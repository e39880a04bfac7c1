#pragma once

#include "DataChecker.h"
#include "FormatCatalogue.h"
#include "InputText.h"
#include "ProblemNumber.h"

#include <QFile>
#include <QString>
#include <QtGlobal>

// Reading test files and checking texts the way the checker does, without a process.
namespace CheckSupport {

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read test file %s", qPrintable(path));
    return file.readAll();
}

inline QString TestData(const QString& name) {
    return QStringLiteral(QV_TEST_DATA "/") + name;
}

struct Checked {
    DataChecker::Result Result;
    DataFormat Format;
};

// Checks `bytes` as the contents of a file named `fileName`.
inline Checked Check(const QByteArray& bytes, const QString& fileName) {
    const ProblemNumber number = ProblemNumber::FromFileName(fileName);
    if (!number.Valid)
        qFatal("test file name without a problem number: %s", qPrintable(fileName));
    Checked checked{{}, *FormatCatalogue::For(number.Problem, number.Dynamics)};
    checked.Result = DataChecker::Check(InputText::Lines(bytes), checked.Format);
    return checked;
}

inline QByteArray Describe(const DataChecker::Result& result) {
    return QStringLiteral("line %1: %2").arg(result.Fault.Line).arg(result.Fault.Message).toUtf8();
}

} // namespace CheckSupport
