#include "SolverError.h"

#include <utility>

SolverError::SolverError(QString message)
    : message_(std::move(message)), what_(message_.toUtf8()) {}

SolverError SolverError::AtLine(int line, QString message) {
    SolverError error(std::move(message));
    error.line_ = line;
    return error;
}

SolverError SolverError::AtNode(int node, QString message) {
    SolverError error(std::move(message));
    error.node_ = node;
    return error;
}

SolverError SolverError::AtElement(int element, QString message) {
    SolverError error(std::move(message));
    error.element_ = element;
    return error;
}

QString SolverError::Text() const {
    return line_ > 0 ? QStringLiteral("Line %1: %2").arg(line_).arg(message_)
                     : QStringLiteral("Error: ") + message_;
}
