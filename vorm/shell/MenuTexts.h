#pragma once

#include <QString>
#include <array>

// The menu text table: 151 texts numbered 0 to 150, all empty at start. The numbers are the
// menu items' tags; entry 71 is the main window's title and entry 38 the first filter
// description of "Data files".
class MenuTexts {
public:
    static constexpr int Count = 151;
    static constexpr int MaxLength = 255;

    // Empty for a number outside 0 to 150.
    QString Text(int number) const;
    // Stores a text cut to 255 characters; a number outside 0 to 150 is ignored.
    void Set(int number, const QString& text);

private:
    std::array<QString, Count> texts;
};
