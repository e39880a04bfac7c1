#pragma once

#include "ResultFile.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

// Reads the result file the solvers write, versions 1 to 3, for the viewer. A result file may
// be damaged or not ours at all, so every count is checked against the bytes still left before
// anything is made of that size, names must not be empty, and bytes after the end are refused:
// reading a file never takes more memory or time than its own size allows.
//
// Version 3 gives the modes and buckling shapes of members the solver divided: the number of
// straight pieces of each element and, per shape, the displacements of the inner points.
class ResultReader {
public:
    struct File {
        int Version = 0;
        ResultFile::Contents Contents;
        // Modes and buckling of version 3 only: the elements, their pieces (>= 1) and per shape
        // the inner points' displacements, element by element, each from i to j.
        int Elements = -1;
        std::vector<int> Pieces;
        std::vector<std::vector<double>> Inner;

        int InnerPoints() const; // the sum over the elements of pieces - 1
    };
    struct Outcome {
        std::optional<File> Read;
        QString Fault; // why not, in words that follow "it": "is cut short in load case 2"
    };

    static Outcome Read(const QByteArray& bytes);

    static constexpr int NewestVersion = 3;
};
