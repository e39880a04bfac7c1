#include "ModeReport.h"

#include "StaticReport.h"

#include <cmath>
#include <numbers>

QJsonArray ModeReport::ShapeJson(const std::vector<double>& shape, int width) {
    QJsonArray rows;
    for (size_t node = 0; node * width < shape.size(); ++node) {
        QJsonArray row{static_cast<int>(node + 1)};
        for (int c = 0; c < width; ++c)
            row.append(shape[node * width + c]);
        rows.append(row);
    }
    return rows;
}

QString ModeReport::ShapeText(const std::vector<double>& shape, const QStringList& components) {
    const int width = static_cast<int>(components.size());
    QString text = QStringLiteral("    Node");
    for (const QString& name : components)
        text += name.rightJustified(13);
    text += u'\n';
    for (size_t node = 0; node * width < shape.size(); ++node) {
        StaticReport::AppendLine(text, static_cast<int>(node + 1), shape.data() + node * width,
                                 width);
    }
    return text;
}

int ModeReport::FrequencyTable(const std::vector<PencilModes::Mode>& modes, int wanted,
                               QString& text) {
    if (static_cast<int>(modes.size()) < wanted)
        text += QStringLiteral("Only %1 %2 with the masses given.\n")
                    .arg(modes.size())
                    .arg(modes.size() == 1 ? QStringLiteral("mode exists")
                                           : QStringLiteral("modes exist"));
    text += QStringLiteral("\nMode  frequency [Hz]    period [s]  circular [1/s]\n");
    for (size_t k = 0; k < modes.size(); ++k) {
        const double omega = std::sqrt(modes[k].Lambda);
        const double frequency = omega / (2 * std::numbers::pi);
        if (!std::isfinite(frequency) || !(frequency > 0))
            return static_cast<int>(k);
        text += QString::number(k + 1).rightJustified(4) + StaticReport::Number(frequency) +
                StaticReport::Number(1 / frequency) + StaticReport::Number(omega) + u'\n';
    }
    return -1;
}
