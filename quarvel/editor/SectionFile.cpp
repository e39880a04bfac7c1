#include "SectionFile.h"

#include "DrawingState.h"
#include "IoErrorText.h"
#include "NumberFormat.h"
#include "SectionError.h"
#include "SectionTokenReader.h"
#include "TFourAngle.h"
#include "TSector.h"
#include "TTriAngle.h"

#include <QFile>
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

std::unique_ptr<TMasterShape> MakeShape(DrawingState& state, int code) {
    std::unique_ptr<TMasterShape> shape;
    switch (code < 0 ? -code : code) {
    case 1:
        shape = std::make_unique<TFourAngle>(state);
        break;
    case 2:
        shape = std::make_unique<TTriAngle>(state);
        break;
    case 3:
        shape = std::make_unique<TSector>(state);
        break;
    default:
        throw SectionError("Bad shape ID!");
    }
    shape->Filled = code > 0;
    shape->PointCount = shape->MaxPoints;
    return shape;
}

bool HasAllPoints(const TMasterShape& shape) {
    for (int j = 0; j < shape.MaxPoints; ++j)
        if (shape.GetPoint(j) == nullptr)
            return false;
    return true;
}

// A shape whose points were not all read can be neither drawn, saved nor calculated, so it
// goes, and so do the nodes only it used.
void DropIncompleteShapes(DrawingState& state) {
    std::erase_if(state.Shapes, [](const auto& shape) { return !HasAllPoints(*shape); });
    state.UpdateNodeList();
    state.StatusShapesText =
        QStringLiteral("Number of shapes: %1").arg(static_cast<qsizetype>(state.Shapes.size()));
}

void ReadShapes(DrawingState& state, SectionTokenReader& reader) {
    const int mode = reader.ReadInteger();
    if (mode == 0)
        state.SelectSectorialMode();
    else if (mode == 1)
        state.SelectGeometricMode();
    state.ModeSwitchVisible = false;

    const int count = reader.ReadInteger();
    for (int i = 0; i < count; ++i)
        state.Shapes.push_back(MakeShape(state, reader.ReadInteger()));

    // Points at the same coordinates share one node, in order of first occurrence.
    std::map<std::pair<double, double>, TRegisteredNode*> byCoordinates;
    for (const auto& node : state.Nodes)
        byCoordinates.try_emplace({node->Node->RealY, node->Node->RealZ}, node.get());

    for (const auto& shape : state.Shapes) {
        for (int j = 0; j < shape->MaxPoints; ++j) {
            const double y = reader.ReadReal();
            const double z = reader.ReadReal();
            // Nodes are stored rounded and compared exactly with what was read, so points
            // with more than four decimals each get a node of their own.
            TRegisteredNode* node = nullptr;
            if (const auto found = byCoordinates.find({y, z}); found != byCoordinates.end()) {
                node = found->second;
            } else {
                node = state.AppendNode(std::make_unique<TRegisteredNode>(state.View(), y, z), 4);
                byCoordinates.try_emplace({node->Node->RealY, node->Node->RealZ}, node);
            }
            shape->SetPoint(j, node);
            ++node->RefCount;
        }
        shape->SetPoint(shape->MaxPoints, shape->GetPoint(0));
        for (int missing = shape->MaxPoints; missing < FilePointsPerShape; ++missing) {
            reader.SkipLine();
            reader.SkipLine();
        }
    }
    state.StatusShapesText = QStringLiteral("Number of shapes: %1").arg(count);
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
    if (!file.open(QIODevice::WriteOnly))
        throw SectionError(IoErrorText(errno != 0 ? errno : EIO).toStdString());
    errno = 0;
    if (file.write(content) != content.size() || !file.commit())
        throw SectionError(IoErrorText(errno != 0 ? errno : EIO).toStdString());
}

void SectionFile::Parse(DrawingState& state, const QString& fileName) {
    QFile file(fileName);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        throw SectionError(IoErrorText(errno != 0 ? errno : ENOENT).toStdString());
    SectionTokenReader reader(file.readAll());
    file.close();

    try {
        ReadShapes(state, reader);
    } catch (const SectionError&) {
        DropIncompleteShapes(state);
        throw;
    }

    state.MaxWidthText = NumberFormat::general(reader.ReadReal(), state.DecimalPoint);
    QString stripped = QString::fromLatin1(reader.ReadLine());
    while (!stripped.isEmpty() && stripped.front().unicode() <= ' ')
        stripped.remove(0, 1);
    while (!stripped.isEmpty() && stripped.back().unicode() <= ' ')
        stripped.chop(1);
    if (!DrawingState::UnitItems.contains(stripped))
        throw SectionError("Wrong dimension identifier!");
    state.UnitText = stripped;
}
