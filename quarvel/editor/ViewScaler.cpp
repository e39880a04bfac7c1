#include "ViewScaler.h"

#include "NumberFormat.h"
#include "SectionError.h"

#include <cmath>

namespace {

[[noreturn]] void Refuse(const QString& message) {
    throw SectionError(message.toStdString());
}

} // namespace

double ViewScaler::MaxWidth(const QString& text, QChar decimalPoint) {
    double value = 0.0;
    if (!NumberFormat::parseUserReal(text, decimalPoint, value))
        Refuse(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return value;
}

ViewFigures ViewScaler::Compute(int drawWidth, const QString& text, QChar decimalPoint) {
    const double m = MaxWidth(text, decimalPoint);
    // Zero would divide by zero and a negative width would make the ruler loops run for ever;
    // both are refused alike.
    if (m <= 0.0)
        Refuse(QStringLiteral("The Max Width must be greater than 0; '%1' is refused.").arg(text));

    ViewFigures figures;
    figures.MaxWidth = m;
    while (m / figures.Decade > 150.0)
        figures.Decade *= 10.0;

    // Whole numbers kept in doubles: a tiny Max Width gives quotients beyond any integer type.
    double q = std::trunc(drawWidth / m / 5.0);
    if (!(q < 1e15))
        Refuse(QStringLiteral("The Max Width '%1' is too small to draw.").arg(text));
    double v = 1.0;
    while (q > 4.0) {
        q = std::floor(q / 5.0);
        v *= 5.0;
        if (q > 1.0) {
            q = std::floor(q / 2.0);
            v *= 2.0;
        }
    }
    const double n = std::trunc(m / figures.Decade * v);
    if (n == 0.0)
        Refuse(QStringLiteral("Division by zero"));
    const double tickStep = std::floor(drawWidth / n);
    if (tickStep < 1.0)
        Refuse(QStringLiteral("The Max Width '%1' puts the ruler ticks less than a pixel apart; "
                              "choose a smaller Max Width or a wider window.")
                   .arg(text));
    figures.TickStep = static_cast<int>(tickStep);
    figures.Scale = 1.0 / v / figures.TickStep * figures.Decade;
    return figures;
}
