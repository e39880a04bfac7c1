#pragma once

#include <QIcon>
#include <QString>

// The pictures of the editor's tool buttons, drawn rather than loaded so that the package
// carries no image files for them. The toolkit derives the greyed picture of a disabled button.
class EditorGlyphs {
public:
    // `button` is the button's name ("OpenBtn", "SaveBtn", ...); an unknown name gets a blank.
    static QIcon Icon(const QString& button);
};
