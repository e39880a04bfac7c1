#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// Why a model cannot be solved, and where in its data: thrown where the fault is found, however
// deep, and caught once by the program, which prints it and ends the run with nothing written.
// The line is that of the data file (0: the file as a whole or no line of it); the node and the
// element, numbered as the data numbers them, are 0 when the fault concerns none.
class SolverError : public std::exception {
public:
    explicit SolverError(QString message);
    static SolverError AtLine(int line, QString message);
    static SolverError AtNode(int node, QString message);
    static SolverError AtElement(int element, QString message);

    int Line() const { return line_; }
    int Node() const { return node_; }
    int Element() const { return element_; }
    const QString& Message() const { return message_; }
    // As the protocol and standard error show it: "Line 12: ..." or "Error: ...".
    QString Text() const;
    const char* what() const noexcept override { return what_.constData(); }

private:
    QString message_;
    int line_ = 0, node_ = 0, element_ = 0;
    QByteArray what_;
};
