#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

// One VTK XML unstructured grid (".vtu") as ParaView and any VTK reader take it, without the
// VTK library: points, cells, point data and cell data as ASCII numbers, which keep every digit
// of a double and need no byte order. And the collection (".pvd") that makes a series of them.
class VtuFile {
public:
    using Point = std::array<double, 3>;
    // The VTK cell types this package's elements become.
    enum CellType : std::uint8_t {
        Line = 3,
        PolyLine = 4,
        Triangle = 5,
        Quad = 9,
        Tetra = 10,
        Hexahedron = 12,
        Wedge = 13
    };

    void SetPoints(std::vector<Point> points) { points_ = std::move(points); }
    void AddCell(CellType type, const std::vector<int>& corners);
    // An array of `components` values per point or cell (values.size() = count x components).
    void AddPointData(const QString& name, int components, std::vector<double> values);
    void AddCellData(const QString& name, int components, std::vector<double> values);
    // One number for the whole file (a frequency, the case it belongs to).
    void AddFieldValue(const QString& name, double value);

    int PointCount() const { return static_cast<int>(points_.size()); }
    int CellCount() const { return static_cast<int>(types_.size()); }
    QByteArray Text() const;

    // A ".pvd" collection: each file (a name relative to the collection) at its time step.
    static QByteArray Collection(const std::vector<std::pair<double, QString>>& files);

private:
    struct Array {
        QString Name;
        int Components = 1;
        std::vector<double> Values;
    };
    static void WriteArray(QByteArray& out, const Array& array);

    std::vector<Point> points_;
    std::vector<int> connectivity_;
    std::vector<std::int64_t> offsets_;
    std::vector<std::uint8_t> types_;
    std::vector<Array> pointData_, cellData_, fieldData_;
};
