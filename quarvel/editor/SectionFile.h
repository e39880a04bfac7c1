#pragma once

#include <QString>

class DrawingState;

// Section files: plain text, one value a line, CR LF line ends, '.' as decimal point. The
// writer never leaves a half-written file in place of the old one; the reader leaves no shape
// behind whose points it could not read.
class SectionFile {
public:
    // Writes the completed shapes, the Max Width and the unit. Throws SectionError with the
    // user-facing message; the file on disk is then untouched.
    static void Write(const DrawingState& state, const QString& fileName);

    // Reads a file into a freshly cleared drawing state. Throws SectionError on bad content;
    // what was read completely before the error stays.
    static void Parse(DrawingState& state, const QString& fileName);

    // The file's text for the state, as Write would store it.
    static QByteArray Serialize(const DrawingState& state);
};
