#pragma once

#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>

// The editor's font as the package stores it: Qt's font has no colour and no character set,
// so they travel beside it.
struct EditorFont {
    QFont Font;
    QColor Color;
    int CharSet = 0;
};

// The launcher's values in the package's settings store (the registry key "\Software\VORM" on
// Windows). Each accessor opens the store, reads or writes and closes it again, so a value
// written is seen at once by both programs.
//
// A value of another type than expected fails with "Invalid data type for '<name>'". The
// editor's font and background colour are written only when the user picks them, so a fresh
// installation has none: where they are missing the accessors give a monospaced font in
// black on white rather than failing every editor window that opens.
class LauncherSettings {
public:
    // Directory of the data file opened last, with trailing separator; empty when missing.
    QString ReadDataDirectory() const;
    // Stores the directory part of `fileName`, with its trailing separator.
    void WriteDataDirectory(const QString& fileName) const;

    // Directory of the sibling toolset of mesh generators; empty when missing.
    QString ReadYornikDirectory() const;

    EditorFont ReadEditorFont() const;
    void WriteEditorFont(const EditorFont& font) const;

    // Background colour of the editor's text field as stored: red in the low byte, then
    // green, then blue; or a system colour.
    int ReadBackColor() const;
    void WriteBackColor(int color) const;

    // The preview dialog's file-list view: "List" or "Properties"; empty when missing, and
    // "Properties" when the stored value cannot be read.
    QString ReadDialogStyle() const;
    void SaveDialogStyle(bool listView) const;

    // The size the user left the open dialog at ("DlgWidth", "DlgHeight"); an invalid size
    // when none is stored or the stored one is unusable, so the dialog takes its default.
    QSize ReadOpenDialogSize() const;
    void WriteOpenDialogSize(const QSize& size) const;

    // The stored colour number of a colour and back. A system colour (high byte 0x80) maps
    // to the colour Windows shows for it by default.
    static QColor ColorFromStored(int stored);
    static int StoredFromColor(const QColor& color);

    static EditorFont DefaultEditorFont();
    static constexpr int DefaultBackColor = 0x00FFFFFF;

    // Integer values: a missing one fails with "Failed to get data for '<name>'".
    static int ReadInteger(const QString& name);
    // The same, with `fallback` for a missing value.
    static int ReadInteger(const QString& name, int fallback);
    static void WriteInteger(const QString& name, int value);

private:
    static QVariant ReadValue(const QString& name);
};
