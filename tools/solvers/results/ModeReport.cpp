#include "ModeReport.h"

#include "StaticReport.h"

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

QString ModeReport::FrequencyHeading() {
    return QStringLiteral("\nMode  frequency [Hz]    period [s]  circular [1/s]\n");
}

QString ModeReport::FrequencyLine(int mode, double frequency, double omega) {
    return QString::number(mode).rightJustified(4) + StaticReport::Number(frequency) +
           StaticReport::Number(1 / frequency) + StaticReport::Number(omega) + u'\n';
}
