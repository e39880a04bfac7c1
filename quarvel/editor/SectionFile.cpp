#include "SectionFile.h"

#include "DrawingState.h"
#include "IoErrorText.h"
#include "NumberFormat.h"
#include "SectionError.h"
#include "SectionTokenReader.h"
#include "TFourAngle.h"
#include "TSector.h"
#include "TTriAngle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <map>

namespace {

constexpr int FilePointsPerShape = 4;

void AppendLine(QByteArray& out, const QString& text) {
    out += text.toLatin1();
    out += "\r\n";
}

double MaxWidthValue(const DrawingState& state) {
    double value = 0.0;
    if (!NumberFormat::parseUserReal(state.MaxWidthText, state.DecimalPoint, value))
        throw SectionError(QStringLiteral("'%1' is not a valid floating point value")
                               .arg(state.MaxWidthText)
                               .toStdString());
    return value;
}

int PointsOf(int code) {
    // Compared without negating: the most negative integer has no positive twin.
    switch (code) {
    case 1:
    case -1:
        return 4;
    case 2:
    case -2:
    case 3:
    case -3:
        return 3;
    default:
        throw SectionError("Bad shape ID!");
    }
}

std::unique_ptr<TMasterShape> MakeShape(DrawingState& state, int code) {
    std::unique_ptr<TMasterShape> shape;
    if (code == 1 || code == -1)
        shape = std::make_unique<TFourAngle>(state);
    else if (code == 2 || code == -2)
        shape = std::make_unique<TTriAngle>(state);
    else
        shape = std::make_unique<TSector>(state);
    shape->Filled = code > 0;
    shape->PointCount = shape->MaxPoints;
    return shape;
}

QString StrippedUnit(const QByteArray& line) {
    QString stripped = QString::fromLatin1(line);
    while (!stripped.isEmpty() && stripped.front().unicode() <= ' ')
        stripped.remove(0, 1);
    while (!stripped.isEmpty() && stripped.back().unicode() <= ' ')
        stripped.chop(1);
    return stripped;
}

} // namespace

QByteArray SectionFile::Serialize(const DrawingState& state) {
    const double maxWidth = MaxWidthValue(state);
    QByteArray out;
    if (state.SectionMode == 'G')
        AppendLine(out, QStringLiteral("1"));
    else if (state.SectionMode == 'S')
        AppendLine(out, QStringLiteral("0"));
    AppendLine(out, QString::number(state.Shapes.size()));
    for (const auto& shape : state.Shapes)
        AppendLine(out, QString::number(shape->Filled ? int(shape->Kind) : -int(shape->Kind)));
    for (const auto& shape : state.Shapes) {
        for (int j = 0; j < FilePointsPerShape; ++j) {
            const TNode& node = *shape->GetPoint(j)->Node;
            AppendLine(out, NumberFormat::fileReal(node.RealY));
            AppendLine(out, NumberFormat::fileReal(node.RealZ));
        }
    }
    AppendLine(out, NumberFormat::fileReal(maxWidth));
    AppendLine(out, state.UnitText);
    return out;
}

void SectionFile::Write(const DrawingState& state, const QString& fileName) {
    // Everything that can fail on content fails here, before the old file is touched.
    const QByteArray content = Serialize(state);
    QSaveFile file(fileName);
    errno = 0;
    // Usually a folder that does not exist or may not be written: say which file it was.
    if (!file.open(QIODevice::WriteOnly))
        throw SectionError(
            QStringLiteral("Cannot create file %1")
                .arg(QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()))
                .toStdString());
    errno = 0;
    if (file.write(content) != content.size() || !file.commit())
        throw SectionError(IoErrorText(errno != 0 ? errno : EIO).toStdString());
}

SectionContent SectionFile::Read(const QString& fileName) {
    QFile file(fileName);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        throw SectionError(IoErrorText(errno != 0 ? errno : ENOENT).toStdString());
    SectionTokenReader reader(file.readAll());
    file.close();

    SectionContent content;
    content.Mode = reader.ReadInteger();
    const int count = reader.ReadInteger();
    // Each code takes a line, and past the end a code reads as 0, which is refused: a count
    // larger than the file cannot run on.
    for (int i = 0; i < count; ++i) {
        const int code = reader.ReadInteger();
        content.Shapes.push_back(
            {code, std::vector<std::array<double, 2>>(static_cast<std::size_t>(PointsOf(code)))});
    }
    for (SectionContent::Shape& shape : content.Shapes) {
        for (auto& point : shape.Points) {
            point[0] = reader.ReadReal();
            point[1] = reader.ReadReal();
        }
        for (std::size_t missing = shape.Points.size(); missing < FilePointsPerShape; ++missing) {
            reader.SkipLine();
            reader.SkipLine();
        }
    }
    content.MaxWidth = reader.ReadReal();
    content.Unit = StrippedUnit(reader.ReadLine());
    if (!DrawingState::UnitItems.contains(content.Unit))
        throw SectionError("Wrong dimension identifier!");
    return content;
}

void SectionFile::Apply(DrawingState& state, const SectionContent& content) {
    if (content.Mode == 0)
        state.SelectSectorialMode();
    else if (content.Mode == 1)
        state.SelectGeometricMode();
    state.ModeSwitchVisible = false;

    // Points at the same coordinates share one node, in order of first occurrence. Nodes are
    // stored rounded and compared exactly with what was read, so points with more than four
    // decimals each get a node of their own.
    std::map<std::pair<double, double>, TRegisteredNode*> byCoordinates;
    for (const auto& node : state.Nodes)
        byCoordinates.try_emplace({node->Node->RealY, node->Node->RealZ}, node.get());
    for (const SectionContent::Shape& record : content.Shapes) {
        std::unique_ptr<TMasterShape> shape = MakeShape(state, record.Code);
        for (std::size_t j = 0; j < record.Points.size(); ++j) {
            const auto [y, z] = record.Points[j];
            TRegisteredNode* node = nullptr;
            if (const auto found = byCoordinates.find({y, z}); found != byCoordinates.end()) {
                node = found->second;
            } else {
                node = state.AppendNode(std::make_unique<TRegisteredNode>(state.View(), y, z));
                byCoordinates.try_emplace({node->Node->RealY, node->Node->RealZ}, node);
            }
            shape->SetPoint(static_cast<int>(j), node);
            ++node->RefCount;
        }
        shape->SetPoint(shape->MaxPoints, shape->GetPoint(0));
        state.Shapes.push_back(std::move(shape));
    }
    state.StatusShapesText =
        QStringLiteral("Number of shapes: %1").arg(static_cast<qsizetype>(state.Shapes.size()));
    state.MaxWidthText = NumberFormat::general(content.MaxWidth, state.DecimalPoint);
    state.UnitText = content.Unit;
}

void SectionFile::Parse(DrawingState& state, const QString& fileName) {
    Apply(state, Read(fileName));
}
