#pragma once

#include <QByteArray>
#include <QString>

// Reads the numbers of a section file the way the format was always read: a number is the
// first token on its line (blanks, tabs and line ends before it are skipped), anything after
// it on that line is ignored, and past the end of the file a number reads as 0.
class SectionTokenReader {
public:
    explicit SectionTokenReader(QByteArray data) : data_(std::move(data)) {}

    // Both throw SectionError("Invalid numeric input") for a token that is no number, or
    // longer than a number may be (32 characters for an integer, 64 for a real).
    int ReadInteger();
    double ReadReal();
    void SkipLine();
    // The rest of the current line without its line end.
    QByteArray ReadLine();

private:
    QByteArray NextToken(int maxLength);

    QByteArray data_;
    qsizetype pos_ = 0;
};
