#include "VtuFile.h"

#include <QLocale>

namespace {

// The shortest text that reads back as the same double, always with a '.'.
QByteArray Number(double value) {
    return QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
}

QByteArray Escaped(const QString& text) {
    return text.toHtmlEscaped().toUtf8();
}

// Values in lines of a few, so that a large file stays readable in an editor.
template <typename T>
void WriteValues(QByteArray& out, const std::vector<T>& values, int perLine) {
    for (size_t k = 0; k < values.size(); ++k) {
        if constexpr (std::is_floating_point_v<T>)
            out += Number(values[k]);
        else
            out += QByteArray::number(static_cast<qint64>(values[k]));
        out += (k + 1) % static_cast<size_t>(perLine) == 0 || k + 1 == values.size() ? '\n' : ' ';
    }
}

} // namespace

void VtuFile::AddCell(CellType type, const std::vector<int>& corners) {
    connectivity_.insert(connectivity_.end(), corners.begin(), corners.end());
    offsets_.push_back(static_cast<std::int64_t>(connectivity_.size()));
    types_.push_back(type);
}

void VtuFile::AddPointData(const QString& name, int components, std::vector<double> values) {
    pointData_.push_back({name, components, std::move(values)});
}

void VtuFile::AddCellData(const QString& name, int components, std::vector<double> values) {
    cellData_.push_back({name, components, std::move(values)});
}

void VtuFile::AddFieldValue(const QString& name, double value) {
    fieldData_.push_back({name, 1, {value}});
}

void VtuFile::WriteArray(QByteArray& out, const Array& array) {
    out += "        <DataArray type=\"Float64\" Name=\"" + Escaped(array.Name) + '"';
    if (array.Components != 1)
        out += " NumberOfComponents=\"" + QByteArray::number(array.Components) + '"';
    if (array.Values.size() == 1)
        out += " NumberOfTuples=\"1\"";
    out += " format=\"ascii\">\n";
    WriteValues(out, array.Values, array.Components == 3 ? 3 : 6);
    out += "        </DataArray>\n";
}

QByteArray VtuFile::Text() const {
    QByteArray out = "<?xml version=\"1.0\"?>\n"
                     "<VTKFile type=\"UnstructuredGrid\" version=\"1.0\" "
                     "byte_order=\"LittleEndian\" header_type=\"UInt64\">\n"
                     "  <UnstructuredGrid>\n";
    if (!fieldData_.empty()) {
        out += "    <FieldData>\n";
        for (const Array& array : fieldData_)
            WriteArray(out, array);
        out += "    </FieldData>\n";
    }
    out += "    <Piece NumberOfPoints=\"" + QByteArray::number(PointCount()) +
           "\" NumberOfCells=\"" + QByteArray::number(CellCount()) + "\">\n";
    out += "      <PointData>\n";
    for (const Array& array : pointData_)
        WriteArray(out, array);
    out += "      </PointData>\n      <CellData>\n";
    for (const Array& array : cellData_)
        WriteArray(out, array);
    out += "      </CellData>\n      <Points>\n"
           "        <DataArray type=\"Float64\" NumberOfComponents=\"3\" format=\"ascii\">\n";
    std::vector<double> coordinates;
    coordinates.reserve(points_.size() * 3);
    for (const Point& p : points_)
        coordinates.insert(coordinates.end(), p.begin(), p.end());
    WriteValues(out, coordinates, 3);
    out += "        </DataArray>\n      </Points>\n      <Cells>\n"
           "        <DataArray type=\"Int64\" Name=\"connectivity\" format=\"ascii\">\n";
    WriteValues(out, connectivity_, 8);
    out += "        </DataArray>\n"
           "        <DataArray type=\"Int64\" Name=\"offsets\" format=\"ascii\">\n";
    WriteValues(out, offsets_, 8);
    out += "        </DataArray>\n"
           "        <DataArray type=\"UInt8\" Name=\"types\" format=\"ascii\">\n";
    WriteValues(out, types_, 16);
    out += "        </DataArray>\n      </Cells>\n    </Piece>\n  </UnstructuredGrid>\n"
           "</VTKFile>\n";
    return out;
}

QByteArray VtuFile::Collection(const std::vector<std::pair<double, QString>>& files) {
    QByteArray out = "<?xml version=\"1.0\"?>\n"
                     "<VTKFile type=\"Collection\" version=\"0.1\" byte_order=\"LittleEndian\">\n"
                     "  <Collection>\n";
    for (const auto& [step, name] : files)
        out += "    <DataSet timestep=\"" + Number(step) + "\" part=\"0\" file=\"" + Escaped(name) +
               "\"/>\n";
    return out + "  </Collection>\n</VTKFile>\n";
}
