#include "GmshImport.h"

#include "GmshElementKinds.h"
#include "ItemLine.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>

namespace {

struct Refusal {
    QString Text;
};

using Vector3 = Eigen::Vector3d;

// The value of item `item` of table 1: the text after its "=", up to a remark.
QString GeneralValue(const DataFileText& text, int item) {
    const DataFileText::Span span = text.Table(1);
    for (int i = span.Header + 1; span.Found() && i < span.End; ++i) {
        const ItemLine line = ItemLine::Parse(text.Line(i));
        if (line.Valid && line.Number == item)
            return text.Line(i).section(u'=', 1).section(u';', 0, 0).trimmed();
    }
    return {};
}

bool NamesModel(const TableFormat& table) {
    for (const ValueRule& column : table.Columns)
        if (column.RefTable == 4 || column.RefTable == 5)
            return true;
    return false;
}

class Conversion {
public:
    Conversion(const DataFormat& format, const GmshMesh& mesh, const GroupMap& map)
        : format_(format), mesh_(mesh), map_(map),
          dimension_(GmshImport::ElementDimension(format.Problem)) {}

    void Run() {
        if (dimension_ < 0)
            throw Refusal{QStringLiteral("%1 take no mesh; import into plane, axisymmetric, "
                                         "plate, shell, torsion, solid or bar types")
                              .arg(format_.Name)};
        TakeElements();
        for (const GroupMap::Entry& entry : map_.Entries)
            Assign(entry);
        if (format_.Problem == 16)
            Contours();
    }

    int NodeCount() const { return int(order_.size()); }
    int ElementCount() const { return int(elements_.size()); }
    int HighestCase() const { return highestCase_; }

    std::vector<QStringList> NodeItems() const {
        const size_t columns = format_.Table(4)->Columns.size();
        std::vector<QStringList> items;
        for (int index : order_) {
            QStringList values;
            for (size_t c = 0; c < columns; ++c)
                values << ItemLine::NumberText(mesh_.Nodes[size_t(index)].At[c]);
            items.push_back(values);
        }
        return items;
    }
    std::vector<QStringList> ElementItems() const {
        const size_t columns = format_.Table(5)->Columns.size();
        const int corners = dimension_ == 3 ? 8 : dimension_ == 2 ? 4 : 2;
        const bool sections = format_.Table(3) != nullptr;
        std::vector<QStringList> items;
        for (const Taken& element : elements_) {
            QStringList values;
            for (int c = 0; c < corners; ++c)
                values << QString::number(element.Corners[size_t(c)]);
            values << QString::number(element.Material);
            if (sections)
                values << QString::number(element.Section);
            while (size_t(values.size()) < columns)
                values << QStringLiteral("0");
            items.push_back(values);
        }
        return items;
    }
    // The items the groups gave, by table.
    std::map<int, std::vector<QStringList>> GroupItems() const {
        std::map<int, std::vector<QStringList>> tables;
        for (const auto& [number, byNode] : byNode_)
            for (const auto& [node, values] : byNode)
                tables[number].push_back(Texts(node, values));
        for (const auto& [key, values] : loads_) {
            QStringList item{QString::number(key.first), QString::number(key.second)};
            for (double value : values)
                item << ItemLine::NumberText(value);
            tables[7].push_back(item);
        }
        for (const auto& item : elementLoads_)
            tables[8].push_back(item);
        if (!contours_.empty())
            tables[6] = contours_;
        return tables;
    }

private:
    struct Taken {
        std::array<int, 8> Corners{}; // node numbers from 1; 0 where the element has none
        int Material = 1;
        int Section = 1;
    };

    static QStringList Texts(int node, const std::vector<double>& values) {
        QStringList item{QString::number(node)};
        for (double value : values)
            item << ItemLine::NumberText(value);
        return item;
    }
    Vector3 At(int index) const {
        const auto& at = mesh_.Nodes[size_t(index)].At;
        return {at[0], at[1], at[2]};
    }

    void TakeElements() {
        numbers_.assign(mesh_.Nodes.size(), 0);
        elementNumbers_.assign(mesh_.Elements.size(), 0);
        std::vector<size_t> taken;
        for (size_t e = 0; e < mesh_.Elements.size(); ++e)
            if (mesh_.Elements[e].Dimension == dimension_)
                taken.push_back(e);
        if (taken.empty())
            throw Refusal{QStringLiteral("the mesh has no elements of dimension %1, which %2 are "
                                         "made of")
                              .arg(dimension_)
                              .arg(format_.Name)};
        for (size_t e : taken)
            for (int n = 0; n < mesh_.Elements[e].Count; ++n)
                numbers_[size_t(mesh_.Elements[e].Nodes[size_t(n)])] = 1;
        double extent = 0;
        for (size_t n = 0; n < numbers_.size(); ++n) {
            if (!numbers_[n])
                continue;
            order_.push_back(int(n));
            numbers_[n] = int(order_.size());
            for (double value : mesh_.Nodes[n].At) {
                // The checker reads coordinates in the range of single precision; a node
                // beyond it would make a file that the checker refuses.
                if (std::abs(value) > double(std::numeric_limits<float>::max()))
                    throw Refusal{QStringLiteral("node %1 has the coordinate %2; a coordinate "
                                                 "must lie between -%3 and %3")
                                      .arg(mesh_.Nodes[n].Tag)
                                      .arg(value)
                                      .arg(double(std::numeric_limits<float>::max()), 0, 'g', 12)};
                extent = std::max(extent, std::abs(value));
            }
        }
        if (format_.Table(4)->Columns.size() == 2)
            for (int index : order_)
                if (std::abs(mesh_.Nodes[size_t(index)].At[2]) > 1e-9 * extent)
                    throw Refusal{QStringLiteral("node %1 lies off the plane z = 0 (z is %2); %3 "
                                                 "are drawn in Gmsh's x-y plane")
                                      .arg(mesh_.Nodes[size_t(index)].Tag)
                                      .arg(mesh_.Nodes[size_t(index)].At[2])
                                      .arg(format_.Name)};
        for (size_t e : taken) {
            elementNumbers_[e] = int(elements_.size()) + 1;
            elements_.push_back(Oriented(mesh_.Elements[e]));
        }
    }

    // The element's corners in the order the package's elements run.
    Taken Oriented(const GmshMesh::Element& element) const {
        std::vector<int> c(element.Nodes.begin(), element.Nodes.begin() + element.Count);
        const auto x = [&](int i) { return At(c[size_t(i)]); };
        bool flip = false;
        if (dimension_ == 2 && format_.Problem != 14) {
            double area = 0;
            for (int i = 0; i < element.Count; ++i) {
                const Vector3 a = x(i), b = x((i + 1) % element.Count);
                area += a.x() * b.y() - b.x() * a.y();
            }
            if (area < 0)
                std::reverse(c.begin(), c.end());
        } else if (element.Type == GmshMesh::Tetrahedron) {
            flip = (x(1) - x(0)).cross(x(2) - x(0)).dot(x(3) - x(0)) < 0;
            if (flip)
                std::swap(c[1], c[2]);
        } else if (element.Type == GmshMesh::Hexahedron) {
            const Vector3 u = x(1) + x(2) + x(5) + x(6) - x(0) - x(3) - x(4) - x(7);
            const Vector3 v = x(2) + x(3) + x(6) + x(7) - x(0) - x(1) - x(4) - x(5);
            const Vector3 w = x(4) + x(5) + x(6) + x(7) - x(0) - x(1) - x(2) - x(3);
            if (u.cross(v).dot(w) < 0) {
                std::swap(c[1], c[3]);
                std::swap(c[5], c[7]);
            }
        } else if (element.Type == GmshMesh::Prism) {
            const Vector3 u = x(1) + x(4) - x(0) - x(3);
            const Vector3 v = x(2) + x(5) - x(0) - x(3);
            const Vector3 w = x(3) + x(4) + x(5) - x(0) - x(1) - x(2);
            if (u.cross(v).dot(w) < 0) {
                std::swap(c[1], c[2]);
                std::swap(c[4], c[5]);
            }
        }
        Taken taken;
        for (size_t i = 0; i < c.size(); ++i)
            taken.Corners[i] = numbers_[size_t(c[i])];
        return taken;
    }

    const GmshMesh::Group& GroupOf(const GroupMap::Entry& entry) const {
        for (const GmshMesh::Group& group : mesh_.Groups) {
            if (entry.Named ? group.Name == entry.Group
                            : GroupMap::Key(group.Dimension, group.Tag) == entry.Group)
                return group;
        }
        throw Refusal{QStringLiteral("group map, line %1: the mesh has no physical group "
                                     "\"%2\"; its groups are listed by \"Gmshin --groups\"")
                          .arg(entry.Line)
                          .arg(entry.Group)};
    }
    [[noreturn]] void Fail(const GroupMap::Entry& entry, const QString& text) const {
        throw Refusal{QStringLiteral("group map, line %1, group \"%2\": %3")
                          .arg(entry.Line)
                          .arg(entry.Group, text)};
    }
    // The number of values a role takes from a table's width, the leading values not counted.
    size_t Width(const GroupMap::Entry& entry, int table, int leading, const QString& what) const {
        const TableFormat* format = format_.Table(table);
        if (!format)
            Fail(entry, QStringLiteral("%1 have no %2").arg(format_.Name, what));
        const size_t width = format->Columns.size() - size_t(leading);
        return width;
    }
    void CheckCount(const GroupMap::Entry& entry, size_t wanted, const QString& what) const {
        if (entry.Values.size() != wanted)
            Fail(entry, QStringLiteral("%1 values expected (%2), not %3")
                            .arg(wanted)
                            .arg(what)
                            .arg(entry.Values.size()));
    }
    QString Columns(int table, int leading) const {
        QStringList names;
        const auto& columns = format_.Table(table)->Columns;
        for (size_t c = size_t(leading); c < columns.size(); ++c)
            names << columns[c].Name;
        return names.join(u' ');
    }

    std::vector<size_t> Members(const GmshMesh::Group& group) const {
        std::vector<size_t> members;
        for (size_t e = 0; e < mesh_.Elements.size(); ++e)
            if (mesh_.InGroup(mesh_.Elements[e], group.Dimension, group.Tag))
                members.push_back(e);
        return members;
    }
    // The node numbers of the group's elements, each once, in ascending order.
    std::set<int> NodesOf(const GroupMap::Entry& entry, const std::vector<size_t>& members) const {
        std::set<int> nodes;
        for (size_t e : members) {
            const GmshMesh::Element& element = mesh_.Elements[e];
            for (int n = 0; n < element.Count; ++n) {
                const int number = numbers_[size_t(element.Nodes[size_t(n)])];
                if (!number)
                    Fail(entry, QStringLiteral("node %1 belongs to no element of the mesh taken in")
                                    .arg(mesh_.Nodes[size_t(element.Nodes[size_t(n)])].Tag));
                nodes.insert(number);
            }
        }
        return nodes;
    }

    void Assign(const GroupMap::Entry& entry) {
        const GmshMesh::Group& group = GroupOf(entry);
        const std::vector<size_t> members = Members(group);
        switch (entry.Kind) {
        case GroupMap::Role::Support:
        case GroupMap::Role::Spring: {
            const int table = entry.Kind == GroupMap::Role::Support ? 6 : 13;
            if (table == 6 && format_.Problem == 16)
                Fail(entry, QStringLiteral("torsion profiles take no supports"));
            CheckCount(entry,
                       Width(entry, table, 1,
                             entry.Kind == GroupMap::Role::Support ? QStringLiteral("supports")
                                                                   : QStringLiteral("springs")),
                       Columns(table, 1));
            for (double value : entry.Values)
                if (table == 6 ? value != 0 && value != 1 : value < 0)
                    Fail(entry, table == 6 ? QStringLiteral("a support code is 0 or 1")
                                           : QStringLiteral("a stiffness is 0 or more"));
            for (int node : NodesOf(entry, members)) {
                auto [at, fresh] = byNode_[table].emplace(node, entry.Values);
                for (size_t v = 0; !fresh && v < entry.Values.size(); ++v)
                    at->second[v] = table == 6 ? std::max(at->second[v], entry.Values[v])
                                               : at->second[v] + entry.Values[v];
            }
            return;
        }
        case GroupMap::Role::Material:
            Material(entry, group, members);
            return;
        case GroupMap::Role::Load:
            Load(entry, group, members);
            return;
        }
    }

    void Material(const GroupMap::Entry& entry, const GmshMesh::Group& group,
                  const std::vector<size_t>& members) {
        const bool sections = format_.Table(3) != nullptr;
        CheckCount(entry, sections ? 2 : 1,
                   sections ? QStringLiteral("material section") : QStringLiteral("material"));
        if (group.Dimension != dimension_)
            Fail(entry, QStringLiteral("a material needs a group of dimension %1, the elements "
                                       "of %2")
                            .arg(dimension_)
                            .arg(format_.Name));
        for (double value : entry.Values)
            if (value < 1 || value != std::floor(value) || value > 1e6)
                Fail(entry, QStringLiteral("a material or section is a whole number of 1 or more"));
        for (size_t e : members) {
            Taken& element = elements_[size_t(elementNumbers_[e] - 1)];
            element.Material = int(entry.Values[0]);
            if (sections)
                element.Section = int(entry.Values[1]);
        }
    }

    int Case(const GroupMap::Entry& entry) {
        const double value = entry.Values.empty() ? 0 : entry.Values[0];
        if (value < 1 || value != std::floor(value) || value > 1000)
            Fail(entry, QStringLiteral("a load starts with its load case, a whole number of 1 "
                                       "or more"));
        highestCase_ = std::max(highestCase_, int(value));
        return int(value);
    }

    void Load(const GroupMap::Entry& entry, const GmshMesh::Group& group,
              const std::vector<size_t>& members) {
        const int loadCase = Case(entry);
        const std::vector<double> values(entry.Values.begin() + 1, entry.Values.end());
        if (group.Dimension == dimension_ && format_.Table(8)) {
            CheckCount(entry, Width(entry, 8, 2, {}) + 1, QStringLiteral("case ") + Columns(8, 2));
            for (size_t e : members) {
                QStringList item{QString::number(loadCase), QString::number(elementNumbers_[e])};
                for (double value : values)
                    item << ItemLine::NumberText(value);
                elementLoads_.push_back(item);
            }
            return;
        }
        CheckCount(entry, Width(entry, 7, 2, QStringLiteral("nodal loads")) + 1,
                   QStringLiteral("case ") + Columns(7, 2));
        if (group.Dimension > 2 || (format_.Problem == 11 && group.Dimension > 1))
            Fail(entry,
                 QStringLiteral("a load goes on a group of points, curves%1")
                     .arg(format_.Problem == 11 ? QString() : QStringLiteral(" or surfaces")));
        std::map<int, double> shares; // node number -> its share of the load
        for (size_t e : members)
            Shares(mesh_.Elements[e], shares);
        for (const auto& [node, share] : shares) {
            if (!node)
                Fail(entry, QStringLiteral("it holds a node that belongs to no element of the "
                                           "mesh taken in"));
            auto [at, fresh] = loads_.emplace(std::pair(loadCase, node), values);
            for (size_t v = 0; v < values.size(); ++v)
                at->second[v] = (fresh ? 0 : at->second[v]) + share * values[v];
        }
    }

    // Each node's share of a load per unit of the element's measure: the integral of its shape
    // function (a point takes the load whole). On an axisymmetric body a load on a side acts on
    // the ring it sweeps, and each node carries its share per unit length of its own
    // circumference; a node on the axis has none, and its share goes to the other end.
    void Shares(const GmshMesh::Element& element, std::map<int, double>& shares) const {
        const auto node = [&](int i) { return numbers_[size_t(element.Nodes[size_t(i)])]; };
        const auto x = [&](int i) { return At(element.Nodes[size_t(i)]); };
        if (element.Type == GmshMesh::Point) {
            shares[node(0)] += 1;
        } else if (element.Type == GmshMesh::Line && format_.Problem == 11) {
            const double length = (x(1) - x(0)).norm();
            const double r1 = x(0).x(), r2 = x(1).x();
            double f1 = length * (2 * r1 + r2) / 6, f2 = length * (r1 + 2 * r2) / 6;
            if (r1 <= 0)
                f2 += std::exchange(f1, 0);
            if (r2 <= 0)
                f1 += std::exchange(f2, 0);
            if (r1 > 0)
                shares[node(0)] += f1 / r1;
            if (r2 > 0)
                shares[node(1)] += f2 / r2;
        } else if (element.Type == GmshMesh::Line) {
            const double length = (x(1) - x(0)).norm();
            shares[node(0)] += length / 2;
            shares[node(1)] += length / 2;
        } else if (element.Type == GmshMesh::Triangle) {
            const double area = (x(1) - x(0)).cross(x(2) - x(0)).norm() / 2;
            for (int i = 0; i < 3; ++i)
                shares[node(i)] += area / 3;
        } else if (element.Type == GmshMesh::Quadrangle) {
            const double g = 1 / std::sqrt(3.0);
            for (double s : {-g, g})
                for (double t : {-g, g}) {
                    const double n[4] = {(1 - s) * (1 - t) / 4, (1 + s) * (1 - t) / 4,
                                         (1 + s) * (1 + t) / 4, (1 - s) * (1 + t) / 4};
                    const Vector3 ds = ((x(1) - x(0)) * (1 - t) + (x(2) - x(3)) * (1 + t)) / 4;
                    const Vector3 dt = ((x(3) - x(0)) * (1 - s) + (x(2) - x(1)) * (1 + s)) / 4;
                    const double area = ds.cross(dt).norm();
                    for (int i = 0; i < 4; ++i)
                        shares[node(i)] += n[i] * area;
                }
        }
    }

    // A torsion profile lists the nodes of its contours in table 6: the element sides that
    // belong to one element only, the outer loop (the one of largest area) as contour 0.
    void Contours();

    const DataFormat& format_;
    const GmshMesh& mesh_;
    const GroupMap& map_;
    const int dimension_;
    std::vector<int> numbers_;        // Gmsh node index -> node number from 1, 0 when not taken
    std::vector<int> order_;          // node number - 1 -> Gmsh node index
    std::vector<int> elementNumbers_; // Gmsh element index -> element number, 0 when not taken
    std::vector<Taken> elements_;
    std::map<int, std::map<int, std::vector<double>>> byNode_; // table -> node -> values
    std::map<std::pair<int, int>, std::vector<double>> loads_; // (case, node) -> components
    std::vector<QStringList> elementLoads_;
    std::vector<QStringList> contours_;
    int highestCase_ = 0;
};

void Conversion::Contours() {
    std::map<std::pair<int, int>, int> uses;
    for (const Taken& element : elements_) {
        const int count = element.Corners[3] ? 4 : 3;
        for (int i = 0; i < count; ++i) {
            const int a = element.Corners[size_t(i)], b = element.Corners[size_t((i + 1) % count)];
            ++uses[{std::min(a, b), std::max(a, b)}];
        }
    }
    std::map<int, std::vector<int>> next; // boundary node -> its neighbours on the boundary
    for (const auto& [edge, count] : uses)
        if (count == 1) {
            next[edge.first].push_back(edge.second);
            next[edge.second].push_back(edge.first);
        }
    std::vector<std::vector<int>> loops;
    std::set<int> seen;
    for (const auto& [start, neighbours] : next) {
        if (seen.count(start))
            continue;
        std::vector<int> loop{start};
        seen.insert(start);
        int previous = start, at = neighbours.front();
        while (at != start && !seen.count(at)) {
            loop.push_back(at);
            seen.insert(at);
            const std::vector<int>& ways = next[at];
            const int ahead = ways.front() == previous ? ways.back() : ways.front();
            previous = std::exchange(at, ahead);
        }
        loops.push_back(loop);
    }
    const auto area = [&](const std::vector<int>& loop) {
        double sum = 0;
        for (size_t i = 0; i < loop.size(); ++i) {
            const Vector3 a = At(order_[size_t(loop[i] - 1)]);
            const Vector3 b = At(order_[size_t(loop[(i + 1) % loop.size()] - 1)]);
            sum += a.x() * b.y() - b.x() * a.y();
        }
        return std::abs(sum);
    };
    std::stable_sort(loops.begin(), loops.end(),
                     [&](const auto& a, const auto& b) { return area(a) > area(b); });
    for (size_t contour = 0; contour < loops.size(); ++contour)
        for (int node : loops[contour])
            contours_.push_back({QString::number(node), QString::number(contour)});
}

// Replaces the items of a table by `items`, numbered from 1.
void Replace(DataFileText& text, int table, const std::vector<QStringList>& items) {
    QStringList lines;
    for (size_t i = 0; i < items.size(); ++i)
        lines << ItemLine::Format(int(i + 1), items[i], 8);
    text.ReplaceItems(text.Table(table), lines);
}

int ItemCount(const DataFileText& text, int table) {
    const DataFileText::Span span = text.Table(table);
    int count = 0;
    for (int i = span.Header + 1; span.Found() && i < span.End; ++i)
        count += text.Line(i).startsWith(u'#') ? 1 : 0;
    return count;
}

} // namespace

int GmshImport::ElementDimension(int problem) {
    return GmshElementKinds::Dimension(problem);
}

GmshImport::Result GmshImport::Apply(DataFileText& text, const DataFormat& format,
                                     const GmshMesh& mesh, const GroupMap& map) {
    Result result;
    try {
        Conversion conversion(format, mesh, map);
        conversion.Run();
        const std::map<int, std::vector<QStringList>> tables = conversion.GroupItems();
        for (int table : {4, 5})
            if (!text.Table(table).Found())
                throw Refusal{QStringLiteral("the data file has no table %1").arg(table)};
        for (const auto& [table, items] : tables)
            if (!text.Table(table).Found())
                throw Refusal{QStringLiteral("the data file has no table %1 for the groups' %2; "
                                             "add its header")
                                  .arg(table)
                                  .arg(format.Table(table)->ItemsName)};
        Replace(text, 4, conversion.NodeItems());
        Replace(text, 5, conversion.ElementItems());
        for (const TableFormat& table : format.Tables) {
            const auto given = tables.find(table.Number);
            if (given != tables.end()) {
                Replace(text, table.Number, given->second);
                result.Written << QStringLiteral("table %1: %2 %3")
                                      .arg(table.Number)
                                      .arg(given->second.size())
                                      .arg(table.ItemsName);
            } else if (table.Number > 5 && NamesModel(table)) {
                if (const int count = ItemCount(text, table.Number)) {
                    Replace(text, table.Number, {});
                    result.Removed << QStringLiteral("Removed from table %1: %2 item(s) that "
                                                     "named the old mesh. Give them again.")
                                          .arg(table.Number)
                                          .arg(count);
                }
            }
        }
        text.SetGeneralValue(5, QString::number(conversion.NodeCount()));
        text.SetGeneralValue(6, QString::number(conversion.ElementCount()));
        if (GeneralValue(text, 4).toInt() < conversion.HighestCase())
            text.SetGeneralValue(4, QString::number(conversion.HighestCase()));
        result.Nodes = conversion.NodeCount();
        result.Elements = conversion.ElementCount();
    } catch (const Refusal& refusal) {
        result.Error = refusal.Text;
    }
    return result;
}
