#include "EditorPickers.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

std::optional<QFont> QtEditorPickers::PickFont(QWidget* parent, const QFont& current) {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, current, parent, QStringLiteral("Font"),
                                            QFontDialog::MonospacedFonts);
    if (!ok)
        return std::nullopt;
    return font;
}

std::optional<QColor> QtEditorPickers::PickColor(QWidget* parent, const QColor& current) {
    const QColor color = QColorDialog::getColor(current, parent, QStringLiteral("Color"));
    if (!color.isValid())
        return std::nullopt;
    return color;
}

bool QtEditorPickers::PrinterInstalled() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

bool QtEditorPickers::SetUpPrinter(QWidget* parent, QPrinter& printer, bool selectionAvailable) {
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, selectionAvailable);
    return dialog.exec() == QDialog::Accepted;
}
