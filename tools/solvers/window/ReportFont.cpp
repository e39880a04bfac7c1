#include "ReportFont.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <cmath>

bool ReportFont::IsMonospaced(const QFont& font) {
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(u'M');
    if (width <= 0)
        return false;
    for (const QChar c : {u'i', u'0', u' ', u'.', u'W'}) {
        if (std::abs(metrics.horizontalAdvance(c) - width) > 0.01 * width)
            return false;
    }
    return true;
}

QFont ReportFont::Choose() {
    const QFont system = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (IsMonospaced(system))
        return system;
    for (const char* family : {"DejaVu Sans Mono", "Liberation Mono", "Noto Sans Mono", "Noto Mono",
                               "Consolas", "Courier New", "Menlo", "Monospace", "Courier"}) {
        QFont font(QString::fromLatin1(family), system.pointSize());
        if (system.pointSizeF() > 0)
            font.setPointSizeF(system.pointSizeF());
        font.setStyleHint(QFont::TypeWriter);
        if (IsMonospaced(font))
            return font;
    }
    QFont font = system;
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}
