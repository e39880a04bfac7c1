#pragma once

#include <QString>
#include <array>
#include <vector>

class DrawingState;

// What a section file holds, read and checked but not yet part of any drawing.
struct SectionContent {
    struct Shape {
        int Code = 0; // 1 quadrangle, 2 triangle, 3 sector; negative for a hole
        std::vector<std::array<double, 2>> Points; // y, z of the shape's own points
    };
    int Mode = 1; // 0 sectorial, 1 geometric; anything else keeps the mode
    std::vector<Shape> Shapes;
    double MaxWidth = 0;
    QString Unit;
};

// Section files: plain text, one value a line, CR LF line ends, '.' as decimal point. The
// writer never leaves a half-written file in place of the old one; the reader changes nothing
// unless the whole file is good.
class SectionFile {
public:
    // Writes the completed shapes, the Max Width and the unit. Throws SectionError with the
    // user-facing message; the file on disk is then untouched.
    static void Write(const DrawingState& state, const QString& fileName);

    // Reads and checks a whole file. Throws SectionError on a file that cannot be read or
    // holds bad content.
    static SectionContent Read(const QString& fileName);
    // Puts what a file held into a freshly cleared drawing state; cannot fail on content.
    static void Apply(DrawingState& state, const SectionContent& content);
    // Read, then Apply: the state is changed only when the whole file is good.
    static void Parse(DrawingState& state, const QString& fileName);

    // The file's text for the state, as Write would store it.
    static QByteArray Serialize(const DrawingState& state);
};
