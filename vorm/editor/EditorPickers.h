#pragma once

#include <QColor>
#include <QFont>
#include <optional>

class QWidget;

// The font and colour choosers of the editor's preferences; tests answer them in advance.
class EditorPickers {
public:
    virtual ~EditorPickers() = default;
    // Nothing when the user cancels. The font chooser offers fixed-pitch fonts only.
    virtual std::optional<QFont> PickFont(QWidget* parent, const QFont& current) = 0;
    virtual std::optional<QColor> PickColor(QWidget* parent, const QColor& current) = 0;
};

// The choosers as the user sees them.
class QtEditorPickers : public EditorPickers {
public:
    std::optional<QFont> PickFont(QWidget* parent, const QFont& current) override;
    std::optional<QColor> PickColor(QWidget* parent, const QColor& current) override;
};
