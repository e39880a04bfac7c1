#include "ModelExport.h"

#include "ModelMarks.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

using Edge = std::pair<int, int>;

// Corner pairs of the edges of a tetrahedron, a wedge and a brick (corners counted from 0).
constexpr std::array<Edge, 6> TetrahedronEdges{{{0, 1}, {1, 2}, {2, 0}, {0, 3}, {1, 3}, {2, 3}}};
constexpr std::array<Edge, 9> WedgeEdges{
    {{0, 1}, {1, 2}, {2, 0}, {3, 4}, {4, 5}, {5, 3}, {0, 3}, {1, 4}, {2, 5}}};
constexpr std::array<Edge, 12> BrickEdges{{{0, 1},
                                           {1, 2},
                                           {2, 3},
                                           {3, 0},
                                           {4, 5},
                                           {5, 6},
                                           {6, 7},
                                           {7, 4},
                                           {0, 4},
                                           {1, 5},
                                           {2, 6},
                                           {3, 7}}};

class EdgeWriter {
public:
    EdgeWriter(QByteArray& out, int nodeCount, bool unique)
        : out_(out), nodes_(nodeCount), unique_(unique) {}

    void Add(double first, double second) {
        const int a = static_cast<int>(first);
        const int b = static_cast<int>(second);
        // Checked data names only existing nodes; this keeps a slip from wrapping around.
        if (a < 1 || b < 1 || a > nodes_ || b > nodes_)
            return;
        if (unique_) {
            const auto key = static_cast<std::uint32_t>(std::min(a, b)) << 16 |
                             static_cast<std::uint32_t>(std::max(a, b));
            if (!seen_.insert(key).second)
                return;
        }
        char record[4];
        qToLittleEndian(static_cast<std::uint16_t>(a), record);
        qToLittleEndian(static_cast<std::uint16_t>(b), record + 2);
        out_.append(record, sizeof record);
    }

private:
    QByteArray& out_;
    int nodes_;
    bool unique_;
    std::unordered_set<std::uint32_t> seen_;
};

template <size_t N>
void AddEdges(EdgeWriter& writer, const double* corners, const std::array<Edge, N>& edges) {
    for (const Edge& edge : edges)
        writer.Add(corners[edge.first], corners[edge.second]);
}

void WriteNodes(const ParsedTable& nodes, const ModelShape& shape, QByteArray& out) {
    out.resize(static_cast<qsizetype>(nodes.Rows()) * 12);
    char* at = out.data();
    const int axes[3] = {shape.X, shape.Y, shape.Z};
    for (int row = 0; row < nodes.Rows(); ++row) {
        for (int axis : axes) {
            const float value =
                axis >= 0 && axis < nodes.Width ? static_cast<float>(nodes.At(row, axis)) : 0.0f;
            std::uint32_t bits = 0;
            std::memcpy(&bits, &value, sizeof bits);
            qToLittleEndian(bits, at);
            at += 4;
        }
    }
}

void WriteElements(const ParsedTable& elements, ModelShape::Elements kind, int nodeCount,
                   QByteArray& out) {
    using Kind = ModelShape::Elements;
    out.reserve(static_cast<qsizetype>(elements.Rows()) * (kind == Kind::Bars ? 4 : 16));
    EdgeWriter writer(out, nodeCount, kind != Kind::Bars);
    for (int row = 0; row < elements.Rows(); ++row) {
        const double* corners = elements.Row(row);
        switch (kind) {
        case Kind::None:
            return;
        case Kind::Bars:
            writer.Add(corners[0], corners[1]);
            break;
        case Kind::Polygons: {
            const int count = corners[3] != 0 ? 4 : 3;
            for (int corner = 0; corner < count; ++corner)
                writer.Add(corners[corner], corners[(corner + 1) % count]);
            break;
        }
        case Kind::Solids:
            if (corners[6] != 0)
                AddEdges(writer, corners, BrickEdges);
            else if (corners[4] != 0)
                AddEdges(writer, corners, WedgeEdges);
            else
                AddEdges(writer, corners, TetrahedronEdges);
            break;
        }
    }
}

} // namespace

ModelExport::Files ModelExport::Build(const DataFormat& format, const ParsedData& data) {
    Files files;
    const ParsedTable* nodes = data.Table(4);
    const ParsedTable* elements = data.Table(5);
    if (format.Model.Kind == ModelShape::Elements::None || !nodes || !elements) {
        files.Ok = true;
        return files;
    }
    if (nodes->Rows() > MaxNodes) {
        files.Error = QStringLiteral("the model has %1 nodes; the preview shows at most %2")
                          .arg(nodes->Rows())
                          .arg(MaxNodes);
        return files;
    }
    WriteNodes(*nodes, format.Model, files.Xyz);
    WriteElements(*elements, format.Model.Kind, nodes->Rows(), files.J1J2);
    files.Marks = ModelMarks::Bytes(ModelMarks::Of(format, data));
    files.Ok = true;
    return files;
}
