#pragma once

#include <QColor>
#include <QFont>
#include <optional>

class QPrinter;
class QWidget;

// The font and colour choosers of the editor's preferences; tests answer them in advance.
class EditorPickers {
public:
    virtual ~EditorPickers() = default;
    // Nothing when the user cancels. The font chooser offers fixed-pitch fonts only.
    virtual std::optional<QFont> PickFont(QWidget* parent, const QFont& current) = 0;
    virtual std::optional<QColor> PickColor(QWidget* parent, const QColor& current) = 0;
    // Whether the system has a printer to print on.
    virtual bool PrinterInstalled() { return false; }
    // The print dialog on `printer`, offering the selection as the range when there is one;
    // false when the user cancels.
    virtual bool SetUpPrinter(QWidget* parent, QPrinter& printer, bool selectionAvailable) {
        (void)parent;
        (void)printer;
        (void)selectionAvailable;
        return false;
    }
};

// The choosers as the user sees them.
class QtEditorPickers : public EditorPickers {
public:
    std::optional<QFont> PickFont(QWidget* parent, const QFont& current) override;
    std::optional<QColor> PickColor(QWidget* parent, const QColor& current) override;
    bool PrinterInstalled() override;
    bool SetUpPrinter(QWidget* parent, QPrinter& printer, bool selectionAvailable) override;
};
